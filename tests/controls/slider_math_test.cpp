#include <gtest/gtest.h>

#include <climits>

#include "controls/slider_math.h"

namespace {

struct PixelCase {
    int position, rangeMin, rangeMax, trackLength, pixel;
};

TEST(SeekBarArithmetic, PixelFromPositionRoundsAndStaysOnTheTrack) {
    const PixelCase cases[] = {
        {0, 0, 1000, 200, 0},
        {1000, 0, 1000, 200, 200},
        {502, 0, 1000, 200, 100},      // 100.4 rounds down
        {503, 0, 1000, 200, 101},      // 100.6 rounds up
        {1500, 1000, 2000, 200, 100},  // offset by the range's start
        {500, 500, 500, 200, 0},       // empty range: left end
        {700, 0, 1000, 0, 0},          // no track
        {700, 0, 1000, -5, 0},         // bar narrower than its thumb
        {-50, 0, 1000, 200, 0},        // before the start
        {1200, 0, 1000, 200, 200},     // past the end
        {INT_MAX, INT_MIN, INT_MAX, 1000, 1000},
        {0, INT_MIN, INT_MAX, 1000, 500},
        {3'600'000, 0, 7'200'000, 30000, 15000},  // product beyond 32 bits
    };
    for (const PixelCase& c : cases) {
        EXPECT_EQ(c.pixel, PixelFromPosition(c.position, c.rangeMin, c.rangeMax, c.trackLength))
            << c.position << " in " << c.rangeMin << ".." << c.rangeMax << " over "
            << c.trackLength;
    }
}

TEST(SeekBarArithmetic, PositionFromPixelRoundsAndClampsToTheRange) {
    const PixelCase cases[] = {
        {0, 0, 1000, 200, 0},         {1000, 0, 1000, 200, 200},
        {465, 0, 1000, 200, 93},      {100'000, 0, 200'000, 200, 100},  // beyond 16 bits
        {1000, 1000, 2000, 200, 0},   {2000, 1000, 2000, 200, 250},  // right of the track: the end
        {1000, 1000, 2000, 200, -10},                                // left of the track: the start
        {7, 7, 7, 200, 150},                                         // empty range
        {7, 7, 1000, 0, 150},                                        // no track
        {7, 7, 1000, -3, 150},        {INT_MAX, INT_MIN, INT_MAX, 1000, 1000},
    };
    for (const PixelCase& c : cases) {
        EXPECT_EQ(c.position, PositionFromPixel(c.pixel, c.rangeMin, c.rangeMax, c.trackLength))
            << "pixel " << c.pixel << " in " << c.rangeMin << ".." << c.rangeMax;
    }
}

TEST(SeekBarArithmetic, EveryPixelMapsBackToItself) {
    // Whenever the range has at least as many units as the track has pixels.
    const int ranges[][2] = {{0, 7'200'000}, {-1000, 1000}, {0, 300}, {INT_MIN, INT_MAX}};
    for (const auto& range : ranges) {
        for (int x = 0; x <= 300; ++x) {
            int position = PositionFromPixel(x, range[0], range[1], 300);
            ASSERT_EQ(x, PixelFromPosition(position, range[0], range[1], 300))
                << range[0] << ".." << range[1];
        }
    }
}

TEST(VolumeSliderArithmetic, PressPinsAtBothEndsAndRounds) {
    const int length = 17;  // a slider 22 pixels high
    EXPECT_EQ(1000, VolumeFromPress(-5, length));
    EXPECT_EQ(1000, VolumeFromPress(0, length));
    EXPECT_EQ(1000, VolumeFromPress(2, length));
    EXPECT_EQ(0, VolumeFromPress(length + 2, length));
    EXPECT_EQ(0, VolumeFromPress(500, length));
    EXPECT_EQ(471, VolumeFromPress(11, length));  // 9/17 of the way down: 529.4 -> 529
    EXPECT_EQ(1000, VolumeFromPress(10, 0));      // too low to have a track
}

TEST(VolumeSliderArithmetic, DragPinsOutsideTheTrack) {
    const int length = 17;
    EXPECT_EQ(1000, VolumeFromDrag(-300, length));
    EXPECT_EQ(1000, VolumeFromDrag(2, length));
    EXPECT_EQ(0, VolumeFromDrag(length + 2, length));
    EXPECT_EQ(0, VolumeFromDrag(30000, length));
    EXPECT_EQ(471, VolumeFromDrag(11, length));
    // A press and a drag to the same y agree.
    for (int y = -3; y < 25; ++y) {
        EXPECT_EQ(VolumeFromPress(y, length), VolumeFromDrag(y, length)) << y;
    }
}

TEST(VolumeSliderArithmetic, LevelLineRisesWithTheValue) {
    // Track (4, 1) - (8, 21): 17 steps between the empty and the full level.
    EXPECT_EQ(21, VolumeLevelY(0, 1, 21));
    EXPECT_EQ(4, VolumeLevelY(1000, 1, 21));
    EXPECT_EQ(12, VolumeLevelY(500, 1, 21));
}

}  // namespace
