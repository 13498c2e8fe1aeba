// The seek bar "Zephlo Seek Bar": a drawn horizontal slider showing the
// playback position. The owner allocates a SeekBarState, passes it as the
// creation parameter and reads and writes it directly.
//
// To its parent it reports WM_HSCROLL with wParam = MAKELONG(code, low word of
// position) and lParam = the seek bar: code 1 when a click or drag step moved
// the position, code 2 when the left button was released (or the drag was cut
// short by a loss of the mouse capture). The full position is in `position`.
// A right button press arrives as WM_NOTIFY NM_RCLICK.
#ifndef ZEPHLO_CONTROLS_SEEK_BAR_H
#define ZEPHLO_CONTROLS_SEEK_BAR_H

#include <windows.h>

#include "base/handles.h"

inline constexpr wchar_t kSeekBarClass[] = L"Zephlo Seek Bar";
inline constexpr int kSeekBarHeight = 16;

enum SeekBarCode : WORD {
    kSeekBarMoved = 1,
    kSeekBarReleased = 2,
};

struct SeekBarState {
    HWND hwnd = nullptr;
    int rangeMin = 0;
    int rangeMax = 0;
    int position = 0;
    int thumbX = 0;
    int thumbWidth = 0;
    COLORREF trackColour = 0;
    UniqueBrush trackBrush;
    UniqueBrush faceBrush;
    int dragStartX = 0;
    int dragStartThumbX = 0;
    // The left button went down on the bar and its release has not been reported.
    bool dragging = false;
};

bool RegisterSeekBarClass(HINSTANCE instance);

// Creates a visible, disabled seek bar (the owner enables it once a file is open).
HWND CreateSeekBar(HWND parent, int x, int y, int width, SeekBarState* state, HINSTANCE instance);

// The distance the thumb can travel: client width - thumb width - 2.
int SeekBarTrackLength(const SeekBarState& state);

// Owner operations.
void SeekBarSetRange(SeekBarState& state, int rangeMin, int rangeMax);
// Stores the position; repaints only when the thumb moves.
void SeekBarSetPosition(SeekBarState& state, int position);
void SeekBarSetColour(SeekBarState& state, COLORREF colour);

#endif
