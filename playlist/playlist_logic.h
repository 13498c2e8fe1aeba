// Index arithmetic of the playlist and its window: where the playing entry
// goes when rows are inserted, removed or moved, where a dragged row lands,
// which toolbar buttons apply. No window is involved.
#ifndef ZEPHLO_PLAYLIST_PLAYLIST_LOGIC_H
#define ZEPHLO_PLAYLIST_PLAYLIST_LOGIC_H

#include <string>

// The playing index after a row was inserted at index.
int PlayingIndexAfterInsert(int playing, int index);
// The playing index after the row at index was removed (-1 when it was the playing one).
int PlayingIndexAfterRemove(int playing, int index);
// The playing index after the row at source was moved to target, so that it
// still designates the same entry.
int PlayingIndexAfterMove(int playing, int source, int target);

// The four moves of the selected row.
enum class MoveKind { kUp, kDown, kToTop, kToBottom };
// The target row of a move of the selected row, or -1 when the move does not apply.
int MoveTargetIndex(MoveKind kind, int selected, int count);

// The row under a point of the list, or -1 outside the rows.
int RowAtY(int topRow, int itemHeight, int y, int count);
// The row boundary (0 ... count) nearest to y, or -1 when dropping there
// would not move the selected row (its own top or bottom boundary).
int DropBoundaryAtY(int topRow, int itemHeight, int y, int count, int selected);
// The target index of a drop of the row source at boundary dropMark.
int DropTargetIndex(int source, int dropMark);

// Which playlist toolbar buttons are enabled for count rows and selection sel.
struct PlaylistToolbarStates {
    bool save;      // 171
    bool clear;     // 172
    bool remove;    // 174
    bool moveUp;    // 175 and 177
    bool moveDown;  // 176 and 178
};
PlaylistToolbarStates ToolbarStatesFor(int count, int selected);

// The top row that brings row into a view of visibleRows rows.
int TopRowToShow(int row, int topRow, int visibleRows);

// The text shown for a path: 0 file name, 1 full path, 2 folder and file name.
std::wstring PlaylistDisplayText(const std::wstring& path, int displayMode);

#endif
