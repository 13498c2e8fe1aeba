#include "settings/page_logic.h"

#include <gtest/gtest.h>

namespace {

TEST(PageNumbers, SpeedsInPercentAndBack) {
    EXPECT_EQ(SpeedPercent(2000), 200);
    EXPECT_EQ(SpeedPercent(1999), 199);
    struct Case {
        int percent;
        NumberRange range;
        int speed;
    } cases[] = {
        {250, kBackwardSpeedRange, 2500},
        {50, kBackwardSpeedRange, 1000},
        {400, kBackwardSpeedRange, 4000},
        {401, kForwardSpeedRange, 4000},
        {100, kForwardSpeedRange, 1500},
        {-3, kForwardSpeedRange, 1500},
        // Multiplied without overflowing.
        {2147483647, kForwardSpeedRange, 4000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpeedFromPercent(c.percent, c.range), c.speed) << c.percent;
    }
}

TEST(PageNumbers, AnEmptyMaskEditMeansEveryFile) {
    EXPECT_EQ(FileMasksOfEdit(L""), L"*.*");
    EXPECT_EQ(FileMasksOfEdit(L"*.wav"), L"*.wav");
}

class PresetEditorTest : public testing::Test {
protected:
    LayoutPreset presets_[kPresetCount] = {{L"最小", 0}, {L"最大", 31}, {L"シンプル", 25}};
    PresetEditor editor_{presets_};
};

TEST_F(PresetEditorTest, NothingSelectedShowsNothingAndChangesNothing) {
    EXPECT_FALSE(editor_.controlsEnabled());
    EXPECT_EQ(editor_.shownName(), L"");
    EXPECT_FALSE(editor_.SetName(L"x"));
    EXPECT_FALSE(editor_.SetBar(0, true));
    for (int row = 0; row < kPresetCount; ++row) {
        EXPECT_EQ(editor_.preset(row).name, presets_[row].name);
        EXPECT_EQ(editor_.preset(row).bars, presets_[row].bars);
    }
    editor_.Select(1);
    editor_.Select(3);
    EXPECT_EQ(editor_.selected(), -1);
}

TEST_F(PresetEditorTest, TheSelectedRowAloneTakesNamesAndBits) {
    editor_.Select(2);
    EXPECT_EQ(editor_.shownName(), L"シンプル");
    const bool shown[] = {true, false, false, true, true};
    for (int bar = 0; bar < 5; ++bar) {
        EXPECT_EQ(editor_.ShowsBar(bar), shown[bar]) << bar;
    }
    EXPECT_TRUE(editor_.SetBar(1, true));
    EXPECT_TRUE(editor_.SetBar(4, false));
    EXPECT_FALSE(editor_.SetBar(5, true));
    EXPECT_TRUE(editor_.SetName(std::wstring(40, L'x')));
    EXPECT_EQ(editor_.preset(2).bars, 25u + kBarToolbar - kBarSeek);
    EXPECT_EQ(editor_.preset(2).name, std::wstring(31, L'x'));
    EXPECT_EQ(editor_.preset(1).bars, 31u);
    EXPECT_EQ(editor_.preset(0).name, L"最小");
}

}  // namespace
