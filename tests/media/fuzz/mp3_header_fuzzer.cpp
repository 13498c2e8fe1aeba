// libFuzzer entry for the MP3 frame header parser, built natively with clang
// and the address and undefined-behaviour sanitizers (see run_fuzzer.sh).
// Besides crashes and bad reads it checks that every accepted header is
// within the tables, and that a source delivering its bytes in small pieces
// gives the same result as one delivering them at once.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "media/mp3_header.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckPlausible(const Mp3FrameInfo& info) {
    Check(info.version == 0 || info.version == 2 || info.version == 3);
    Check(info.layer >= 1 && info.layer <= 3);
    Check(info.flags >= 0 && info.flags < 32);
    Check(info.channelMode >= 0 && info.channelMode <= 3);
    Check(info.channels == (info.channelMode == 3 ? 1 : 2));
    Check(info.sampleRate >= 8000 && info.sampleRate <= 48000);
    Check(info.bitRate >= 0);
    Check(info.frameLength >= 0 && info.frameLength <= 2881);
    Check(info.frameCount >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Mp3FrameInfo whole = {};
    const bool wholeOk = ParseMp3FrameInfo(MemoryByteSource(data, size), whole);
    if (wholeOk) {
        CheckPlausible(whole);
    }

    // The same bytes, at most a few per read.
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 13;
    Mp3ByteSource pieces;
    pieces.size = size;
    pieces.read = [data, size, piece](std::uint64_t offset, std::uint8_t* buffer,
                                      std::size_t count) -> std::size_t {
        if (offset >= size) {
            return 0;
        }
        std::size_t available = std::min<std::uint64_t>({count, piece, size - offset});
        std::memcpy(buffer, data + offset, available);
        return available;
    };
    Mp3FrameInfo split = {};
    const bool splitOk = ParseMp3FrameInfo(pieces, split);
    Check(splitOk == wholeOk);
    if (wholeOk) {
        Check(std::memcmp(&whole, &split, sizeof whole) == 0);
    }
    return 0;
}
