// Reads the first MPEG audio frame header of a file (after a leading ID3v2
// tag) and, when the first frame carries a Xing header, its average bit rate.
// The status bar's "%dkbps %dkHz" text is built from the result.
#ifndef ZEPHLO_MEDIA_MP3_HEADER_H
#define ZEPHLO_MEDIA_MP3_HEADER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Bits of Mp3FrameInfo::flags.
enum Mp3FrameFlag : std::int32_t {
    kMp3Protected = 1,  // followed by a CRC (the header's protection bit is 0)
    kMp3Padding = 2,
    kMp3Private = 4,
    kMp3Copyright = 8,
    kMp3Original = 16,
};

struct Mp3FrameInfo {
    std::int32_t version;      // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
    std::int32_t layer;        // 1 Layer III, 2 Layer II, 3 Layer I
    std::int32_t flags;        // Mp3FrameFlag bits
    std::int32_t channelMode;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    std::int32_t channels;     // 1 or 2
    std::int32_t bitRate;      // bit/s; the Xing average when there is one; 0 free format
    std::int32_t sampleRate;   // Hz
    std::int32_t frameLength;  // bytes of the first frame; 0 when the bit rate is unknown
    std::int32_t frameCount;   // from the Xing header, else estimated from the size
};

// Random access to the bytes of a file or of a buffer: copies up to `size`
// bytes from `offset` into `buffer` and returns how many it copied (fewer at
// the end, 0 past it or on a read error).
struct Mp3ByteSource {
    std::function<std::size_t(std::uint64_t offset, std::uint8_t* buffer, std::size_t size)> read;
    std::uint64_t size = 0;
};

// The parser itself: false when no usable header is found before the end.
bool ParseMp3FrameInfo(const Mp3ByteSource& source, Mp3FrameInfo& info);

// A source over bytes in memory (which must outlive it).
Mp3ByteSource MemoryByteSource(const std::uint8_t* bytes, std::size_t size);

// Opens the file for reading (shared read access), parses it and closes it.
// False when the file can't be opened or holds no usable header.
bool ReadMp3FrameInfo(const std::wstring& path, Mp3FrameInfo& info);

#endif
