#include "app/command_table.h"

#include "resources/resource.h"

namespace {

constexpr CommandRow Heading(std::uint16_t category, std::uint16_t level) {
    return CommandRow{L"", category, level};
}

constexpr CommandRow Command(const wchar_t* name, std::uint16_t id, std::uint16_t level) {
    return CommandRow{name, id, level};
}

}  // namespace

const CommandTable kCommandTable = {{
    Heading(CATEGORY_FILE, 0),
    Command(L"Open", CMD_OPEN, 1),
    Command(L"Close", CMD_CLOSE, 1),
    Command(L"PrevFile", CMD_PREV_FILE, 1),
    Command(L"NextFile", CMD_NEXT_FILE, 1),
    Command(L"FirstFile", CMD_FIRST_FILE, 1),
    Command(L"LastFile", CMD_LAST_FILE, 1),
    Heading(CATEGORY_SORT, 1),
    Command(L"SortName", CMD_SORT_NAME, 2),
    Command(L"SortNameNumber", CMD_SORT_NAME_NUMBER, 2),
    Command(L"SortExtension", CMD_SORT_EXTENSION, 2),
    Command(L"SortType", CMD_SORT_TYPE, 2),
    Command(L"SortSize", CMD_SORT_SIZE, 2),
    Command(L"SortLastWriteTime", CMD_SORT_LAST_WRITE_TIME, 2),
    Command(L"SortDescending", CMD_SORT_DESCENDING, 2),
    Command(L"Refresh", CMD_REFRESH, 1),
    Command(L"AddToPlaylist", CMD_ADD_TO_PLAYLIST, 1),
    Command(L"MakePlaylist", CMD_MAKE_PLAYLIST, 1),
    Command(L"Exit", CMD_EXIT, 1),
    Heading(CATEGORY_PLAY, 0),
    Command(L"PlayPause", CMD_PLAY_PAUSE, 1),
    Command(L"Stop", CMD_STOP, 1),
    Command(L"PrevFrame", CMD_PREV_FRAME, 1),
    Command(L"NextFrame", CMD_NEXT_FRAME, 1),
    Command(L"Backward", CMD_BACKWARD, 1),
    Command(L"Forward", CMD_FORWARD, 1),
    Command(L"Home", CMD_HOME, 1),
    Command(L"End", CMD_END, 1),
    Command(L"Repeat", CMD_REPEAT, 1),
    Heading(CATEGORY_VOLUME, 1),
    Command(L"VolumeUp", CMD_VOLUME_UP, 2),
    Command(L"VolumeDown", CMD_VOLUME_DOWN, 2),
    Command(L"Mute", CMD_MUTE, 2),
    Command(L"RepeatPlaylist", CMD_REPEAT_PLAYLIST, 1),
    Command(L"SequentialPlay", CMD_SEQUENTIAL_PLAY, 1),
    Heading(CATEGORY_VIEW, 0),
    Command(L"ZoomIn", CMD_ZOOM_IN, 1),
    Command(L"ZoomOut", CMD_ZOOM_OUT, 1),
    Heading(CATEGORY_ZOOM, 1),
    Command(L"Zoom50", CMD_ZOOM_50, 2),
    Command(L"Zoom75", CMD_ZOOM_75, 2),
    Command(L"Zoom100", CMD_ZOOM_100, 2),
    Command(L"Zoom150", CMD_ZOOM_150, 2),
    Command(L"Zoom200", CMD_ZOOM_200, 2),
    Command(L"Zoom300", CMD_ZOOM_300, 2),
    Heading(CATEGORY_ASPECT, 1),
    Command(L"AspectDefault", CMD_ASPECT_DEFAULT, 2),
    Command(L"Aspect4x3", CMD_ASPECT_4X3, 2),
    Command(L"Aspect16x9", CMD_ASPECT_16X9, 2),
    Command(L"KeepZoom", CMD_KEEP_ZOOM, 1),
    Command(L"FitToWindow", CMD_FIT_TO_WINDOW, 1),
    Command(L"FullScreen", CMD_FULL_SCREEN, 1),
    Command(L"AlwaysOnTop", CMD_ALWAYS_ON_TOP, 1),
    Command(L"Playlist", CMD_PLAYLIST, 1),
    Command(L"MenuBar", CMD_MENU_BAR, 1),
    Command(L"Toolbar", CMD_TOOLBAR, 1),
    Command(L"StatusBar", CMD_STATUS_BAR, 1),
    Command(L"PlayBar", CMD_PLAY_BAR, 1),
    Command(L"SeekBar", CMD_SEEK_BAR, 1),
    Heading(CATEGORY_PRESETS, 1),
    Command(L"Preset1", CMD_PRESET_FIRST, 2),
    Command(L"Preset2", CMD_PRESET_FIRST + 1, 2),
    Command(L"Preset3", CMD_PRESET_FIRST + 2, 2),
    Command(L"Options", CMD_OPTIONS, 1),
    Heading(CATEGORY_HELP, 0),
    Command(L"Help", CMD_HELP, 1),
    Command(L"About", CMD_ABOUT, 1),
}};
