// ".m3u8" files through the playlist: loading, nesting and saving.
#include <gtest/gtest.h>

#include "playlist_fixture.h"

namespace {

using PlaylistM3U8Test = PlaylistFixture;

TEST_F(PlaylistM3U8Test, AddPathLoadsM3U8AndTheListsItNames) {
    ASSERT_TRUE(WriteBytes(folder / L"outer.M3U8",
                           "#EXTM3U\r\n#EXTINF:1,a\r\na.mp3\r\n#EXTINF:-1,inner\r\ninner.m3u8\r\n"
                           "old.m3u\r\nouter.m3u8\r\n"));
    ASSERT_TRUE(WriteBytes(folder / L"inner.m3u8", "\xEF\xBB\xBF#EXTM3U\n\xE6\xAD\x8C.mp3\n"));
    ASSERT_TRUE(WriteBytes(folder / L"old.m3u", "c.mp3\r\n"));
    EXPECT_TRUE(playlist.AddPath(folder / L"outer.M3U8"));
    EXPECT_EQ(Paths(), (PathList{folder / L"a.mp3", folder / L"\u6B4C.mp3", folder / L"c.mp3"}));
}

TEST_F(PlaylistM3U8Test, SaveWritesUtf8ByTheFilesName) {
    const PathList paths = {L"C:\\a.mp3", L"C:\\\u97F3\u697D\\\uD55C.mp3"};
    for (const std::wstring& path : paths) {
        ASSERT_TRUE(playlist.AddPath(path));
    }
    const std::wstring file = folder / L"list.m3u8";
    ASSERT_TRUE(playlist.SaveM3U(file));
    EXPECT_EQ(ReadBytes(file),
              "#EXTM3U\r\nC:\\a.mp3\r\nC:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xED\x95\x9C.mp3\r\n");
    playlist.ClearPlaylist();
    ASSERT_TRUE(playlist.LoadM3U(file));
    EXPECT_EQ(Paths(), paths);
}

}  // namespace
