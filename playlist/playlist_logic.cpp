#include "playlist/playlist_logic.h"

#include "base/paths.h"

int PlayingIndexAfterInsert(int playing, int index) {
    return playing >= 0 && playing >= index ? playing + 1 : playing;
}

int PlayingIndexAfterRemove(int playing, int index) {
    if (playing < 0) {
        return playing;
    }
    if (index == playing) {
        return -1;
    }
    return index < playing ? playing - 1 : playing;
}

int PlayingIndexAfterMove(int playing, int source, int target) {
    if (playing < 0 || source == target) {
        return playing;
    }
    if (playing == source) {
        return target;
    }
    if (source < playing && playing <= target) {
        return playing - 1;
    }
    if (target <= playing && playing < source) {
        return playing + 1;
    }
    return playing;
}

int MoveTargetIndex(MoveKind kind, int selected, int count) {
    if (selected < 0 || selected >= count) {
        return -1;
    }
    switch (kind) {
        case MoveKind::kUp:
            return selected > 0 ? selected - 1 : -1;
        case MoveKind::kDown:
            return selected < count - 1 ? selected + 1 : -1;
        case MoveKind::kToTop:
            return selected > 0 ? 0 : -1;
        case MoveKind::kToBottom:
            return selected < count - 1 ? count - 1 : -1;
    }
    return -1;
}

int RowAtY(int topRow, int itemHeight, int y, int count) {
    if (y < 0 || itemHeight <= 0) {
        return -1;
    }
    int row = topRow + y / itemHeight;
    return row < count ? row : -1;
}

int DropBoundaryAtY(int topRow, int itemHeight, int y, int count, int selected) {
    if (itemHeight <= 0) {
        return -1;
    }
    int boundary = topRow + (itemHeight / 2 + y) / itemHeight;
    if (boundary > count) {
        boundary = count;
    }
    if (boundary < 0 || selected < 0 || boundary == selected || boundary == selected + 1) {
        return -1;
    }
    return boundary;
}

int DropTargetIndex(int source, int dropMark) {
    return source < dropMark ? dropMark - 1 : dropMark;
}

PlaylistToolbarStates ToolbarStatesFor(int count, int selected) {
    if (selected >= count) {
        selected = -1;
    }
    PlaylistToolbarStates states;
    states.save = count > 0;
    states.clear = count > 0;
    states.remove = selected >= 0;
    states.moveUp = selected > 0;
    states.moveDown = selected >= 0 && selected < count - 1;
    return states;
}

int TopRowToShow(int row, int topRow, int visibleRows) {
    if (visibleRows < 1) {
        visibleRows = 1;
    }
    if (row < topRow) {
        return row;
    }
    if (row >= topRow + visibleRows) {
        return row - visibleRows + 1;
    }
    return topRow;
}

std::wstring PlaylistDisplayText(const std::wstring& path, int displayMode) {
    switch (displayMode) {
        case 1:
            return path;
        case 2:
            return PathCompact(path);
        default:
            return PathFileName(path);
    }
}
