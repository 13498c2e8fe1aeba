// Arithmetic of the main window's layout, zoom and menu states; no windows.
#ifndef ZEPHLO_APP_LAYOUT_MATH_H
#define ZEPHLO_APP_LAYOUT_MATH_H

#include <windows.h>

constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 1000;
constexpr int kMinWindowWidth = 256;
constexpr int kEmptyContentWidth = 320;
constexpr int kEmptyContentHeight = 240;

// The zoom presets of commands 142-147, in percent.
constexpr int kZoomPresets[6] = {50, 75, 100, 150, 200, 300};

int ZoomIn(int zoom, int step);
int ZoomOut(int zoom, int step);

// The content rectangle the window is sized around: 320 x 240 with nothing
// open (or no displayed size), 320 x 0 for sound only, else the displayed
// video size widened to at least 320.
SIZE ContentSize(int video, bool haveDisplaySize, int displayWidth, int displayHeight);

// Widens a window rectangle to the minimum width and keeps it inside the work
// area: moved back when it reaches past the right or bottom edge, cut to the
// work area when it is larger.
RECT FitRectToWorkArea(RECT window, const RECT& work);

// Where a window of this size sits when centred in the work area (an unset
// coordinate is centred, a set one kept).
POINT CentredPosition(const RECT& window, const RECT& work, bool centreX, bool centreY);

// The aspect command (150-152) whose ratio equals x : y; 150 when none does.
int AspectCommandFor(int x, int y);

// What a playback state changes: the string of the state pane (0 empties it)
// and, for stopped, playing and paused, whether Stop (123) is enabled and
// checked and whether the frame commands (124, 125) are enabled (applied only
// for video). Unknown states change nothing.
struct StateMarks {
    bool known;
    bool changesMenu;
    bool stopEnabled;
    bool stopChecked;
    bool frameStepsEnabled;
    UINT paneText;
};
StateMarks MarksForState(int state);

#endif
