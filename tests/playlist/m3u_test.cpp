#include "playlist/m3u.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::wstring kBase = L"C:\\Music\\List";

struct ParseCase {
    const char* name;
    std::wstring text;
    PathList expected;
};

class ParseM3UTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseM3UTest, ReadsTheEntries) {
    EXPECT_EQ(ParseM3UText(GetParam().text, kBase), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseM3UTest,
    testing::Values(ParseCase{"relative",
                              L".\\a.mp3\r\n..\\b.mp3\r\n",
                              {L"C:\\Music\\List\\a.mp3", L"C:\\Music\\b.mp3"}},
                    ParseCase{"absolute_kept",
                              L"d:\\x.mp3\r\n\\\\server\\share\\y.mp3\r\n",
                              {L"d:\\x.mp3", L"\\\\server\\share\\y.mp3"}},
                    ParseCase{"plain_name", L"c.wav", {L"C:\\Music\\List\\c.wav"}},
                    // A directive, or a "#" name of no file that exists.
                    ParseCase{"hash_line_skipped", L"#EXTM3U\n#x.mp3\nC:\\a", {L"C:\\a"}},
                    ParseCase{"runs_of_line_ends",
                              L"\r\n\r\r\na\n\n\rb\r",
                              {L"C:\\Music\\List\\a", L"C:\\Music\\List\\b"}},
                    ParseCase{"cr_only", L"C:\\a\rC:\\b\rC:\\c", {L"C:\\a", L"C:\\b", L"C:\\c"}},
                    ParseCase{"lf_only", L"C:\\a\nC:\\b\n", {L"C:\\a", L"C:\\b"}},
                    ParseCase{"blanks_kept", L" C:\\a \n", {L"C:\\Music\\List\\ C:\\a "}},
                    ParseCase{"empty", L"", {}}, ParseCase{"only_line_ends", L"\r\n\n\r", {}}),
    [](const testing::TestParamInfo<ParseCase>& param) { return std::string(param.param.name); });

// Relative lines against the playlist's folder: ".." never climbs above the
// root of a drive or of a network share.
TEST(ParseM3UTest, RelativeLinesStayUnderTheirRoot) {
    struct Case {
        std::wstring base;
        std::wstring line;
        std::wstring path;
    } cases[] = {
        {L"C:\\Music\\List", L"..\\..\\a.mp3", L"C:\\a.mp3"},
        {L"C:\\Music\\List", L"..\\..\\..\\..\\a.mp3", L"C:\\a.mp3"},
        {L"C:\\", L"..\\a.mp3", L"C:\\a.mp3"},
        {L"C:", L"..\\a.mp3", L"C:\\a.mp3"},
        {L"C:\\Music", L"../.././a.mp3", L"C:\\a.mp3"},
        {L"C:\\Music", L".\\..\\Live\\a.mp3", L"C:\\Live\\a.mp3"},
        {L"\\\\server\\share\\List", L"..\\a.mp3", L"\\\\server\\share\\a.mp3"},
        {L"\\\\server\\share\\List", L"..\\..\\..\\a.mp3", L"\\\\server\\share\\a.mp3"},
        {L"\\\\server\\share", L"..\\a.mp3", L"\\\\server\\share\\a.mp3"},
        {L"\\\\server\\share\\", L"..\\sub\\a.mp3", L"\\\\server\\share\\sub\\a.mp3"},
        {L"D:\\a\\b", L"sub\\..\\c.mp3", L"D:\\a\\b\\sub\\..\\c.mp3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseM3UText(c.line, c.base), PathList{c.path})
            << testing::PrintToString(c.base) << " " << testing::PrintToString(c.line);
    }
}

TEST(ParseM3UTest, LineLengthsAtTheLimit) {
    std::wstring longest = L"C:\\" + std::wstring(256, L'a');  // 259 characters
    std::wstring tooLong = longest + L"b";                     // 260 characters
    PathList paths = ParseM3UText(longest + L"\r\n" + tooLong + L"\r\nC:\\end", kBase);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], longest);
    EXPECT_EQ(paths[1], L"C:\\end");
}

TEST(ParseM3UTest, RelativeLineMustFitWithItsFolder) {
    // base (13) + line + 1 must stay under 260.
    std::wstring fits(245, L'a');
    std::wstring tooLong(246, L'a');
    PathList paths = ParseM3UText(fits + L"\n" + tooLong, kBase);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], kBase + L"\\" + fits);
}

TEST(ParseM3UTest, HugeSingleLineIsSkippedWithoutTrouble) {
    std::wstring text(10 * 1024 * 1024, L'x');
    text += L"\nC:\\after.mp3";
    PathList paths = ParseM3UText(text, kBase);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], L"C:\\after.mp3");
}

TEST(DecodeM3UTest, ByteOrderMarkSelectsUtf8) {
    EXPECT_EQ(DecodeM3UText("\xEF\xBB\xBF"
                            "C:\\\xC4\x81.mp3"),
              L"C:\\\u0101.mp3");
    // Invalid sequences after the mark become replacement characters; the rest survives.
    std::wstring text = DecodeM3UText("\xEF\xBB\xBF\xFF\xFE\xC0\r\nC:\\ok.mp3");
    EXPECT_NE(text.find(L"C:\\ok.mp3"), std::wstring::npos);
    EXPECT_EQ(DecodeM3UText("\xEF\xBB\xBF"), L"");
}

TEST(EncodeM3UTest, AnsiWhenEveryPathFits) {
    EXPECT_EQ(EncodeM3U({L"C:\\a.mp3", L"D:\\b c\\d.wav"}), "C:\\a.mp3\r\nD:\\b c\\d.wav\r\n");
    EXPECT_EQ(EncodeM3U({}), "");
}

TEST(EncodeM3UTest, Utf8WithMarkWhenAPathDoesNotFit) {
    // U+0101 has no exact form in the Western or Japanese code pages (only a best fit "a").
    std::string bytes = EncodeM3U({L"C:\\x.mp3", L"C:\\\u0101.mp3"});
    EXPECT_EQ(bytes,
              "\xEF\xBB\xBF"
              "C:\\x.mp3\r\nC:\\\xC4\x81.mp3\r\n");
    PathList back = ParseM3UText(DecodeM3UText(bytes), kBase);
    EXPECT_EQ(back, (PathList{L"C:\\x.mp3", L"C:\\\u0101.mp3"}));
}

// Half-width katakana before some double-byte characters make code page 932
// bytes that are valid UTF-8 ("ﾃｨ" is C3 A8, "è" in UTF-8; "ﾕ・" is D5 81
// 45): such a file would read back as UTF-8, so it is written as UTF-8.
TEST(EncodeM3UTest, Utf8WithMarkWhenTheAnsiBytesWouldReadBackAsUtf8) {
    if (GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese code page";
    }
    const PathList cases[] = {
        {L"C:\\ﾃｨ.mp3"},
        {L"C:\\a.mp3", L"C:\\ﾕ・.wav"},
    };
    for (const PathList& paths : cases) {
        std::string bytes = EncodeM3U(paths);
        EXPECT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0);
        EXPECT_EQ(ParseM3UText(DecodeM3UText(bytes), kBase), paths);
    }
    // Katakana that cannot pass for UTF-8 stay in the code page.
    EXPECT_EQ(EncodeM3U({L"C:\\ﾃｽﾄ.mp3"}), "C:\\\xC3\xBD\xC4.mp3\r\n");
}

}  // namespace
