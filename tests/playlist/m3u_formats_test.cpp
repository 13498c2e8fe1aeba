// Playlists as other players write them: extended M3U, UTF-8 with and
// without a byte-order mark, ".m3u8", forward slashes, file URLs; and the
// ".m3u8" writer.
#include <windows.h>

#include <gtest/gtest.h>

#include "playlist/m3u.h"
#include "support/test_support.h"

using namespace std::string_literals;

namespace {

// "@" in an expected entry stands for the test's folder.
struct PlaylistFileCase {
    const char* name;
    const wchar_t* fileName;  // written into the folder "@\Lists"
    std::string bytes;
    PathList expected;
    bool needsCodePage932 = false;
};

class PlaylistFileTest : public testing::TestWithParam<PlaylistFileCase> {};

TEST_P(PlaylistFileTest, ReadsTheEntriesOtherPlayersMeant) {
    const PlaylistFileCase& c = GetParam();
    if (c.needsCodePage932 && GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    }
    TempFolder folder;
    const std::wstring lists = folder / L"Lists";
    ASSERT_TRUE(CreateDirectoryW(lists.c_str(), nullptr));
    // A media file whose name begins with "#" is an entry, not a comment.
    ASSERT_TRUE(WriteBytes(lists + L"\\#1.mp3", "x"));
    const std::wstring file = lists + L"\\" + c.fileName;
    ASSERT_TRUE(WriteBytes(file, c.bytes));

    PathList expected;
    for (std::wstring entry : c.expected) {
        if (entry[0] == L'@') {
            entry.replace(0, 1, folder.path());
        }
        expected.push_back(entry);
    }
    PathList entries;
    ASSERT_TRUE(ReadPlaylistFile(file, entries));
    EXPECT_EQ(entries, expected);
}

const std::string kBom = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Files, PlaylistFileTest,
    testing::Values(
        // Written by another player: the "#" lines are directives and the
        // names UTF-8 without a mark, in a file named ".m3u".
        PlaylistFileCase{"extended_utf8_lf",
                         L"tones.m3u",
                         "#EXTM3U\n#EXTINF:1,Tone - 音\n../Music/トーン/一.mp3\n"
                         "#EXTINF:2,Tone - 二\n./トーン/二.mp3\n",
                         {L"@\\Music\\トーン\\一.mp3", L"@\\Lists\\トーン\\二.mp3"}},
        PlaylistFileCase{"extended_utf8_bom_crlf",
                         L"list.m3u",
                         kBom + "#EXTM3U\r\n#EXTINF:-1,Radio\r\nhttp://radio.example/stream\r\n"
                                "#EXTINF:215,歌手 - 歌\r\nC:/Music/歌手/歌.mp3\r\n"
                                "//server/share/曲.mp3\r\n",
                         {L"C:\\Music\\歌手\\歌.mp3", L"\\\\server\\share\\曲.mp3"}},
        PlaylistFileCase{"m3u8_without_mark",
                         L"list.m3u8",
                         "#EXTM3U\r\n#EXTINF:3,a\r\nsub/a.mp3\r\n#EXTINF:4,b\r\nC:\\b.mp3\r\n",
                         {L"@\\Lists\\sub\\a.mp3", L"C:\\b.mp3"}},
        PlaylistFileCase{
            "m3u8_with_mark_upper_case", L"LIST.M3U8", kBom + "../歌.mp3\n", {L"@\\歌.mp3"}},
        // ".m3u8" is UTF-8 even where the bytes are not: no guessing.
        PlaylistFileCase{"m3u8_bad_byte",
                         L"bad.m3u8",
                         "C:\\a\xE9.mp3\nC:\\b.mp3",
                         {L"C:\\a\uFFFD.mp3", L"C:\\b.mp3"}},
        PlaylistFileCase{"plain_lf_m3u8",
                         L"plain.m3u8",
                         "a.mp3\nb.mp3\n",
                         {L"@\\Lists\\a.mp3", L"@\\Lists\\b.mp3"}},
        PlaylistFileCase{"file_urls",
                         L"urls.m3u8",
                         "file:///C:/Music/a%20b.mp3\n"
                         "FILE://localhost/D:/x%e6%ad%8c.mp3\n"
                         "file://server/share/%E3%83%86.mp3\n"
                         "file:////server/share/raw%20歌.mp3\n"
                         "file:///C|/old.mp3\n"
                         // Names nothing that can be opened here.
                         "file:///home/user/a.mp3\n"
                         "file:///C:/nul%00.mp3\n"
                         "file:///C:\n"
                         // A stray "%" is a character of the name.
                         "file:///C:/100%25%.mp3\n",
                         {L"C:\\Music\\a b.mp3", L"D:\\x歌.mp3", L"\\\\server\\share\\テ.mp3",
                          L"\\\\server\\share\\raw 歌.mp3", L"C:\\old.mp3", L"C:\\100%%.mp3"}},
        PlaylistFileCase{"other_urls",
                         L"streams.m3u",
                         "http://a.example/x.mp3\r\nhttps://b.example/y.mp3\r\nrtsp://c/z\r\n"
                         "mms://d/w\r\nsvn+ssh://e/f\r\nC:\\kept.mp3\r\n",
                         {L"C:\\kept.mp3"}},
        // A relative "#" name is an entry only when the file exists; ":" and
        // wildcards never occur in one.
        PlaylistFileCase{"hash_names",
                         L"hash.m3u",
                         "#1.mp3\r\n#2.mp3\r\n# a comment\r\n#EXTINF:5,#1.mp3\r\n#*.mp3\r\n"
                         "#?.mp3\r\n",
                         {L"@\\Lists\\#1.mp3"}},
        // Percent-encoded, a URL may be longer than the path it names.
        PlaylistFileCase{"long_file_url",
                         L"long.m3u8",
                         [] {
                             std::string line = "file:///C:/";
                             for (int i = 0; i < 40; ++i)
                                 line += "%E6%AD%8C";
                             return line + "\r\nfile:///C:/" + std::string(257, 'a') + "\r\n";
                         }(),
                         {L"C:\\" + std::wstring(40, L'歌')}},
        // This player's own files from before: code page 932, a trail byte
        // 5C in ソ and 表.
        PlaylistFileCase{
            "cp932_names",
            L"old.m3u",
            "C:\\\x89\xB9\x8Ay\\\x8B\xC8.mp3\r\n..\\\x83"
            "e\x83X\x83g \x88\xEA.wav\r\n\x83\\.mp3\r\n\x95\\\x8E\xA6.mp3\r\n",
            {L"C:\\音楽\\曲.mp3", L"@\\テスト 一.wav", L"@\\Lists\\ソ.mp3", L"@\\Lists\\表示.mp3"},
            true},
        // Not UTF-8: read as code page 932, line by line, so that the lone lead
        // byte that ends the middle line (the code page's default character)
        // does not take the line end with it.
        PlaylistFileCase{"lead_byte_at_line_end",
                         L"damaged.m3u",
                         "C:\\\x89\xB9.mp3\nC:\\b\x89\nC:\\c.mp3\n",
                         {L"C:\\音.mp3", L"C:\\b\u30FB", L"C:\\c.mp3"},
                         true}),
    [](const testing::TestParamInfo<PlaylistFileCase>& test) {
        return std::string(test.param.name);
    });

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::wstring expected;  // empty: as the ANSI code page reads the bytes
};

std::wstring AnsiText(const std::string& bytes) {
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                            static_cast<int>(text.size()))));
    return text;
}

class DecodeM3UTextTest : public testing::TestWithParam<DecodeCase> {};

// Which bytes of an ".m3u" file are taken for UTF-8; the others are code page
// 932 here.
TEST_P(DecodeM3UTextTest, ChoosesTheEncoding) {
    const DecodeCase& c = GetParam();
    if (GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    }
    EXPECT_EQ(DecodeM3UText(c.bytes), c.expected.empty() ? AnsiText(c.bytes) : c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DecodeM3UTextTest,
    testing::Values(DecodeCase{"ascii", "a\r\nb", L"a\r\nb"},
                    DecodeCase{"utf8_two_three_four_bytes", "\xC3\xA9\xE6\xAD\x8C\xF0\x9F\x8E\xB5",
                               L"\u00E9\u6B4C\U0001F3B5"},
                    DecodeCase{"cp932", "\x89\xB9\x8Ay", L"音楽"},
                    // Overlong, surrogate, past U+10FFFF, truncated: not UTF-8.
                    DecodeCase{"overlong", "\xC0\xAF", L"\uFF80\uFF6F"},
                    DecodeCase{"surrogate", "\xED\xA0\x80\x41", L""},
                    DecodeCase{"beyond_unicode", "\xF4\x90\x80\x80\x41", L""},
                    DecodeCase{"lone_continuation", "a\x80", L""},
                    DecodeCase{"truncated_half_width_kana", "\xC3\xBD\xC4", L"ﾃｽﾄ"},
                    // The price of the rule: an even run of half-width katakana
                    // can be valid UTF-8 too, and is then read as UTF-8.
                    DecodeCase{"half_width_kana_pair", "\xC3\xBD", L"\u00FD"}),
    [](const testing::TestParamInfo<DecodeCase>& test) { return std::string(test.param.name); });

TEST(IsPlaylistPathTest, NamesM3UAndM3U8InAnyCase) {
    for (const wchar_t* path : {L"a.m3u", L"C:\\x\\A.M3U", L"a.M3u8", L"C:\\LIST.M3U8", L".m3u8"}) {
        EXPECT_TRUE(IsPlaylistPath(path)) << ToUtf8(path);
    }
    for (const wchar_t* path : {L"", L"m3u", L"a.m3", L"a.m3u8x", L"a.mp3", L"a.m3u9", L"a.pls",
                                L"C:\\list.m3u\\a.mp3", L"a.m3u.mp3", L"a\uFF0Em3u"}) {
        EXPECT_FALSE(IsPlaylistPath(path)) << ToUtf8(path);
    }
}

TEST(EncodeM3U8Test, WritesUtf8WithoutMarkAfterTheHeader) {
    EXPECT_EQ(EncodeM3U8({L"C:\\a.mp3", L"C:\\音楽\\#1 歌.mp3", L"\\\\s\\x\\\u0101.wav"}),
              "#EXTM3U\r\nC:\\a.mp3\r\nC:\\\xE9\x9F\xB3\xE6\xA5\xBD\\#1 \xE6\xAD\x8C.mp3\r\n"
              "\\\\s\\x\\\xC4\x81.wav\r\n");
    EXPECT_EQ(EncodeM3U8({}), "#EXTM3U\r\n");
}

TEST(EncodeM3U8Test, TheTargetNameChoosesTheWriter) {
    const PathList paths = {L"C:\\a.mp3"};
    EXPECT_EQ(EncodePlaylist(L"C:\\x\\list.m3u8", paths), "#EXTM3U\r\nC:\\a.mp3\r\n");
    EXPECT_EQ(EncodePlaylist(L"C:\\x\\LIST.M3U8", paths), "#EXTM3U\r\nC:\\a.mp3\r\n");
    EXPECT_EQ(EncodePlaylist(L"C:\\x\\list.m3u", paths), "C:\\a.mp3\r\n");
    EXPECT_EQ(EncodePlaylist(L"C:\\x.m3u8\\list", paths), "C:\\a.mp3\r\n");
}

TEST(EncodeM3U8Test, ReadsBackWhatItWrote) {
    TempFolder folder;
    const std::wstring file = folder / L"リスト.m3u8";
    const PathList paths = {L"C:\\音楽\\歌.mp3", L"D:\\#EXTM3U", L"\\\\server\\share\\\u0101.wav",
                            L"C:\\a\U0001F3B5.mp3"};
    ASSERT_TRUE(WriteM3UFile(file, EncodePlaylist(file, paths)));
    PathList back;
    ASSERT_TRUE(ReadPlaylistFile(file, back));
    EXPECT_EQ(back, paths);
}

}  // namespace
