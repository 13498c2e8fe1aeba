// Pushes the colour settings to the windows that show them.
#ifndef ZEPHLO_SETTINGS_APPLY_COLOURS_H
#define ZEPHLO_SETTINGS_APPLY_COLOURS_H

// Resolves the fifteen colour settings and hands each to its window:
// tooltips of the three toolbars, the canvas backgrounds, the seek bar, the
// volume slider, the status bar and the playlist.
void ApplyColours();

#endif
