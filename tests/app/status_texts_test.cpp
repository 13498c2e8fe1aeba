#include "app/status_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

using namespace std::string_literals;

namespace {

struct TimeCase {
    std::uint32_t milliseconds;
    bool hundredths;
    const wchar_t* separator;
    const wchar_t* expected;
};

class TimeText : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeText, FormatsHoursMinutesSeconds) {
    const TimeCase& c = GetParam();
    EXPECT_EQ(FormatTimeText(c.milliseconds, c.hundredths, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeText,
    testing::Values(TimeCase{0, false, L".", L"00:00:00"}, TimeCase{0, true, L".", L"00:00:00.00"},
                    TimeCase{3723450, false, L".", L"01:02:03"},
                    TimeCase{3723450, true, L",", L"01:02:03,45"},
                    TimeCase{5250, true, L"<sep>", L"00:00:05<sep>25"},
                    // Hours are not limited to two digits; the arithmetic is unsigned.
                    TimeCase{360000000, false, L".", L"100:00:00"},
                    TimeCase{4294967295u, true, L".", L"1193:02:47.29"}));

struct PaneCase {
    std::int32_t position;
    std::int32_t length;
    const wchar_t* expected;
};

class TimePaneText : public testing::TestWithParam<PaneCase> {};

TEST_P(TimePaneText, ShowsHundredthsOnlyForShortFiles) {
    const PaneCase& c = GetParam();
    EXPECT_EQ(FormatTimePaneText(c.position, c.length, L"."), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimePaneText,
                         testing::Values(PaneCase{5250, 9000, L"00:00:05.25 / 00:00:09.00"},
                                         PaneCase{9999, 9999, L"00:00:09.99 / 00:00:09.99"},
                                         PaneCase{5250, 10000, L"00:00:05 / 00:00:10"},
                                         PaneCase{3723450, 7200000, L"01:02:03 / 02:00:00"},
                                         // A figure the back-end could not tell is shown as 0.
                                         PaneCase{-1, -1, L"00:00:00.00 / 00:00:00.00"},
                                         PaneCase{-1, 60000, L"00:00:00 / 00:01:00"}));

TEST(StatusTexts, PaneSamplesAndFigures) {
    EXPECT_EQ(TimePaneSampleText(L","), L"00:00:00,00 / 00:00:00,00");
    EXPECT_EQ(FormatSizePaneText(640, 480, 150), L"640 x 480 (150%)");
    Mp3FrameInfo info = {};
    // The reader's average for 1000 frames and 417000 bytes at 44.1 kHz: over
    // the exact 26.12 s it is 127706 bit/s, cut (not rounded) to 127 kbit/s.
    info.bitRate = 127706;
    info.sampleRate = 44100;
    EXPECT_EQ(FormatMp3PaneText(info), L"127kbps 44kHz");
    info.bitRate = 0;
    info.sampleRate = 8000;
    EXPECT_EQ(FormatMp3PaneText(info), L"0kbps 8kHz");
}

TEST(StatusTexts, DecimalSeparatorIsShort) {
    std::wstring separator = UserDecimalSeparator();
    EXPECT_GE(separator.size(), 1u);
    EXPECT_LE(separator.size(), 4u);
}

TEST(StatusTexts, AudioPaneReadsOnlyMp3Files) {
    TempFolder folder;
    std::string frame = "\xFF\xFB\x90\x00"s + std::string(4166, '\0');
    ASSERT_TRUE(WriteBytes(folder / L"a.MP3", frame));
    ASSERT_TRUE(WriteBytes(folder / L"a.wav", frame));
    ASSERT_TRUE(WriteBytes(folder / L"bad.mp3", std::string(100, 'x')));
    EXPECT_EQ(AudioPaneText(folder / L"a.MP3"), L"128kbps 44kHz");
    EXPECT_EQ(AudioPaneText(folder / L"a.wav"), L"");
    EXPECT_EQ(AudioPaneText(folder / L"bad.mp3"), L"");
    EXPECT_EQ(AudioPaneText(folder / L"missing.mp3"), L"");
}

struct TitleCase {
    const wchar_t* path;
    int format;
    int fileName;
    const wchar_t* expected;
};

class Title : public testing::TestWithParam<TitleCase> {};

TEST_P(Title, FollowsTheTitleSettings) {
    const TitleCase& c = GetParam();
    EXPECT_EQ(FormatTitle(c.path, c.format, c.fileName), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Title,
    testing::Values(TitleCase{L"C:\\Music\\Live\\a.mp3", 0, 0, L"Zephlo - a.mp3"},
                    TitleCase{L"C:\\Music\\Live\\a.mp3", 1, 0, L"a.mp3 - Zephlo"},
                    TitleCase{L"C:\\Music\\Live\\a.mp3", 2, 0, L"Zephlo"},
                    TitleCase{L"C:\\Music\\Live\\a.mp3", 0, 1, L"Zephlo - C:\\Music\\Live\\a.mp3"},
                    TitleCase{L"C:\\Music\\Live\\a.mp3", 1, 2, L"...\\Live\\a.mp3 - Zephlo"},
                    TitleCase{L"C:\\a.mp3", 0, 2, L"Zephlo - C:\\a.mp3"},
                    TitleCase{L"\\\\server\\share\\b.avi", 0, 2, L"Zephlo - ...\\share\\b.avi"},
                    TitleCase{L"", 0, 1, L"Zephlo"}, TitleCase{L"", 1, 0, L"Zephlo"},
                    // Values the settings dialog never writes fall back to the first form.
                    TitleCase{L"C:\\Music\\a.mp3", 7, -1, L"Zephlo - a.mp3"}));

}  // namespace
