// The status bar "Zephlo StatusBar": three text panes at the bottom of the
// main window (playback state, picture size or audio rates, time). The main
// window owns the StatusBarState and reads and writes it directly.
#ifndef ZEPHLO_CONTROLS_STATUS_BAR_H
#define ZEPHLO_CONTROLS_STATUS_BAR_H

#include <windows.h>

#include <cstddef>

#include "base/handles.h"

inline constexpr wchar_t kStatusBarClass[] = L"Zephlo StatusBar";

constexpr int kStatusPaneCount = 3;
// A pane holds up to 31 characters and the terminator.
constexpr std::size_t kStatusPaneTextSize = 32;
// Notification code of a right click, sent with the control id 402.
constexpr WORD kStatusBarRightClick = 1;

struct StatusPane {
    int width = 0;  // pixels
    int x = 0;      // left edge in the client area
    wchar_t text[kStatusPaneTextSize] = {};
};

struct StatusBarState {
    HWND hwnd = nullptr;          // null once the window is destroyed
    UniqueFont font;              // a copy of DEFAULT_GUI_FONT while the window exists
    int barHeight = 0;            // the text line: |font height| + 4
    int windowHeight = 0;         // barHeight and the client edge above and below
    UniqueBrush backgroundBrush;  // black until the colours are applied
    COLORREF textColour = RGB(0xE0, 0xE0, 0xE0);
    StatusPane panes[kStatusPaneCount];
    int minFirstWidth = 0;
};

bool RegisterStatusBarClass(HINSTANCE instance);

// Creates the hidden status bar (control id 402) as a child of `parent`;
// `state` must outlive the window. Null on failure.
HWND CreateStatusBar(HWND parent, HINSTANCE instance, StatusBarState* state);

// Pane 0 takes what panes 1 and 2 leave of the client width, but never less
// than minFirstWidth; panes 1 and 2 follow it, so on a narrow bar they run
// off the right edge.
void LayoutStatusPanes(StatusPane (&panes)[kStatusPaneCount], int minFirstWidth, int clientWidth);

// Stores the text (cut to 31 characters, never inside a surrogate pair) and
// repaints that pane at once. Out-of-range panes are ignored.
void SetPaneText(StatusBarState& state, int pane, const wchar_t* text);
// Sizes a pane for a sample text: panes 1 and 2 get that width, pane 0 it as
// its minimum. The panes are laid out again.
void SetPaneWidthFromSample(StatusBarState& state, const wchar_t* sample, int pane);
void ShowStatusBar(StatusBarState& state, bool show);
// The "StatusText" and "StatusBg" colours; the old brush is deleted.
void SetStatusBarColours(StatusBarState& state, COLORREF text, COLORREF background);

#endif
