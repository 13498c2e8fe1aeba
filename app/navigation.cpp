#include "app/navigation.h"

#include "resources/resource.h"

namespace {

struct AppCommandEntry {
    unsigned appCommand;
    UINT command;
};

constexpr AppCommandEntry kAppCommands[] = {
    {APPCOMMAND_VOLUME_MUTE, CMD_MUTE},
    {APPCOMMAND_VOLUME_DOWN, CMD_VOLUME_DOWN},
    {APPCOMMAND_VOLUME_UP, CMD_VOLUME_UP},
    {APPCOMMAND_MEDIA_NEXTTRACK, CMD_NEXT_FILE},
    {APPCOMMAND_MEDIA_PREVIOUSTRACK, CMD_PREV_FILE},
    {APPCOMMAND_MEDIA_STOP, CMD_STOP},
    {APPCOMMAND_MEDIA_PLAY_PAUSE, CMD_PLAY_PAUSE},
    {APPCOMMAND_OPEN, CMD_OPEN},
    {APPCOMMAND_CLOSE, CMD_CLOSE},
    {APPCOMMAND_MEDIA_PLAY, CMD_PLAY},
    {APPCOMMAND_MEDIA_PAUSE, CMD_PAUSE},
    {APPCOMMAND_MEDIA_FAST_FORWARD, CMD_FORWARD},
    {APPCOMMAND_MEDIA_REWIND, CMD_BACKWARD},
};

}  // namespace

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

UINT CommandForAppCommand(LPARAM lParam) {
    unsigned appCommand = HIWORD(static_cast<DWORD>(lParam)) & 0x0FFFu;
    for (const AppCommandEntry& entry : kAppCommands) {
        if (entry.appCommand == appCommand) {
            return entry.command;
        }
    }
    return 0;
}

int DropDownListIndex(int base, UINT id) {
    int index = -1;
    if (id >= CMD_PREV_FILES_FIRST && id < CMD_NEXT_FILES_FIRST) {
        index = base - static_cast<int>(id - (CMD_PREV_FILES_FIRST - 1));
    } else if (id >= CMD_NEXT_FILES_FIRST && id < CMD_NEXT_FILES_FIRST + 100) {
        index = base + static_cast<int>(id - (CMD_NEXT_FILES_FIRST - 1));
    }
    return index < 0 ? -1 : index;
}
