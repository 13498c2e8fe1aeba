#include "app/command_line.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "support/test_support.h"

namespace {

struct SplitCase {
    const wchar_t* text;
    PathList paths;
    bool fullScreen;
    bool maximize;
};

class SplitCommandLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsArgumentsAndOptions) {
    const SplitCase& expected = GetParam();
    CommandLine result = SplitCommandLine(expected.text);
    EXPECT_EQ(result.paths, expected.paths);
    EXPECT_EQ(result.fullScreen, expected.fullScreen);
    EXPECT_EQ(result.maximize, expected.maximize);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    testing::Values(
        SplitCase{L"", {}, false, false}, SplitCase{L"   ", {}, false, false},
        SplitCase{L"a.mp3 b.mp3", {L"a.mp3", L"b.mp3"}, false, false},
        // Only blanks separate: a tab stays inside the argument.
        SplitCase{L"a\tb c", {L"a\tb", L"c"}, false, false},
        SplitCase{L"\"C:\\My Music\\a b.mp3\" x", {L"C:\\My Music\\a b.mp3", L"x"}, false, false},
        // A quote left open runs to the end of the line.
        SplitCase{L"x \"C:\\open ended", {L"x", L"C:\\open ended"}, false, false},
        // An empty quoted argument ends the list.
        SplitCase{L"a \"\" b -f", {L"a"}, false, false}, SplitCase{L"-F /m", {}, true, true},
        SplitCase{L"-Fullscreen /maximize", {}, true, true}, SplitCase{L"/f -x -", {}, true, false},
        SplitCase{L"-q song.wav", {L"song.wav"}, false, false}));

TEST(SplitCommandLine, DropsArgumentsTooLongForAPath) {
    std::wstring longPath(259, L'a');
    std::wstring tooLong(260, L'b');
    CommandLine result = SplitCommandLine((longPath + L" " + tooLong + L" c").c_str());
    EXPECT_EQ(result.paths, (PathList{longPath, L"c"}));
}

// Runs with the working folder set to a fresh folder, restored after.
class AbsolutePathTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t previous[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, previous);
        previous_ = previous;
        ASSERT_TRUE(CreateDirectoryW((folder_ / L"音楽").c_str(), nullptr));
        ASSERT_TRUE(SetCurrentDirectoryW((folder_ / L"音楽").c_str()));
    }
    void TearDown() override { SetCurrentDirectoryW(previous_.c_str()); }

    TempFolder folder_;
    std::wstring previous_;
};

TEST_F(AbsolutePathTest, PathsAreMadeAbsoluteAgainstTheWorkingFolder) {
    const std::wstring here = folder_ / L"音楽";
    const std::wstring drive = here.substr(0, 2);
    struct Case {
        std::wstring argument;
        std::wstring expected;
    } cases[] = {
        {L"tone.wav", here + L"\\tone.wav"},
        {L".\\tone.wav", here + L"\\tone.wav"},
        {L"..\\other\\tone.wav", folder_.path() + L"\\other\\tone.wav"},
        {L"sub/tone.wav", here + L"\\sub\\tone.wav"},
        {L"\\top.wav", drive + L"\\top.wav"},
        {L"Z:\\elsewhere\\a.mp3", L"Z:\\elsewhere\\a.mp3"},
        // Too long once absolute: dropped rather than cut.
        {std::wstring(258 - here.size(), L'x'),
         here + L"\\" + std::wstring(258 - here.size(), L'x')},
        {std::wstring(259 - here.size(), L'x'), L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.argument));
        EXPECT_EQ(AbsoluteLongPath(c.argument), c.expected);
    }
}

TEST_F(AbsolutePathTest, AShortNameOfAnExistingFileComesBackLong) {
    const std::wstring file = folder_ / L"音楽\\a rather long file name.wav";
    ASSERT_TRUE(WriteBytes(file, "RIFF"));
    wchar_t shortName[MAX_PATH];
    DWORD length = GetShortPathNameW(file.c_str(), shortName, MAX_PATH);
    ASSERT_GT(length, 0u);
    ASSERT_NE(std::wstring(shortName), file);
    std::wstring relative =
        std::wstring(shortName).substr(std::wstring(shortName).rfind(L'\\') + 1);
    EXPECT_EQ(AbsoluteLongPath(relative), file);
    EXPECT_EQ(
        ReadCommandLine((L"-f \"" + relative + L"\" " + std::wstring(250, L'y') + L" b").c_str())
            .paths,
        (PathList{file, folder_ / L"音楽\\b"}));
}

TEST(SplitCommandLine, RecognisesTheStartByComAsAWholeOption) {
    struct Row {
        const wchar_t* text;
        bool embedding;
        PathList paths;
    };
    const Row rows[] = {
        {L"-Embedding", true, {}},
        {L"/EMBEDDING", true, {}},
        // COM appends its option to a registered command line that may have its own.
        {L"-m -Embedding", true, {}},
        {L"-Embed", false, {}},
        {L"-Embeddings a.wav", false, {L"a.wav"}},
        {L"Embedding", false, {L"Embedding"}},
    };
    for (const Row& row : rows) {
        CommandLine result = SplitCommandLine(row.text);
        EXPECT_EQ(result.embedding, row.embedding) << ToUtf8(row.text);
        EXPECT_EQ(result.paths, row.paths) << ToUtf8(row.text);
        EXPECT_FALSE(result.fullScreen) << ToUtf8(row.text);
    }
}

}  // namespace
