// The colour settings handed to the windows that show them.
#ifndef ZEPHLO_APP_WINDOW_COLOURS_H
#define ZEPHLO_APP_WINDOW_COLOURS_H

struct App;

// Each window takes its own entries of the fifteen colour settings: the media
// window (canvas backgrounds, seek bar, volume slider), the status bar and
// the playlist; the three toolbars keep the tooltip look for the tooltip
// windows they make. With `toExistingTips` the tooltip windows made so far
// take it at once too; start-up leaves them out, since asking a toolbar for
// its tooltip window may make it early.
void ApplyColours(App& app, bool toExistingTips);

#endif
