// The rules the dispatcher follows to move between files: which entry the
// navigation commands go to, what happens when a file ends, which command a
// media key means and which file a drop-down list item names.
#ifndef ZEPHLO_APP_NAVIGATION_H
#define ZEPHLO_APP_NAVIGATION_H

#include <windows.h>

// The index that PrevFile, NextFile, FirstFile or LastFile (102-105) goes
// to, or -1 for "nothing happens". `current` is the playlist's playing index
// in playlist mode, else the open file's index in the folder list (-1 when
// no file is open or it is not in the list); `count` is the number of
// entries of that list. Prev and Next wrap around; First and Last do not
// look at `current`.
int NavigationTarget(bool fromPlaylist, UINT command, int current, int count);

// Whether the end of a file that is not repeated executes NextFile. In
// playlist mode playback stops after the last entry unless the playlist
// repeats; in folder mode only sequential play moves on, and it never wraps.
// `current` and `count` as for NavigationTarget (in folder mode they are not
// looked at without sequential play).
bool PlayNextAtEnd(bool fromPlaylist, bool repeatPlaylist, bool sequentialPlay, int current,
                   int count);

// The command a WM_APPCOMMAND stands for (its lParam), or 0 when unmapped.
UINT CommandForAppCommand(LPARAM lParam);

// The list index that a drop-down file list item names: items 1000-1099
// count back from `base` (1000 is the file just before it), items 1100-1199
// forward (1100 is the file just after it). -1 for other ids or an index
// below 0.
int DropDownListIndex(int base, UINT id);

#endif
