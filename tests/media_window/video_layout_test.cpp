#include <gtest/gtest.h>

#include "media_window/video_layout.h"

namespace {

struct DisplayCase {
    VideoSize source;
    int zoom, aspectX, aspectY;
    VideoSize expected;
};

TEST(DisplaySizeTest, ZoomAndForcedRatio) {
    const DisplayCase cases[] = {
        {{640, 480}, 100, 0, 0, {640, 480}},
        {{640, 480}, 150, 16, 9, {960, 540}},  // height reduced
        {{640, 480}, 100, 4, 3, {640, 480}},   // same ratio: unchanged
        {{640, 480}, 100, 3, 4, {360, 480}},   // width reduced, height kept
        {{1280, 720}, 50, 4, 3, {480, 360}},
        {{1, 1}, 1, 0, 0, {1, 1}},  // never 0 x 0
        {{1, 1}, 1, 16, 9, {1, 1}},
        {{640, 480}, 100, 16, 0, {640, 480}},  // one side 0: the video's own ratio
        {{7680, 4320}, 1000, 0, 0, {76800, 43200}},
    };
    for (const DisplayCase& c : cases) {
        VideoSize display = {};
        ASSERT_TRUE(DisplaySize(c.source, c.zoom, c.aspectX, c.aspectY, display));
        EXPECT_EQ(c.expected.width, display.width)
            << c.source.width << "x" << c.source.height << " at " << c.zoom;
        EXPECT_EQ(c.expected.height, display.height)
            << c.source.width << "x" << c.source.height << " at " << c.zoom;
    }
}

TEST(DisplaySizeTest, RefusesSizelessSourcesAndZoomBelowOne) {
    VideoSize display = {5, 5};
    EXPECT_FALSE(DisplaySize({0, 480}, 100, 0, 0, display));
    EXPECT_FALSE(DisplaySize({640, -1}, 100, 0, 0, display));
    EXPECT_FALSE(DisplaySize({640, 480}, 0, 0, 0, display));
    EXPECT_EQ(5, display.width);
}

TEST(FitZoomTest, TakesTheTighterSideAndNeverDropsBelowOne) {
    EXPECT_EQ(50, FitZoom({320, 300}, {640, 480}));  // min of 50 and 62
    EXPECT_EQ(200, FitZoom({1280, 1000}, {640, 480}));
    EXPECT_EQ(1, FitZoom({0, 0}, {640, 480}));
    EXPECT_EQ(1, FitZoom({3, 3}, {640, 480}));
    EXPECT_EQ(0, FitZoom({320, 240}, {0, 0}));
}

TEST(VideoPlacementTest, WindowCentresOrPinsToTheCorner) {
    VideoPlacement centred = PlaceInWindow({400, 300}, {320, 240});
    EXPECT_EQ(40, centred.x);
    EXPECT_EQ(30, centred.y);
    EXPECT_EQ(320, centred.width);
    EXPECT_EQ(240, centred.height);
    VideoPlacement odd = PlaceInWindow({401, 301}, {320, 240});
    EXPECT_EQ(40, odd.x);
    EXPECT_EQ(30, odd.y);
    VideoPlacement large = PlaceInWindow({300, 200}, {640, 480});
    EXPECT_EQ(0, large.x);
    EXPECT_EQ(0, large.y);
    EXPECT_EQ(640, large.width);
}

struct FullScreenCase {
    VideoSize screen, source;
    int aspectX, aspectY;
    bool fit;
    VideoPlacement expected;
};

TEST(VideoPlacementTest, FullScreenFillsOneSideKeepingTheRatio) {
    const FullScreenCase cases[] = {
        {{1280, 1024}, {640, 480}, 0, 0, false, {0, 32, 1280, 960}},
        {{1280, 720}, {640, 480}, 0, 0, false, {160, 0, 960, 720}},
        {{1280, 1024}, {640, 480}, 16, 9, false, {0, 152, 1280, 720}},
        {{1280, 1024}, {1280, 720}, 4, 3, false, {160, 152, 960, 720}},
        {{1280, 1024}, {640, 480}, 16, 9, true, {0, 0, 1280, 1024}},
        {{1280, 1024}, {640, 480}, 4, 3, false, {0, 32, 1280, 960}},
    };
    for (const FullScreenCase& c : cases) {
        VideoPlacement place = PlaceFullScreen(c.screen, c.source, c.aspectX, c.aspectY, c.fit);
        EXPECT_EQ(c.expected.x, place.x) << c.source.width << " " << c.aspectX;
        EXPECT_EQ(c.expected.y, place.y) << c.source.width << " " << c.aspectX;
        EXPECT_EQ(c.expected.width, place.width) << c.source.width << " " << c.aspectX;
        EXPECT_EQ(c.expected.height, place.height) << c.source.width << " " << c.aspectX;
    }
}

TEST(FrameTest, GrowsByTheEdgesAndTheBarsBelow) {
    RECT frame = FrameAroundVideo({0, 0, 320, 240}, 2, 2, 16, 26);
    EXPECT_EQ(-2, frame.left);
    EXPECT_EQ(-2, frame.top);
    EXPECT_EQ(322, frame.right);
    EXPECT_EQ(242 + 16 + 26, frame.bottom);
}

}  // namespace
