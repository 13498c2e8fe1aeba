#include "media/mp3_header.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <sstream>
#include <string>

#include "support/test_support.h"

using namespace std::string_literals;

namespace {

// MPEG 1 Layer III, no CRC, 128 kbit/s, 44.1 kHz, stereo.
const std::string kHeader128 = "\xFF\xFB\x90\x00"s;
// The side information of a stereo MPEG 1 Layer III frame precedes a Xing header.
const std::string kSideInfo(32, '\0');

std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string Xing(std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes) {
    return "Xing" + BigEndian(flags) + BigEndian(frames) + BigEndian(bytes);
}

std::string PadTo(std::string bytes, std::size_t size) {
    bytes.resize(size, '\0');
    return bytes;
}

bool Parse(const std::string& bytes, Mp3FrameInfo& info) {
    Mp3ByteSource source =
        MemoryByteSource(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return ParseMp3FrameInfo(source, info);
}

struct HeaderCase {
    const char* name;
    std::string header;
    int version, layer, flags, channelMode, channels, bitRate, sampleRate, frameLength;
    int frameCount;  // of a 4200-byte file holding nothing but this header
};

class Mp3HeaderFields : public testing::TestWithParam<HeaderCase> {};

TEST_P(Mp3HeaderFields, DecodesTheFirstHeader) {
    const HeaderCase& expected = GetParam();
    Mp3FrameInfo info = {};
    ASSERT_TRUE(Parse(PadTo(expected.header, 4200), info));
    EXPECT_EQ(info.version, expected.version);
    EXPECT_EQ(info.layer, expected.layer);
    EXPECT_EQ(info.flags, expected.flags);
    EXPECT_EQ(info.channelMode, expected.channelMode);
    EXPECT_EQ(info.channels, expected.channels);
    EXPECT_EQ(info.bitRate, expected.bitRate);
    EXPECT_EQ(info.sampleRate, expected.sampleRate);
    EXPECT_EQ(info.frameLength, expected.frameLength);
    EXPECT_EQ(info.frameCount, expected.frameCount);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, Mp3HeaderFields,
    testing::Values(
        HeaderCase{"Mpeg1Layer3", kHeader128, 3, 1, 0, 0, 2, 128000, 44100, 417, 10},
        HeaderCase{"Padded", "\xFF\xFB\x92\x00"s, 3, 1, 2, 0, 2, 128000, 44100, 418, 10},
        // CRC, padding, private, single channel, copyright, original.
        HeaderCase{"EveryFlag", "\xFF\xFA\x93\xCC"s, 3, 1, 31, 3, 1, 128000, 44100, 418, 10},
        HeaderCase{"Mpeg2Layer3", "\xFF\xF3\x80\x80"s, 2, 1, 0, 2, 2, 64000, 22050, 208, 20},
        HeaderCase{"Mpeg25Layer3", "\xFF\xE3\x88\x00"s, 0, 1, 0, 0, 2, 64000, 8000, 576, 7},
        HeaderCase{"Mpeg1Layer2", "\xFF\xFD\xE4\x00"s, 3, 2, 0, 0, 2, 384000, 48000, 1152, 3},
        HeaderCase{"Mpeg1Layer1", "\xFF\xFF\xE8\x00"s, 3, 3, 0, 0, 2, 448000, 32000, 672, 6},
        HeaderCase{"FreeFormat", "\xFF\xFB\x00\x00"s, 3, 1, 0, 0, 2, 0, 44100, 0, 0},
        // A padded free-format frame has no known length either.
        HeaderCase{"FreeFormatPadded", "\xFF\xFB\x02\x00"s, 3, 1, 2, 0, 2, 0, 44100, 0, 0}),
    [](const testing::TestParamInfo<HeaderCase>& test) { return std::string(test.param.name); });

struct RejectCase {
    const char* name;
    std::string bytes;
};

class Mp3HeaderRejects : public testing::TestWithParam<RejectCase> {};

TEST_P(Mp3HeaderRejects, ReturnsFalseAndClearsTheFlags) {
    Mp3FrameInfo info = {};
    info.flags = 0x55;
    EXPECT_FALSE(Parse(GetParam().bytes, info));
    EXPECT_EQ(info.flags, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Mp3HeaderRejects,
    testing::Values(RejectCase{"Empty", ""}, RejectCase{"TwoBytes", "\xFF\xFB"s},
                    RejectCase{"ThreeHeaderBytes", "\xFF\xFB\x90"s},
                    RejectCase{"NoSync", std::string(5000, '\x7F')},
                    RejectCase{"SyncOnLastByte", std::string(100, '\0') + "\xFF"s},
                    // A reserved field ends the search even when a good header follows.
                    RejectCase{"ReservedVersion", "\xFF\xEB\x90\x00"s + kHeader128},
                    RejectCase{"ReservedLayer", "\xFF\xF9\x90\x00"s + kHeader128},
                    RejectCase{"ReservedSampleRate", "\xFF\xFB\x9C\x00"s + kHeader128},
                    RejectCase{"TruncatedTagHeader", "ID3\x03\x00"s},
                    RejectCase{"TagPastTheEnd", "ID3\x03\x00\x00\x00\x00\x14\x14"s + kHeader128}),
    [](const testing::TestParamInfo<RejectCase>& test) { return std::string(test.param.name); });

TEST(Mp3Header, SkipsTheId3TagBySevenBitSize) {
    // 00 00 14 14 is 20 << 7 | 20 = 2580 bytes after the 10-byte tag header.
    // The tag holds an MPEG 2 header that must not be taken for the frame.
    std::string tag = "ID3\x04\x00\x00\x00\x00\x14\x14"s + PadTo("\xFF\xF3\x80\x80"s, 2580);
    std::string file = tag + PadTo(kHeader128, 4170);
    Mp3FrameInfo info = {};
    ASSERT_TRUE(Parse(file, info));
    EXPECT_EQ(info.version, 3);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.frameCount, 10);  // 4170 / 417: counted from the header's offset
}

TEST(Mp3Header, TakesTagSizeBytesAsTheyAre) {
    // 00 00 00 80 is 128 bytes: the size bytes are not masked to seven bits.
    std::string tag = "ID3\x03\x00\x00\x00\x00\x00\x80"s + PadTo("\xFF\xF3\x80\x80"s, 128);
    Mp3FrameInfo info = {};
    ASSERT_TRUE(Parse(tag + PadTo(kHeader128, 417), info));
    EXPECT_EQ(info.version, 3);
}

TEST(Mp3Header, FindsTheSyncAfterOtherBytes) {
    Mp3FrameInfo info = {};
    // "IDX" is no tag: the search starts again at the first byte.
    ASSERT_TRUE(Parse("IDX\xFF\x12"s + PadTo(kHeader128, 417), info));
    EXPECT_EQ(info.bitRate, 128000);
    EXPECT_EQ(info.frameCount, 1);
    // The byte after 0xFF starts the header when its top bits are set, even 0xFF itself.
    ASSERT_TRUE(Parse("\x00\xFF\xFF\xE8\x00"s, info));
    EXPECT_EQ(info.layer, 3);
    EXPECT_EQ(info.flags, 0);
}

struct XingCase {
    const char* name;
    std::string afterHeader;
    std::size_t fileSize;
    int bitRate;
    int frameCount;
};

class Mp3XingHeader : public testing::TestWithParam<XingCase> {};

TEST_P(Mp3XingHeader, GivesTheAverageRateAndCount) {
    const XingCase& expected = GetParam();
    std::string file = kHeader128 + expected.afterHeader;
    if (expected.fileSize != 0) {
        file = PadTo(file, expected.fileSize);
    }
    Mp3FrameInfo info = {};
    ASSERT_TRUE(Parse(file, info));
    EXPECT_EQ(info.bitRate, expected.bitRate);
    EXPECT_EQ(info.frameCount, expected.frameCount);
    EXPECT_EQ(info.frameLength, 417);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Mp3XingHeader,
    testing::Values(
        // 1000 frames of 1152 samples at 44.1 kHz last 26.12 s: 417000 * 8 *
        // 44100 / (1000 * 1152). Cut to 26 whole seconds, the time gave 128307.
        XingCase{"FramesAndBytes", kSideInfo + Xing(3, 1000, 417000), 4170, 127706, 1000},
        // 146 frames are 3.81 s: 114 kbit/s, where 3 whole seconds gave 144928.
        XingCase{"ShortFile", kSideInfo + Xing(3, 146, 54348), 4170, 114000, 146},
        XingCase{"FramesOnly", kSideInfo + Xing(1, 1000, 417000), 4170, 128000, 10},
        XingCase{"ZeroFrames", kSideInfo + Xing(3, 0, 417000), 4170, 0, 0},
        XingCase{"CountCutShort", kSideInfo + "Xing" + BigEndian(3) + "\x00\x00"s, 0, 128000, 0},
        XingCase{"ByteCountCutShort", kSideInfo + "Xing" + BigEndian(3) + BigEndian(1000) + "\x00"s,
                 0, 128000, 1000},
        // A mismatching letter may start the tag itself.
        XingCase{"RepeatedLetter", kSideInfo + "XX" + Xing(3, 1000, 417000), 4170, 127706, 1000},
        // The next frame's sync ends the search: its Xing is not the first frame's.
        XingCase{"StraySync", kSideInfo + "\xFF\xE0"s + Xing(3, 1000, 417000), 4170, 128000, 10},
        XingCase{"NextFrame", PadTo(kSideInfo, 413) + kHeader128 + Xing(3, 1000, 417000), 4170,
                 128000, 10},
        // 14.5 hours: frames x 1152 and bytes x 8 x 44100 both pass 32 bits.
        XingCase{"LongFile", kSideInfo + Xing(3, 2000000, 836000000), 4170, 128012, 2000000},
        XingCase{"CraftedRate", kSideInfo + Xing(3, 39, 0xFFFFFFFF), 4170, INT32_MAX, 39}),
    [](const testing::TestParamInfo<XingCase>& test) { return std::string(test.param.name); });

TEST(Mp3Header, FindsXingAcrossReadBlocks) {
    // The header sits so that the tag straddles the reader's 65536-byte blocks.
    std::string file = std::string(65498, '\0') + kHeader128 + kSideInfo + Xing(3, 1000, 417000);
    Mp3FrameInfo info = {};
    ASSERT_TRUE(Parse(file, info));
    EXPECT_EQ(info.bitRate, 127706);
    EXPECT_EQ(info.frameCount, 1000);
}

TEST(Mp3Header, AverageCountsTheVersionsSamplesPerFrame) {
    // MPEG 2 Layer III at 22.05 kHz: 150 frames of 576 samples are 3.92 s.
    Mp3FrameInfo info = {};
    ASSERT_TRUE(Parse(
        PadTo("\xFF\xF3\x80\x80"s + std::string(17, '\0') + Xing(3, 150, 20000), 2080), info));
    EXPECT_EQ(info.bitRate, 40833);
    EXPECT_EQ(info.frameCount, 150);
}

TEST(Mp3HeaderFile, ReadsAFileAndClosesIt) {
    TempFolder folder;
    std::wstring path = folder / L"song.mp3";
    ASSERT_TRUE(WriteBytes(path, PadTo(kHeader128 + kSideInfo + Xing(3, 1000, 417000), 417000)));
    Mp3FrameInfo info = {};
    ASSERT_TRUE(ReadMp3FrameInfo(path, info));
    EXPECT_EQ(info.bitRate, 127706);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.frameCount, 1000);
    EXPECT_TRUE(DeleteFileW(path.c_str())) << "the file was left open";
}

// Variable-bit-rate files of several lengths made by the LAME encoder when
// the test media were generated, beside what ffprobe read from them then.
TEST(Mp3HeaderFile, AverageRateOfEncodedFilesAgreesWithFfprobe) {
    const std::wstring media = BuildFolder() + L"\\test-media\\";
    std::istringstream figures(ReadBytes(media + L"vbr-figures.txt"));
    std::string name;
    std::int64_t ffprobeRate = 0;
    double ffprobeSeconds = 0;
    int files = 0;
    while (figures >> name >> ffprobeRate >> ffprobeSeconds) {
        SCOPED_TRACE(name);
        ++files;
        Mp3FrameInfo info = {};
        ASSERT_TRUE(ReadMp3FrameInfo(media + FromUtf8(name), info));
        // The status pane shows bit/s / 1000. ffprobe rounds its figure to
        // the nearest bit/s where the reader truncates: it may be one more.
        const std::int64_t shown = info.bitRate / 1000;
        EXPECT_TRUE(shown == ffprobeRate / 1000 || shown == (ffprobeRate - 1) / 1000)
            << info.bitRate << " bit/s against " << ffprobeRate;
        const int samplesPerFrame = info.version == 3 ? 1152 : 576;
        const double seconds =
            static_cast<double>(info.frameCount) * samplesPerFrame / info.sampleRate;
        EXPECT_NEAR(seconds, ffprobeSeconds, 2.0 * samplesPerFrame / info.sampleRate);
    }
    EXPECT_EQ(files, 4) << "vbr-figures.txt holds a line for each file";
}

TEST(Mp3HeaderFile, FailsOnMissingAndEmptyFiles) {
    TempFolder folder;
    Mp3FrameInfo info = {};
    EXPECT_FALSE(ReadMp3FrameInfo(folder / L"missing.mp3", info));
    EXPECT_FALSE(ReadMp3FrameInfo(folder.path(), info));
    std::wstring empty = folder / L"empty.mp3";
    ASSERT_TRUE(WriteBytes(empty, ""));
    EXPECT_FALSE(ReadMp3FrameInfo(empty, info));
}

TEST(Mp3HeaderFile, ReadsAFileOthersHaveOpenForReading) {
    TempFolder folder;
    std::wstring path = folder / L"shared.mp3";
    ASSERT_TRUE(WriteBytes(path, PadTo(kHeader128, 4170)));
    HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    Mp3FrameInfo info = {};
    EXPECT_TRUE(ReadMp3FrameInfo(path, info));
    CloseHandle(other);
}

}  // namespace
