#include "app/navigation.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

constexpr bool kPlaylist = true;
constexpr bool kFolder = false;

struct TargetCase {
    bool fromPlaylist;
    UINT command;
    int current;
    int count;
    int target;
};

class NavigationTargetTest : public testing::TestWithParam<TargetCase> {};

TEST_P(NavigationTargetTest, GoesToTheExpectedEntry) {
    const TargetCase& c = GetParam();
    EXPECT_EQ(NavigationTarget(c.fromPlaylist, c.command, c.current, c.count), c.target);
}

INSTANTIATE_TEST_SUITE_P(
    Playlist, NavigationTargetTest,
    testing::Values(TargetCase{kPlaylist, CMD_PREV_FILE, 1, 3, 0},
                    TargetCase{kPlaylist, CMD_PREV_FILE, 0, 3, 2},   // wraps to the end
                    TargetCase{kPlaylist, CMD_PREV_FILE, -1, 3, -1}, // nothing playing
                    TargetCase{kPlaylist, CMD_NEXT_FILE, 1, 3, 2},
                    TargetCase{kPlaylist, CMD_NEXT_FILE, 2, 3, 0},   // wraps to the start
                    TargetCase{kPlaylist, CMD_NEXT_FILE, 0, 1, 0},   // the only entry again
                    TargetCase{kPlaylist, CMD_NEXT_FILE, -1, 3, -1},
                    TargetCase{kPlaylist, CMD_NEXT_FILE, 0, 0, -1},  // empty playlist
                    TargetCase{kPlaylist, CMD_FIRST_FILE, -1, 3, 0}, // ignores the playing entry
                    TargetCase{kPlaylist, CMD_LAST_FILE, -1, 3, 2},
                    TargetCase{kPlaylist, CMD_FIRST_FILE, 0, 0, -1},
                    TargetCase{kPlaylist, CMD_LAST_FILE, 0, 0, -1}));

INSTANTIATE_TEST_SUITE_P(
    Folder, NavigationTargetTest,
    testing::Values(TargetCase{kFolder, CMD_PREV_FILE, 3, 5, 2},
                    TargetCase{kFolder, CMD_PREV_FILE, 0, 5, 4},
                    TargetCase{kFolder, CMD_NEXT_FILE, 3, 5, 4},
                    TargetCase{kFolder, CMD_NEXT_FILE, 4, 5, 0},   // last file: wraps
                    TargetCase{kFolder, CMD_NEXT_FILE, -1, 5, -1}, // not in the list
                    TargetCase{kFolder, CMD_PREV_FILE, -1, 5, -1},
                    TargetCase{kFolder, CMD_NEXT_FILE, 5, 5, -1},  // stale index
                    TargetCase{kFolder, CMD_FIRST_FILE, 3, 5, 0},
                    TargetCase{kFolder, CMD_LAST_FILE, 3, 5, 4},
                    TargetCase{kFolder, CMD_LAST_FILE, -1, 0, -1},
                    TargetCase{kFolder, CMD_REFRESH, 3, 5, -1}));

struct EndCase {
    bool fromPlaylist;
    bool repeatPlaylist;
    bool sequentialPlay;
    int current;
    int count;
    bool playNext;
};

class PlayNextAtEndTest : public testing::TestWithParam<EndCase> {};

TEST_P(PlayNextAtEndTest, DecidesWhetherTheNextFileFollows) {
    const EndCase& c = GetParam();
    EXPECT_EQ(PlayNextAtEnd(c.fromPlaylist, c.repeatPlaylist, c.sequentialPlay, c.current, c.count),
              c.playNext);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayNextAtEndTest,
    testing::Values(
        // Playlist of three: stops after the third unless the playlist repeats;
        // sequential play has no say in playlist mode.
        EndCase{kPlaylist, false, false, 0, 3, true},
        EndCase{kPlaylist, false, true, 2, 3, false},
        EndCase{kPlaylist, true, false, 2, 3, true},
        EndCase{kPlaylist, false, false, 3, 3, false},
        // Folder: only sequential play moves on, and not past the last file.
        EndCase{kFolder, true, false, 0, 5, false},
        EndCase{kFolder, false, true, 3, 5, true},
        EndCase{kFolder, true, true, 4, 5, false},
        EndCase{kFolder, false, true, -1, 5, false},
        EndCase{kFolder, false, true, 0, 1, false}));

TEST(AppCommandTest, MapsTheMediaKeysAndNothingElse) {
    struct Mapping {
        unsigned appCommand;
        UINT command;
    };
    const Mapping mappings[] = {
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
        {APPCOMMAND_BROWSER_BACKWARD, 0},
        {APPCOMMAND_MEDIA_RECORD, 0},
        {0, 0},
    };
    for (const Mapping& mapping : mappings) {
        SCOPED_TRACE(mapping.appCommand);
        // The device bits (keyboard 0, mouse 0x8000, OEM 0x1000) are not part
        // of the command.
        for (unsigned device : {0u, 0x8000u, 0x1000u}) {
            LPARAM lParam = static_cast<LPARAM>(MAKELONG(0, mapping.appCommand | device));
            EXPECT_EQ(CommandForAppCommand(lParam), mapping.command) << device;
        }
    }
}

TEST(DropDownListIndexTest, CountsAwayFromTheBase) {
    struct Case {
        int base;
        UINT id;
        int index;
    };
    const Case cases[] = {
        {5, 1000, 4},  {5, 1004, 0},  {5, 1005, -1},   // the previous files, nearest first
        {5, 1100, 6},  {5, 1199, 105},                 // the next files
        {0, 1100, 1},  {5, 999, -1},  {5, 1200, -1}, {5, CMD_OPEN, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DropDownListIndex(c.base, c.id), c.index) << c.base << " " << c.id;
    }
}

}  // namespace
