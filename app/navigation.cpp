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
