// Resource and command identifiers of Zephlo. Shared by the program's C++
// code and by zephlo.rc, so it holds #define lines only.
#ifndef ZEPHLO_RESOURCES_RESOURCE_H
#define ZEPHLO_RESOURCES_RESOURCE_H

// Icons, menus, dialogs and bitmaps.
#define IDI_ZEPHLO 1
#define IDR_MAIN_MENU 10
#define IDR_CONTEXT_NO_FILE 11
#define IDR_CONTEXT_FILE 12
#define IDR_BARS_WINDOWED 13
#define IDR_BARS_FULL_SCREEN 14
#define IDR_PLAYLIST_CONTEXT 15
#define IDB_MAIN_TOOLBAR 30
#define IDB_PLAY_BAR 31
#define IDB_PLAYLIST_TOOLBAR 32
#define IDB_IDLE_PICTURE 33
#define IDD_ABOUT 50
// Controls of the About box: the web page link and the name and notice text.
#define IDC_ABOUT_LINK 400
#define IDC_ABOUT_TEXT 401
#define IDD_PAGE_GENERAL 51
#define IDD_PAGE_HISTORY 52
#define IDD_PAGE_PLAYER 53
#define IDD_PAGE_PLAYLIST 54
#define IDD_PAGE_APPEARANCE 55
#define IDD_PAGE_KEYS 56

// Command categories: the headings of the command table, label 600 + number.
#define CATEGORY_FILE 0
#define CATEGORY_PLAY 1
#define CATEGORY_VIEW 2
#define CATEGORY_HELP 3
#define CATEGORY_SORT 4
#define CATEGORY_VOLUME 5
#define CATEGORY_ZOOM 6
#define CATEGORY_ASPECT 7
#define CATEGORY_PRESETS 8

// Fixed commands 100-180 (WM_COMMAND ids); the label of command n is string n + 200.
#define CMD_OPEN 100
#define CMD_CLOSE 101
#define CMD_PREV_FILE 102
#define CMD_NEXT_FILE 103
#define CMD_FIRST_FILE 104
#define CMD_LAST_FILE 105
#define CMD_SORT_NAME 106
#define CMD_SORT_NAME_NUMBER 107
#define CMD_SORT_TYPE 108
#define CMD_SORT_EXTENSION 109
#define CMD_SORT_SIZE 110
#define CMD_SORT_LAST_WRITE_TIME 111
#define CMD_SORT_DESCENDING 115
#define CMD_REFRESH 116
#define CMD_ADD_TO_PLAYLIST 117
#define CMD_MAKE_PLAYLIST 118
#define CMD_EXIT 119
#define CMD_PLAY 120
#define CMD_PAUSE 121
#define CMD_PLAY_PAUSE 122
#define CMD_STOP 123
#define CMD_PREV_FRAME 124
#define CMD_NEXT_FRAME 125
#define CMD_BACKWARD 126
#define CMD_FORWARD 127
#define CMD_HOME 128
#define CMD_END 129
#define CMD_REPEAT 130
#define CMD_VOLUME_UP 131
#define CMD_VOLUME_DOWN 132
#define CMD_MUTE 133
#define CMD_SEQUENTIAL_PLAY 134
#define CMD_REPEAT_PLAYLIST 135
#define CMD_ZOOM_IN 140
#define CMD_ZOOM_OUT 141
#define CMD_ZOOM_50 142
#define CMD_ZOOM_75 143
#define CMD_ZOOM_100 144
#define CMD_ZOOM_150 145
#define CMD_ZOOM_200 146
#define CMD_ZOOM_300 147
#define CMD_ASPECT_DEFAULT 150
#define CMD_ASPECT_4X3 151
#define CMD_ASPECT_16X9 152
#define CMD_KEEP_ZOOM 155
#define CMD_FIT_TO_WINDOW 156
#define CMD_FULL_SCREEN 157
#define CMD_ALWAYS_ON_TOP 158
#define CMD_PLAYLIST 159
#define CMD_MENU_BAR 160
#define CMD_TOOLBAR 161
#define CMD_STATUS_BAR 162
#define CMD_PLAY_BAR 163
#define CMD_SEEK_BAR 164
#define CMD_FULL_SCREEN_PLAY_BAR 165
#define CMD_FULL_SCREEN_SEEK_BAR 166
#define CMD_OPTIONS 167
#define CMD_HELP 168
#define CMD_ABOUT 169
#define CMD_OPEN_PLAYLIST 170
#define CMD_SAVE_PLAYLIST 171
#define CMD_CLEAR_PLAYLIST 172
#define CMD_ADD_FILES 173
#define CMD_REMOVE_FROM_PLAYLIST 174
#define CMD_MOVE_UP 175
#define CMD_MOVE_DOWN 176
#define CMD_MOVE_TO_TOP 177
#define CMD_MOVE_TO_BOTTOM 178
#define CMD_PLAY_SELECTED 180

// Command ranges.
#define CMD_FILE_HISTORY_FIRST 200      // 200-235
#define CMD_FOLDER_HISTORY_FIRST 236    // 236-271
#define CMD_PLAYLIST_HISTORY_FIRST 300  // 300-335
#define CMD_PRESET_FIRST 350            // 350-352
#define CMD_PREV_FILES_FIRST 1000       // 1000-1099
#define CMD_NEXT_FILES_FIRST 1100       // 1100-1199

// Child window ids of the main window.
#define ID_MEDIA_WINDOW 400
#define ID_MAIN_TOOLBAR 401
#define ID_STATUS_BAR 402

// Strings. 300-552 command labels (command id + 200), 600-608 category headings.
#define IDS_LABEL_OFFSET 200
#define IDS_CATEGORY_FIRST 600
// 700s: file dialog filters and messages.
#define IDS_MEDIA_FILTER 700
#define IDS_PLAYLIST_FILTER 701
#define IDS_KEY_FILE_FILTER 702
#define IDS_THEME_FILE_FILTER 703
#define IDS_CANNOT_REGISTER_CLASS 710
#define IDS_CANNOT_CREATE_WINDOW 711
#define IDS_CANNOT_CREATE_ACCELERATORS 712
#define IDS_CANNOT_READ_FILE 713
#define IDS_CANNOT_SAVE_FILE 714
#define IDS_NO_APPDATA_FOLDER 715
#define IDS_CANNOT_MOVE_INI 716
#define IDS_KEY_ALREADY_ASSIGNED 717
#define IDS_UNSUPPORTED_FORMAT 730
#define IDS_INVALID_FORMAT 731
#define IDS_PLAYBACK_ERROR 732
#define IDS_FILE_NOT_FOUND 750
#define IDS_FOLDER_NOT_FOUND 751
#define IDS_ASK_PER_USER 760
#define IDS_ASK_PER_USER_CAPTION 761
#define IDS_ASK_DELETE_THEME 770
#define IDS_ASK_DELETE_THEME_CAPTION 771
#define IDS_CANNOT_DELETE_FILE 772
// The About box's notice line and the web page address.
#define IDS_ABOUT_NOTICE 780
#define IDS_ABOUT_WEB_ADDRESS 781
// 800s: colour palette (800 custom, 801-836 palette entries), 840-854 colour entries.
#define IDS_COLOUR_CUSTOM 800
#define IDS_COLOUR_ENTRY_FIRST 840
// 860s: title bar formats, 870s: title bar file names (also the playlist's display forms).
#define IDS_TITLE_FORMAT_FIRST 860
#define IDS_TITLE_FILE_NAME_FIRST 870
// Texts of the status bar's state pane.
#define IDS_STATE_PLAYING 880
#define IDS_STATE_STOPPED 881
#define IDS_STATE_PAUSED 882

#endif
