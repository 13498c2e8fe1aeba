#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/test_support.h"

namespace {

TEST(ParseIntValue, ReadsSignAndLeadingDigitsOnly) {
    EXPECT_EQ(ParseIntValue(L"42"), 42);
    EXPECT_EQ(ParseIntValue(L"-17x"), -17);
    EXPECT_EQ(ParseIntValue(L"+8"), 8);
    EXPECT_EQ(ParseIntValue(L"abc"), 0);
    EXPECT_EQ(ParseIntValue(L""), 0);
    EXPECT_EQ(ParseIntValue(L" 5"), 0);
    // Too many digits saturate instead of overflowing.
    EXPECT_EQ(ParseIntValue(L"99999999999999"), 2147483647);
    EXPECT_EQ(ParseIntValue(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseIntValue(L"-99999999999999"), INT_MIN);
}

TEST(ParseUIntValue, AcceptsDigitsOnly) {
    EXPECT_EQ(ParseUIntValue(L"31"), 31u);
    EXPECT_EQ(ParseUIntValue(L"-1"), 0u);
    EXPECT_EQ(ParseUIntValue(L"+1"), 0u);
    EXPECT_EQ(ParseUIntValue(L"99999999999"), 4294967295u);
}

TEST(ParseBoolValue, AcceptsYesAndNoInAnyCase) {
    bool value = false;
    EXPECT_TRUE(ParseBoolValue(L"YES", value));
    EXPECT_TRUE(value);
    EXPECT_TRUE(ParseBoolValue(L"No", value));
    EXPECT_FALSE(value);
    value = true;
    EXPECT_FALSE(ParseBoolValue(L"true", value));
    EXPECT_FALSE(ParseBoolValue(L"1", value));
    EXPECT_TRUE(value);
}

TEST(ParseRgbValue, NeedsHashAndSixHexDigits) {
    std::uint32_t rgb = 7;
    EXPECT_TRUE(ParseRgbValue(L"#80c0FF", rgb));
    EXPECT_EQ(rgb, 0x80C0FFu);
    EXPECT_FALSE(ParseRgbValue(L"#80C0F", rgb));
    EXPECT_FALSE(ParseRgbValue(L"#80C0FF0", rgb));
    EXPECT_FALSE(ParseRgbValue(L"80C0FF0", rgb));
    EXPECT_FALSE(ParseRgbValue(L"#80C0FG", rgb));
    EXPECT_EQ(rgb, 0x80C0FFu);
    EXPECT_EQ(FormatRgbValue(0x0a0b0c), L"#0A0B0C");
}

TEST(ParseIntListValue, SplitsAtCommasAndIgnoresTails) {
    int values[3] = {};
    EXPECT_EQ(ParseIntListValue(L"79,2", values, 2), 2);
    EXPECT_EQ(values[0], 79);
    EXPECT_EQ(values[1], 2);
    EXPECT_EQ(ParseIntListValue(L"33", values, 2), 1);
    EXPECT_EQ(values[0], 33);
    // Text after a number up to the next comma is skipped.
    EXPECT_EQ(ParseIntListValue(L"12 junk,-4\tx,9", values, 3), 3);
    EXPECT_EQ(values[0], 12);
    EXPECT_EQ(values[1], -4);
    EXPECT_EQ(values[2], 9);
    // More numbers than wanted are not read; an overlong number is cut at 11 characters.
    EXPECT_EQ(ParseIntListValue(L"1,2,3,4", values, 2), 2);
    EXPECT_EQ(ParseIntListValue(L"123456789012345,5", values, 2), 2);
    EXPECT_EQ(values[0], 2147483647);
    EXPECT_EQ(values[1], 5);
}

class SettingsFileTest : public testing::Test {
protected:
    TempFolder folder_;
    std::wstring path_ = folder_ / L"test.ini";
};

TEST_F(SettingsFileTest, AbsentAndEmptyValuesCountAsMissing) {
    ASSERT_TRUE(WriteBytes(path_, "[S]\r\nEmpty=\r\nNumber=12\r\nFlag=yes\r\nList=\r\n"));
    SettingsFile file(path_, L"S", SettingsFile::kRead);
    int number = 5;
    EXPECT_FALSE(file.ReadIntSetting(L"Empty", number));
    EXPECT_FALSE(file.ReadIntSetting(L"Absent", number));
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(file.ReadIntSetting(L"Number", number));
    EXPECT_EQ(number, 12);
    bool flag = false;
    EXPECT_FALSE(file.ReadBoolSetting(L"Empty", flag));
    EXPECT_TRUE(file.ReadBoolSetting(L"Flag", flag));
    EXPECT_TRUE(flag);
    int values[2];
    int count = 2;
    EXPECT_FALSE(file.ReadIntListSetting(L"List", values, count));
    EXPECT_EQ(count, 0);
    std::wstring text = L"kept";
    EXPECT_FALSE(file.ReadString(L"Absent", text, 260));
    EXPECT_EQ(text, L"kept");
    EXPECT_TRUE(file.ReadString(L"Empty", text, 260));
    EXPECT_EQ(text, L"");
}

// A value cut short, to the size asked for or by a NUL byte in a damaged
// file, can end in spaces the file drops from the end of a line: read
// without them, it is what it will read back as once saved. Key by key and
// preloaded alike.
TEST_F(SettingsFileTest, ValuesCutShortReadAsTheyWillReadBackOnceSaved) {
    static const char kBytes[] = "[S]\r\nCut=abc \x1a\tdef\r\nNul=x \t\0y\r\nInner=a b\r\n";
    ASSERT_TRUE(WriteBytes(path_, std::string(kBytes, sizeof kBytes - 1)));
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"Cut", L"abc"}, {L"Nul", L"x"}, {L"Inner", L"a b"}};
    for (bool preload : {false, true}) {
        SCOPED_TRACE(preload ? "preloaded" : "key by key");
        SettingsFile file(path_, L"S", SettingsFile::kRead);
        if (preload) {
            file.Preload();
        }
        for (const auto& [key, value] : expected) {
            std::wstring read;
            EXPECT_TRUE(file.ReadString(key, read, 7));
            EXPECT_EQ(read, value) << key;
        }
    }
}

TEST_F(SettingsFileTest, BoolLongerThanFourCharactersNeverMatches) {
    ASSERT_TRUE(WriteBytes(path_, "[S]\r\nA=yesss\r\nB=nooo\r\n"));
    SettingsFile file(path_, L"S", SettingsFile::kRead);
    bool value = true;
    EXPECT_FALSE(file.ReadBoolSetting(L"A", value));
    EXPECT_FALSE(file.ReadBoolSetting(L"B", value));
    EXPECT_TRUE(value);
}

TEST_F(SettingsFileTest, NewFileIsUnicodeAndKeepsEveryCharacter) {
    const std::wstring japanese = L"C:\\音楽\\ä\U0001F3B5.mp3";
    {
        SettingsFile file(path_, L"S", SettingsFile::kWrite);
        file.WriteString(L"Path", japanese);
    }
    std::string bytes = ReadBytes(path_);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    SettingsFile file(path_, L"S", SettingsFile::kRead);
    std::wstring read;
    EXPECT_TRUE(file.ReadString(L"Path", read, 260));
    EXPECT_EQ(read, japanese);
}

TEST_F(SettingsFileTest, ExistingAnsiFileStaysAnsiWithCrLf) {
    ASSERT_TRUE(WriteBytes(path_, "[S]\r\nOld=1\r\n"));
    {
        SettingsFile file(path_, L"S", SettingsFile::kWrite);
        file.WriteIntSetting(L"New", 2);
        file.WriteIntPairSetting(L"Pair", 79, 2);
    }
    std::string bytes = ReadBytes(path_);
    EXPECT_NE(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_NE(bytes.find("New=2\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Pair=79,2\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Old=1\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, ClearSectionRemovesOnlyThatSection) {
    ASSERT_TRUE(WriteBytes(path_, "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"));
    {
        SettingsFile file(path_, L"A", SettingsFile::kWrite);
        file.ClearSection();
    }
    int value = 0;
    EXPECT_FALSE(SettingsFile(path_, L"A", SettingsFile::kRead).ReadIntSetting(L"X", value));
    EXPECT_TRUE(SettingsFile(path_, L"B", SettingsFile::kRead).ReadIntSetting(L"Y", value));
}

}  // namespace
