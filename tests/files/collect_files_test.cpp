#include "files/collect_files.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

TEST(SplitFileMasks, KeepsOrderAndEmptyMasks) {
    struct Case {
        const wchar_t* masks;
        std::vector<std::wstring> split;
    };
    const Case cases[] = {
        {L"*.mp3", {L"*.mp3"}},
        {L"*.mp3;*.wav", {L"*.mp3", L"*.wav"}},
        {L"", {L""}},
        {L"a;;b;", {L"a", L"", L"b", L""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitFileMasks(c.masks), c.split) << ToUtf8(c.masks);
    }
}

class CollectFilesTest : public testing::Test {
protected:
    void Make(std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names) {
            std::wstring path = root_ / name;
            if (path.back() == L'\\') {
                path.pop_back();
                ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << ToUtf8(path);
            } else {
                ASSERT_TRUE(WriteBytes(path, "x")) << ToUtf8(path);
            }
        }
    }
    std::wstring At(const wchar_t* name) const { return root_ / name; }

    TempFolder root_;
};

TEST_F(CollectFilesTest, OverlappingMasksGiveEachFileOnceInNameOrder) {
    Make({L"b.mp3", L"A.MP3", L"c.wav", L"notes.txt", L"dir.mp3\\"});
    PathList list;
    ASSERT_TRUE(CollectFiles(root_.path(), L"*.mp3;*.MP3;*.wav;b*;", false, list));
    EXPECT_EQ(list, (PathList{At(L"A.MP3"), At(L"b.mp3"), At(L"c.wav")}));
}

TEST_F(CollectFilesTest, SubfoldersFollowDepthFirstInNameOrder) {
    Make({L"z\\", L"m\\", L"m\\n\\", L"b.mp3", L"a.mp3", L"z\\1.mp3", L"m\\2.mp3",
          L"m\\n\\3.mp3", L"m\\n\\0.mp3", L"m\\Z.mp3"});
    PathList list;
    ASSERT_TRUE(CollectFiles(root_.path(), L"*.mp3", true, list));
    EXPECT_EQ(list, (PathList{At(L"a.mp3"), At(L"b.mp3"), At(L"m\\2.mp3"), At(L"m\\Z.mp3"),
                              At(L"m\\n\\0.mp3"), At(L"m\\n\\3.mp3"), At(L"z\\1.mp3")}));

    PathList flat;
    ASSERT_TRUE(CollectFiles(root_.path(), L"*.mp3", false, flat));
    EXPECT_EQ(flat, (PathList{At(L"a.mp3"), At(L"b.mp3")}));
}

TEST_F(CollectFilesTest, AppendsAfterWhatTheListHeldAndLeavesItAlone) {
    Make({L"a.mp3"});
    PathList list{L"Z:\\zz.mp3", L"Z:\\a.mp3"};
    ASSERT_TRUE(CollectFiles(root_.path(), L"*.mp3", false, list));
    ASSERT_TRUE(CollectFiles(root_ / L"missing", L"*.mp3", true, list));
    EXPECT_EQ(list, (PathList{L"Z:\\zz.mp3", L"Z:\\a.mp3", At(L"a.mp3")}));
}

}  // namespace
