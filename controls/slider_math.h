// The arithmetic of the seek bar and the volume slider, free of windows so
// that it can be checked directly.
#ifndef ZEPHLO_CONTROLS_SLIDER_MATH_H
#define ZEPHLO_CONTROLS_SLIDER_MATH_H

// The seek bar's thumb offset (0 ... trackLength) for a position of the range
// rangeMin ... rangeMax, rounded to the nearest pixel. An empty range, a track
// of no length and positions outside the range keep the thumb on the track.
int PixelFromPosition(int position, int rangeMin, int rangeMax, int trackLength);

// The position a thumb offset stands for, rounded to the nearest unit and kept
// within rangeMin ... rangeMax; rangeMin when the track has no length.
int PositionFromPixel(int x, int rangeMin, int rangeMax, int trackLength);

// Clamps a thumb offset to 0 ... trackLength (0 when the track has no length).
int ClampThumb(int x, int trackLength);

// The volume slider's value (0 ... 1000) for a press at client y on a track of
// length trackLength (client height - 5): the top (y = 2) is 1000, the bottom
// (y = trackLength + 2) is 0; presses beyond either end pin.
int VolumeFromPress(int y, int trackLength);

// The same for a move while dragging, y signed (the pointer may be outside).
int VolumeFromDrag(int y, int trackLength);

// The y of the level line inside a track running from top to bottom.
int VolumeLevelY(int value, int trackTop, int trackBottom);

#endif
