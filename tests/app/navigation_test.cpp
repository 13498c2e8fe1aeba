#include "app/navigation.h"
#include "files/list_navigation.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

constexpr bool kPlaylist = true;
constexpr bool kFolder = false;

TEST(NavigationTargetTest, WrapsPrevAndNextAndIgnoresTheCurrentForFirstAndLast) {
    struct Case {
        bool fromPlaylist;
        UINT command;
        int current, count, target;
    };
    const Case cases[] = {
        {kPlaylist, CMD_PREV_FILE, 1, 3, 0},   {kPlaylist, CMD_PREV_FILE, 0, 3, 2},
        {kPlaylist, CMD_NEXT_FILE, 2, 3, 0},   {kPlaylist, CMD_NEXT_FILE, 0, 1, 0},
        {kPlaylist, CMD_PREV_FILE, -1, 3, -1}, {kPlaylist, CMD_NEXT_FILE, 0, 0, -1},
        {kPlaylist, CMD_FIRST_FILE, -1, 3, 0}, {kPlaylist, CMD_LAST_FILE, -1, 3, 2},
        {kPlaylist, CMD_LAST_FILE, 0, 0, -1},  {kFolder, CMD_PREV_FILE, 0, 5, 4},
        {kFolder, CMD_NEXT_FILE, 3, 5, 4},     {kFolder, CMD_NEXT_FILE, 4, 5, 0},
        {kFolder, CMD_NEXT_FILE, -1, 5, -1},   {kFolder, CMD_NEXT_FILE, 5, 5, -1},
        {kFolder, CMD_FIRST_FILE, 3, 5, 0},    {kFolder, CMD_LAST_FILE, 3, 5, 4},
        {kFolder, CMD_FIRST_FILE, -1, 0, -1},  {kFolder, CMD_REFRESH, 3, 5, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NavigationTarget(c.fromPlaylist, c.command, c.current, c.count), c.target)
            << c.fromPlaylist << " " << c.command << " " << c.current << "/" << c.count;
    }
}

TEST(PlayNextAtEndTest, StopsAtTheEndUnlessThePlaylistRepeatsAndNeverWrapsAFolder) {
    struct Case {
        bool fromPlaylist, repeatPlaylist, sequentialPlay;
        int current, count;
        bool playNext;
    };
    const Case cases[] = {
        {kPlaylist, false, false, 0, 3, true}, {kPlaylist, false, true, 2, 3, false},
        {kPlaylist, true, false, 2, 3, true},  {kFolder, true, false, 0, 5, false},
        {kFolder, false, true, 3, 5, true},    {kFolder, true, true, 4, 5, false},
        {kFolder, false, true, -1, 5, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            PlayNextAtEnd(c.fromPlaylist, c.repeatPlaylist, c.sequentialPlay, c.current, c.count),
            c.playNext)
            << c.fromPlaylist << c.repeatPlaylist << c.sequentialPlay << " " << c.current;
    }
}

TEST(AppCommandTest, IgnoresTheDeviceBitsAndMapsUnknownCommandsToNothing) {
    for (unsigned device : {0u, 0x8000u, 0x1000u}) {
        auto lParam = [device](unsigned command) {
            return static_cast<LPARAM>(MAKELONG(0, command | device));
        };
        EXPECT_EQ(CommandForAppCommand(lParam(APPCOMMAND_MEDIA_PLAY_PAUSE)), UINT{CMD_PLAY_PAUSE});
        EXPECT_EQ(CommandForAppCommand(lParam(APPCOMMAND_MEDIA_REWIND)), UINT{CMD_BACKWARD});
        EXPECT_EQ(CommandForAppCommand(lParam(APPCOMMAND_BROWSER_BACKWARD)), 0u);
    }
}

TEST(DropDownListIndexTest, CountsAwayFromTheBase) {
    const int cases[][3] = {{5, 1000, 4},   {5, 1004, 0}, {5, 1005, -1}, {5, 1100, 6},
                            {5, 1199, 105}, {5, 999, -1}, {5, 1200, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(DropDownListIndex(c[0], static_cast<UINT>(c[1])), c[2]) << c[0] << " " << c[1];
    }
}

}  // namespace
