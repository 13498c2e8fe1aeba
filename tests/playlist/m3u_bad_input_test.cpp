// Malformed and hostile M3U files: the load ends, nothing crashes, and what
// can be read is read.
#include <gtest/gtest.h>

#include <string>

#include "playlist/m3u.h"
#include "playlist_fixture.h"

namespace {

using M3UBadInputTest = PlaylistFixture;

struct BadCase {
    const char* name;
    std::string bytes;
    bool loads;
    int entries;
};

std::string Garbage(std::size_t size) {
    std::string bytes(size, '\0');
    unsigned state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

std::string ManyLines(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += "C:\\m\\" + std::to_string(i) + ".mp3\r\n";
    return bytes;
}

TEST_F(M3UBadInputTest, LoadsWhatCanBeRead) {
    const std::string line259 = "C:\\" + std::string(256, 'a');
    const BadCase cases[] = {
        {"empty", "", false, 0},
        {"no_line_end", "C:\\only.mp3", true, 1},
        {"cr_only", "C:\\a\rC:\\b\r\rC:\\c", true, 3},
        {"lf_only", "C:\\a\nC:\\b\n", true, 2},
        {"single_10MB_line", std::string(10 * 1024 * 1024, 'x') + "\r\nC:\\tail.mp3", true, 1},
        {"lines_259_and_260", line259 + "\r\n" + line259 + "b\r\n", true, 1},
        {"bom_only", "\xEF\xBB\xBF", true, 0},
        {"nul_bytes", std::string("C:\\a\0b.mp3\r\n", 12), true, 1},
        // Checked below: the last case loaded.
        {"invalid_utf8_after_bom", "\xEF\xBB\xBF\xC3\x28\xA0\xA1\r\nC:\\ok.mp3\xFF\r\n", true, 2},
    };
    for (const BadCase& c : cases) {
        playlist.ClearPlaylist();
        std::wstring file = folder / (FromUtf8(c.name) + L".m3u");
        ASSERT_TRUE(WriteBytes(file, c.bytes));
        EXPECT_EQ(playlist.LoadM3U(file), c.loads) << c.name;
        EXPECT_EQ(playlist.Count(), c.entries) << c.name;
    }
    EXPECT_EQ(playlist.EntryPath(1), L"C:\\ok.mp3\uFFFD");
}

TEST_F(M3UBadInputTest, BinaryGarbage) {
    ASSERT_TRUE(WriteBytes(folder / L"garbage.m3u", Garbage(1 << 20)));
    EXPECT_TRUE(playlist.LoadM3U(folder / L"garbage.m3u"));
    for (int i = 0; i < playlist.Count(); ++i) {
        EXPECT_LT(playlist.EntryPath(i).size(), kMaxPath);
    }
}

TEST_F(M3UBadInputTest, GarbageFileUrls) {
    // Random bytes, escapes and escapes cut short after "file:///C:/".
    std::string bytes;
    std::string garbage = Garbage(1 << 18);
    for (std::size_t at = 0; at + 400 < garbage.size(); at += 400) {
        std::string tail = garbage.substr(at, garbage[at] & 0xFF);
        for (char& c : tail) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte & 3) == 0 || c == '\r' || c == '\n') {
                c = '%';
            } else if ((byte & 3) == 1) {
                c = "0123456789abcdEF"[byte >> 4];
            }
        }
        bytes += "file:///C:/" + tail + "\n";
    }
    ASSERT_TRUE(WriteBytes(folder / L"urls.m3u8", bytes));
    EXPECT_TRUE(playlist.LoadM3U(folder / L"urls.m3u8"));
    EXPECT_GT(playlist.Count(), 0);
    for (int i = 0; i < playlist.Count(); ++i) {
        const std::wstring path = playlist.EntryPath(i);
        EXPECT_LT(path.size(), kMaxPath);
        EXPECT_EQ(path.compare(0, 3, L"C:\\"), 0);
        EXPECT_EQ(path.find_first_of(L"\r\n/"), std::wstring::npos);
    }
}

TEST_F(M3UBadInputTest, HundredThousandLines) {
    ASSERT_TRUE(WriteBytes(folder / L"big.m3u", ManyLines(100000)));
    EXPECT_TRUE(playlist.LoadM3U(folder / L"big.m3u"));
    EXPECT_EQ(playlist.Count(), 100000);
    EXPECT_EQ(playlist.EntryPath(99999), L"C:\\m\\99999.mp3");
}

TEST_F(M3UBadInputTest, SelfInclusionIsNotFollowed) {
    ASSERT_TRUE(
        WriteBytes(folder / L"self.m3u", "C:\\a.mp3\r\nself.m3u\r\n.\\SELF.M3U\r\nC:\\b.mp3\r\n"));
    EXPECT_TRUE(playlist.LoadM3U(folder / L"self.m3u"));
    EXPECT_EQ(Paths(), (PathList{L"C:\\a.mp3", L"C:\\b.mp3"}));
}

TEST_F(M3UBadInputTest, MutualInclusionReadsEachFileOncePerChain) {
    ASSERT_TRUE(WriteBytes(folder / L"one.m3u", "C:\\1.mp3\r\ntwo.m3u\r\n"));
    ASSERT_TRUE(WriteBytes(folder / L"two.m3u", "C:\\2.mp3\r\none.m3u\r\nthree.m3u\r\n"));
    ASSERT_TRUE(WriteBytes(folder / L"three.m3u", "C:\\3.mp3\r\none.m3u\r\ntwo.m3u\r\n"));
    EXPECT_TRUE(playlist.LoadM3U(folder / L"one.m3u"));
    EXPECT_EQ(Paths(), (PathList{L"C:\\1.mp3", L"C:\\2.mp3", L"C:\\3.mp3"}));
}

TEST_F(M3UBadInputTest, CyclesThroughOtherSpellingsEnd) {
    // Each level names the same file through one more "sub\.." and so is
    // never textually equal to the ones being loaded.
    CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(folder / L"loop.m3u", "C:\\x.mp3\r\nsub\\..\\loop.m3u\r\n"));
    EXPECT_TRUE(playlist.LoadM3U(folder / L"loop.m3u"));
    // One entry for each of the sixteen levels read.
    EXPECT_EQ(playlist.Count(), 16);
}

// A file past the size limit is refused before anything is read; a sparse
// file makes one without writing it.
TEST_F(M3UBadInputTest, FileOverTheSizeLimitIsRefused) {
    const std::wstring file = folder / L"huge.m3u";
    ASSERT_TRUE(WriteBytes(file, "C:\\a.mp3\r\n"));
    {
        UniqueFile handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(handle);
        LARGE_INTEGER size;
        size.QuadPart = static_cast<LONGLONG>(kMaxM3UFileSize) + 1;
        ASSERT_TRUE(SetFilePointerEx(handle.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(handle.get()));
    }
    std::string bytes = "left alone";
    EXPECT_FALSE(ReadM3UFile(file, bytes));
    EXPECT_FALSE(playlist.LoadM3U(file));
    EXPECT_EQ(playlist.Count(), 0);
}

// Saving reports every file that cannot be made or written, and leaves a
// file it could not replace as it was. (A read-only file is not refused here:
// Wine running as root writes it all the same; one held open by another
// program without sharing is.)
TEST_F(M3UBadInputTest, SaveFailuresAreReported) {
    const std::wstring locked = folder / L"locked.m3u";
    ASSERT_TRUE(WriteBytes(locked, "old"));
    UniqueFile lock(
        CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    ASSERT_TRUE(playlist.AddPath(L"C:\\a.mp3"));
    struct Case {
        std::wstring path;
        bool saved;
    } cases[] = {
        {folder / L"missing\\list.m3u", false},
        {locked, false},
        {folder.path(), false},
        {folder / L"list.m3u8", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(playlist.SaveM3U(c.path), c.saved) << ToUtf8(c.path);
        EXPECT_EQ(WriteM3UFile(c.path, "C:\\b.mp3\r\n"), c.saved) << ToUtf8(c.path);
    }
    lock.reset();
    EXPECT_EQ(ReadBytes(locked), "old");
    EXPECT_EQ(ReadBytes(folder / L"list.m3u8"), "C:\\b.mp3\r\n");
}

}  // namespace
