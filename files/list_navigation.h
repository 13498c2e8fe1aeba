// The rules of moving through a list of files (the open file's folder or
// the playlist): which entry the navigation commands go to and whether the
// end of a file moves on to the next one.
#ifndef ZEPHLO_FILES_LIST_NAVIGATION_H
#define ZEPHLO_FILES_LIST_NAVIGATION_H

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

#endif
