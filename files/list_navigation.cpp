#include "files/list_navigation.h"

#include "resources/resource.h"

int NavigationTarget(bool fromPlaylist, UINT command, int current, int count) {
    if (count < 1) {
        return -1;
    }
    int target = -1;
    switch (command) {
        case CMD_PREV_FILE:
            if (current < 0) {
                return -1;
            }
            target = current == 0 ? count - 1 : current - 1;
            break;
        case CMD_NEXT_FILE:
            if (current < 0) {
                return -1;
            }
            // The playlist wraps by the remainder; the folder list goes from its
            // last index to the first. Both agree for an index inside the list.
            if (fromPlaylist) {
                target = (current + 1) % count;
            } else {
                target = current == count - 1 ? 0 : current + 1;
            }
            break;
        case CMD_FIRST_FILE:
            target = 0;
            break;
        case CMD_LAST_FILE:
            target = count - 1;
            break;
        default:
            return -1;
    }
    return target < count ? target : -1;
}

bool PlayNextAtEnd(bool fromPlaylist, bool repeatPlaylist, bool sequentialPlay, int current,
                   int count) {
    if (fromPlaylist) {
        return repeatPlaylist || current + 1 < count;
    }
    return sequentialPlay && current >= 0 && current + 1 < count;
}
