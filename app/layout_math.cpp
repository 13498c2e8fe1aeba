#include "app/layout_math.h"

#include "resources/resource.h"

int ZoomIn(int zoom, int step) {
    int result = zoom + step;
    return result > kMaxZoom ? kMaxZoom : result;
}

int ZoomOut(int zoom, int step) {
    int result = zoom - step;
    return result < kMinZoom ? kMinZoom : result;
}

SIZE ContentSize(int video, bool haveDisplaySize, int displayWidth, int displayHeight) {
    if (video == 0) {
        return {kEmptyContentWidth, 0};
    }
    if (video != 1 || !haveDisplaySize) {
        return {kEmptyContentWidth, kEmptyContentHeight};
    }
    return {displayWidth < kEmptyContentWidth ? kEmptyContentWidth : displayWidth, displayHeight};
}

RECT FitRectToWorkArea(RECT r, const RECT& work) {
    if (r.right - r.left < kMinWindowWidth) {
        r.right = r.left + kMinWindowWidth;
    }
    if (r.right > work.right) {
        LONG excess = r.right - work.right;
        r.left -= excess;
        r.right -= excess;
        if (r.left < work.left) {
            LONG right = r.right + (work.left - r.left);
            r.left = work.left;
            r.right = right < work.right ? right : work.right;
        }
    }
    if (r.bottom > work.bottom) {
        LONG excess = r.bottom - work.bottom;
        r.top -= excess;
        r.bottom -= excess;
        if (r.top < work.top) {
            LONG bottom = r.bottom + (work.top - r.top);
            r.top = work.top;
            r.bottom = bottom < work.bottom ? bottom : work.bottom;
        }
    }
    return r;
}

POINT CentredPosition(const RECT& window, const RECT& work, bool centreX, bool centreY) {
    POINT position = {window.left, window.top};
    if (centreX) {
        position.x = work.left + ((work.right - work.left) - (window.right - window.left)) / 2;
    }
    if (centreY) {
        position.y = work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2;
    }
    return position;
}

int AspectCommandFor(int x, int y) {
    if (x == 4 && y == 3) {
        return CMD_ASPECT_4X3;
    }
    if (x == 16 && y == 9) {
        return CMD_ASPECT_16X9;
    }
    return CMD_ASPECT_DEFAULT;
}

StateMarks MarksForState(int state) {
    switch (state) {
        case 0:  // Closed
        case 1:  // Opened
            return {true, false, false, false, false, 0};
        case 2:  // Stopped
            return {true, true, false, true, true, IDS_STATE_STOPPED};
        case 3:  // Playing
            return {true, true, true, false, false, IDS_STATE_PLAYING};
        case 4:  // Paused
            return {true, true, true, false, true, IDS_STATE_PAUSED};
        default:
            return {false, false, false, false, false, 0};
    }
}
