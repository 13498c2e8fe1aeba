#include "files/collect_files.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

TEST(CollectFiles, EachFileOnceInNameOrderThenSubfoldersDepthFirst) {
    TempFolder root;
    for (const wchar_t* folder : {L"z", L"m", L"m\\n", L"dir.mp3"}) {
        ASSERT_TRUE(CreateDirectoryW((root / folder).c_str(), nullptr));
    }
    for (const wchar_t* file : {L"b.mp3", L"A.MP3", L"c.wav", L"notes.txt", L"z\\1.mp3",
                                L"m\\2.mp3", L"m\\n\\3.mp3", L"m\\n\\0.mp3", L"m\\Z.mp3"}) {
        ASSERT_TRUE(WriteBytes(root / file, "x"));
    }
    // Overlapping masks give each file once; directories are never listed.
    PathList list{L"Z:\\kept.mp3"};
    ASSERT_TRUE(CollectFiles(root.path(), L"*.mp3;*.MP3;*.wav;b*;", false, list));
    EXPECT_EQ(list, (PathList{L"Z:\\kept.mp3", root / L"A.MP3", root / L"b.mp3", root / L"c.wav"}));

    list.clear();
    ASSERT_TRUE(CollectFiles(root.path(), L"*.mp3", true, list));
    EXPECT_EQ(list,
              (PathList{root / L"A.MP3", root / L"b.mp3", root / L"m\\2.mp3", root / L"m\\Z.mp3",
                        root / L"m\\n\\0.mp3", root / L"m\\n\\3.mp3", root / L"z\\1.mp3"}));

    list.clear();
    ASSERT_TRUE(CollectFiles(root / L"missing", L"*.mp3", true, list));
    EXPECT_TRUE(list.empty());
}

}  // namespace
