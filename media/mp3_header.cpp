// The frame header parser. It knows nothing of files or of the platform, so
// it is also built natively for fuzzing.
#include "media/mp3_header.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

// Bit rates in kbit/s by version group (MPEG 1, MPEG 2 and 2.5), layer field
// (1 Layer III, 2 Layer II, 3 Layer I) and bit-rate index; index 0 is the
// free format and 15 is forbidden.
constexpr std::int32_t kBitRates[2][4][16] = {
    {
        {},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    },
    {
        {},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    },
};

// Sample rates by version field (0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1).
constexpr std::int32_t kSampleRates[4][3] = {
    {11025, 12000, 8000},
    {0, 0, 0},
    {22050, 24000, 16000},
    {44100, 48000, 32000},
};

constexpr int kVersionMpeg1 = 3;
constexpr int kVersionReserved = 1;
constexpr int kLayerReserved = 0;
constexpr int kLayer3 = 1;
constexpr int kLayer1 = 3;

std::int32_t SamplesPerFrame(int version, int layer) {
    if (layer == kLayer1) {
        return 384;
    }
    if (layer == kLayer3 && version != kVersionMpeg1) {
        return 576;
    }
    return 1152;
}

bool IsFrameSync(std::uint8_t first, std::uint8_t second) {
    return first == 0xFF && (second & 0xE0) == 0xE0;
}

std::int32_t ClampToInt32(std::uint64_t value) {
    return static_cast<std::int32_t>(std::min<std::uint64_t>(value, INT32_MAX));
}

// Reads a source forward through a buffer, so that the byte-by-byte searches
// cost one source read per block.
class Cursor {
public:
    explicit Cursor(const Mp3ByteSource& source) : source_(source), buffer_(kBlockSize) {}

    bool Next(std::uint8_t& byte) {
        if (next_ == end_ && !Refill()) {
            return false;
        }
        byte = buffer_[next_++];
        return true;
    }

    // Big-endian 32-bit value; false when fewer than four bytes are left.
    bool NextBigEndian32(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t byte;
            if (!Next(byte)) {
                return false;
            }
            value = value << 8 | byte;
        }
        return true;
    }

    std::uint64_t Position() const { return blockStart_ + next_; }
    // Moving past the end is allowed: the next read then fails.
    void Skip(std::uint32_t count) { MoveTo(Position() + count); }
    void Rewind() { MoveTo(0); }

private:
    // Large blocks: the search may read a whole file that holds no frame.
    static constexpr std::size_t kBlockSize = 65536;

    void MoveTo(std::uint64_t position) {
        if (position >= blockStart_ && position - blockStart_ <= end_) {
            next_ = static_cast<std::size_t>(position - blockStart_);
        } else {
            blockStart_ = position;
            next_ = end_ = 0;
        }
    }

    bool Refill() {
        blockStart_ += end_;
        next_ = end_ = 0;
        std::size_t got = source_.read ? source_.read(blockStart_, buffer_.data(), kBlockSize) : 0;
        end_ = std::min(got, kBlockSize);
        return end_ != 0;
    }

    const Mp3ByteSource& source_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t blockStart_ = 0;  // file offset of buffer_[0]
    std::size_t next_ = 0;          // the next byte in buffer_
    std::size_t end_ = 0;           // the bytes held in buffer_
};

// Skips a leading ID3v2 tag. Its size has seven bits per byte; the bytes are
// taken as they are, so a malformed tag moves the position further.
bool SkipId3Tag(Cursor& cursor) {
    std::uint8_t magic[3];
    for (std::uint8_t& byte : magic) {
        if (!cursor.Next(byte)) {
            return false;
        }
    }
    if (magic[0] != 'I' || magic[1] != 'D' || magic[2] != '3') {
        cursor.Rewind();
        return true;
    }
    std::uint8_t header[7];
    for (std::uint8_t& byte : header) {
        if (!cursor.Next(byte)) {
            return false;
        }
    }
    std::uint32_t size = 0;
    for (int i = 3; i < 7; ++i) {
        size = size << 7 | header[i];
    }
    cursor.Skip(size);
    return true;
}

// Finds 0xFF followed by a byte whose top three bits are set and returns that
// second byte. A byte that follows 0xFF without completing the sync is not
// looked at again.
bool FindFrameSync(Cursor& cursor, std::uint8_t& second) {
    for (;;) {
        std::uint8_t byte;
        if (!cursor.Next(byte)) {
            return false;
        }
        if (byte != 0xFF) {
            continue;
        }
        if (!cursor.Next(second)) {
            return false;
        }
        if (IsFrameSync(byte, second)) {
            return true;
        }
    }
}

// Searches the rest of the first frame for a Xing header, stopping at the
// next frame's sync. Fills frames and bytes only when both fields are present;
// `bytesPresent` tells whether the byte count could be read.
bool FindXingCounts(Cursor& cursor, std::uint32_t& frames, std::uint32_t& bytes,
                    bool& bytesPresent) {
    static constexpr std::uint8_t kTag[4] = {'X', 'i', 'n', 'g'};
    std::size_t matched = 0;
    std::uint8_t previous = 0;
    for (;;) {
        std::uint8_t byte;
        if (!cursor.Next(byte)) {
            return false;
        }
        if (IsFrameSync(previous, byte)) {
            return false;
        }
        previous = byte;
        if (byte == kTag[matched]) {
            if (++matched == sizeof kTag) {
                break;
            }
        } else {
            matched = byte == kTag[0] ? 1 : 0;
        }
    }
    std::uint32_t xingFlags;
    if (!cursor.NextBigEndian32(xingFlags) || (xingFlags & 3) != 3) {
        return false;
    }
    if (!cursor.NextBigEndian32(frames)) {
        return false;
    }
    bytesPresent = cursor.NextBigEndian32(bytes);
    return true;
}

}  // namespace

bool ParseMp3FrameInfo(const Mp3ByteSource& source, Mp3FrameInfo& info) {
    info.flags = 0;
    Cursor cursor(source);
    if (!SkipId3Tag(cursor)) {
        return false;
    }
    std::uint8_t second;
    if (!FindFrameSync(cursor, second)) {
        return false;
    }
    const int version = (second >> 3) & 3;
    const int layer = (second >> 1) & 3;
    if (version == kVersionReserved || layer == kLayerReserved) {
        return false;
    }
    const std::uint64_t headerOffset = cursor.Position() - 2;
    std::int32_t flags = (second & 1) == 0 ? kMp3Protected : 0;

    std::uint8_t third;
    std::uint8_t fourth;
    if (!cursor.Next(third) || !cursor.Next(fourth)) {
        return false;
    }
    const int sampleRateIndex = (third >> 2) & 3;
    if (sampleRateIndex == 3) {
        return false;
    }
    const int group = version == kVersionMpeg1 ? 0 : 1;
    std::int32_t bitRate = kBitRates[group][layer][third >> 4] * 1000;
    const std::int32_t sampleRate = kSampleRates[version][sampleRateIndex];
    const int padding = (third >> 1) & 1;
    flags |= padding != 0 ? kMp3Padding : 0;
    flags |= (third & 1) != 0 ? kMp3Private : 0;
    const int channelMode = fourth >> 6;
    flags |= (fourth & 8) != 0 ? kMp3Copyright : 0;
    flags |= (fourth & 4) != 0 ? kMp3Original : 0;

    const std::int32_t samples = SamplesPerFrame(version, layer);
    // A free-format (or forbidden) rate leaves the frame's length unknown:
    // the padding byte alone is not a length.
    std::int32_t frameLength = 0;
    if (bitRate != 0) {
        frameLength = static_cast<std::int32_t>(
            static_cast<std::int64_t>(samples / 8) * bitRate / sampleRate + padding);
    }
    std::int32_t frameCount = 0;
    if (frameLength != 0 && source.size > headerOffset) {
        frameCount = ClampToInt32((source.size - headerOffset) / frameLength);
    }

    std::uint32_t xingFrames = 0;
    std::uint32_t xingBytes = 0;
    bool bytesPresent = false;
    if (FindXingCounts(cursor, xingFrames, xingBytes, bytesPresent)) {
        frameCount = ClampToInt32(xingFrames);
        if (bytesPresent) {
            // Bytes over the exact playing time: time cut to whole seconds
            // overstated short files' rates (3.8 s taken for 3 s). 64 bits:
            // bytes x 8 x sample rate passes 32 bits past a few kilobytes.
            const std::uint64_t totalSamples = static_cast<std::uint64_t>(xingFrames) * samples;
            bitRate = totalSamples == 0 ? 0
                                        : ClampToInt32(static_cast<std::uint64_t>(xingBytes) * 8 *
                                                       sampleRate / totalSamples);
        }
    }

    info.version = version;
    info.layer = layer;
    info.flags = flags;
    info.channelMode = channelMode;
    info.channels = channelMode == 3 ? 1 : 2;
    info.bitRate = bitRate;
    info.sampleRate = sampleRate;
    info.frameLength = frameLength;
    info.frameCount = frameCount;
    return true;
}

Mp3ByteSource MemoryByteSource(const std::uint8_t* bytes, std::size_t size) {
    Mp3ByteSource source;
    source.size = size;
    source.read = [bytes, size](std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
        if (offset >= size) {
            return std::size_t{0};
        }
        std::size_t available = std::min<std::uint64_t>(count, size - offset);
        std::memcpy(buffer, bytes + offset, available);
        return available;
    };
    return source;
}
