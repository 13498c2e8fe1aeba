#include "app/file_masks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;

struct MasksCase {
    const char* name;
    Names extensions;
    std::wstring expected;
};

class FileMasks : public testing::TestWithParam<MasksCase> {};

TEST_P(FileMasks, BuildsMasksFromExtensionNames) {
    EXPECT_EQ(FileMasksFromExtensions(GetParam().extensions), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileMasks,
    testing::Values(MasksCase{"NoneGiven", {}, kBuiltInFileMasks},
                    MasksCase{"Some", {L"wav", L"AVI", L"Mp3"}, L"*.wav;*.avi;*.mp3"},
                    MasksCase{
                        "PlaylistTypesLeftOut",
                        {L"ASX", L"mid", L"m3u", L"M3U8", L"wax", L"wpl", L"wvx", L"WMX", L"wma"},
                        L"*.mid;*.wma"},
                    MasksCase{"OnlyPlaylistTypes", {L"m3u", L"asx"}, L""}),
    [](const testing::TestParamInfo<MasksCase>& test) { return std::string(test.param.name); });

TEST(FileMasks, LimitCutsBeforeTheNameThatDoesNotFit) {
    // Each "*.nnnnnnn;" takes 10 characters: 51 fit in 512 (510), the 52nd not.
    Names names;
    for (int i = 0; i < 60; ++i) {
        names.push_back(L"ext" + std::to_wstring(1000 + i));
    }
    std::wstring masks = FileMasksFromExtensions(names);
    EXPECT_EQ(masks.size(), 509u);
    EXPECT_LT(masks.size(), kFileMasksSize);
    EXPECT_EQ(masks.substr(masks.size() - 9), L"*.ext1050");
}

TEST(FileMasks, LimitCountsTheSeparatorOfTheLastName) {
    // 50 names take 500 characters; a 9-character name needs 12 more: 512 fits.
    Names names(50, L"abcdefg");
    names.push_back(L"123456789");
    EXPECT_EQ(FileMasksFromExtensions(names).size(), 511u);
    // One more character does not fit, and the names after it are not tried.
    names.back() = L"1234567890";
    names.push_back(L"a");
    EXPECT_EQ(FileMasksFromExtensions(names).size(), 499u);
}

TEST(FileMasks, SplitsTheProfileList) {
    const wchar_t list[] = L"avi\0wav\0\0ignored\0";
    EXPECT_EQ(SplitNameList(list, 8), (Names{L"avi", L"wav"}));
    EXPECT_EQ(SplitNameList(list, sizeof list / sizeof list[0]), (Names{L"avi", L"wav"}));
    // A list cut at the buffer's end keeps the name it has.
    EXPECT_EQ(SplitNameList(list, 6), (Names{L"avi", L"wa"}));
    EXPECT_EQ(SplitNameList(L"", 0), Names{});
}

TEST(FileMasks, SystemListGivesUsableMasks) {
    std::wstring masks = BuildDefaultFileMasks();
    ASSERT_FALSE(masks.empty());
    EXPECT_LT(masks.size(), kFileMasksSize);
    EXPECT_EQ(masks.substr(0, 2), L"*.");
    EXPECT_NE(masks.back(), L';');
    EXPECT_EQ(masks.find(L"m3u"), std::wstring::npos);
}

}  // namespace
