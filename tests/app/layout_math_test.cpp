#include "app/layout_math.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

TEST(Zoom, StepsStayWithinOneToAThousandPercent) {
    EXPECT_EQ(ZoomIn(990, 20), 1000);
    EXPECT_EQ(ZoomIn(100, 20), 120);
    EXPECT_EQ(ZoomOut(10, 20), 1);
    EXPECT_EQ(ZoomOut(120, 20), 100);
}

TEST(ContentSize, DependsOnWhatIsOpen) {
    SIZE none = ContentSize(-1, false, 0, 0);
    EXPECT_EQ(none.cx, 320);
    EXPECT_EQ(none.cy, 240);
    SIZE sound = ContentSize(0, false, 0, 0);
    EXPECT_EQ(sound.cx, 320);
    EXPECT_EQ(sound.cy, 0);
    SIZE small = ContentSize(1, true, 160, 120);
    EXPECT_EQ(small.cx, 320);
    EXPECT_EQ(small.cy, 120);
    SIZE large = ContentSize(1, true, 960, 540);
    EXPECT_EQ(large.cx, 960);
    EXPECT_EQ(large.cy, 540);
    // A video whose displayed size is unknown is sized like an empty window.
    SIZE unknown = ContentSize(1, false, 0, 0);
    EXPECT_EQ(unknown.cy, 240);
}

TEST(FitRectToWorkArea, KeepsTheWindowOnTheWorkArea) {
    const RECT work = {0, 0, 1280, 1000};
    RECT narrow = FitRectToWorkArea({100, 100, 200, 300}, work);
    EXPECT_EQ(narrow.right - narrow.left, 256);
    RECT pastRight = FitRectToWorkArea({1200, 100, 1600, 400}, work);
    EXPECT_EQ(pastRight.left, 880);
    EXPECT_EQ(pastRight.right, 1280);
    RECT tooWide = FitRectToWorkArea({500, 0, 2500, 300}, work);
    EXPECT_EQ(tooWide.left, 0);
    EXPECT_EQ(tooWide.right, 1280);
    RECT tooTall = FitRectToWorkArea({10, 200, 400, 1500}, {0, 40, 1280, 1000});
    EXPECT_EQ(tooTall.top, 40);
    EXPECT_EQ(tooTall.bottom, 1000);
    RECT inside = FitRectToWorkArea({10, 20, 400, 500}, work);
    EXPECT_EQ(inside.left, 10);
    EXPECT_EQ(inside.bottom, 500);
}

TEST(CentredPosition, CentresOnlyUnsetCoordinates) {
    const RECT work = {0, 0, 1281, 1001};
    POINT both = CentredPosition({0, 0, 400, 300}, work, true, true);
    EXPECT_EQ(both.x, 440);
    EXPECT_EQ(both.y, 350);
    POINT onlyY = CentredPosition({7, 9, 407, 309}, work, false, true);
    EXPECT_EQ(onlyY.x, 7);
    EXPECT_EQ(onlyY.y, 350);
}

TEST(AspectCommandFor, MatchesTheThreeRatios) {
    EXPECT_EQ(AspectCommandFor(0, 0), CMD_ASPECT_DEFAULT);
    EXPECT_EQ(AspectCommandFor(4, 3), CMD_ASPECT_4X3);
    EXPECT_EQ(AspectCommandFor(16, 9), CMD_ASPECT_16X9);
    EXPECT_EQ(AspectCommandFor(8, 6), CMD_ASPECT_DEFAULT);
}

TEST(MarksForState, FollowThePlaybackState) {
    StateMarks playing = MarksForState(3);
    EXPECT_TRUE(playing.stopEnabled);
    EXPECT_FALSE(playing.stopChecked);
    EXPECT_FALSE(playing.frameStepsEnabled);
    EXPECT_EQ(playing.paneText, static_cast<UINT>(IDS_STATE_PLAYING));
    StateMarks stopped = MarksForState(2);
    EXPECT_FALSE(stopped.stopEnabled);
    EXPECT_TRUE(stopped.stopChecked);
    EXPECT_TRUE(stopped.frameStepsEnabled);
    StateMarks paused = MarksForState(4);
    EXPECT_TRUE(paused.stopEnabled);
    EXPECT_TRUE(paused.frameStepsEnabled);
    EXPECT_EQ(paused.paneText, static_cast<UINT>(IDS_STATE_PAUSED));
    StateMarks opened = MarksForState(1);
    EXPECT_TRUE(opened.known);
    EXPECT_FALSE(opened.changesMenu);
    EXPECT_EQ(opened.paneText, 0u);
    EXPECT_FALSE(MarksForState(9).known);
}

}  // namespace
