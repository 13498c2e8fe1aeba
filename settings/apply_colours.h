// Pushes the colour settings to the windows that show them.
#ifndef ZEPHLO_SETTINGS_APPLY_COLOURS_H
#define ZEPHLO_SETTINGS_APPLY_COLOURS_H

// Resolves the fifteen colour settings and hands each to its window:
// tooltips of the three toolbars, the canvas backgrounds, the seek bar, the
// volume slider, the status bar and the playlist.
void ApplyColours();
// The same without the tooltips, which toolbars colour as they make them:
// for start-up, when asking for a toolbar's tooltips could make them early.
void ApplyWindowColours();

#endif
