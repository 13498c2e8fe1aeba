// ReadMp3FrameInfo: the frame header parser over a file.
#include <windows.h>

#include "base/handles.h"
#include "media/mp3_header.h"

namespace {

std::size_t ReadAt(HANDLE file, std::uint64_t offset, std::uint8_t* buffer, std::size_t size) {
    OVERLAPPED position = {};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(size), &read, &position)) {
        return 0;
    }
    return read;
}

}  // namespace

bool ReadMp3FrameInfo(const std::wstring& path, Mp3FrameInfo& info) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    info.flags = 0;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
        return false;
    }
    Mp3ByteSource source;
    source.size = static_cast<std::uint64_t>(size.QuadPart);
    HANDLE handle = file.get();
    source.read = [handle](std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
        return ReadAt(handle, offset, buffer, count);
    };
    return ParseMp3FrameInfo(source, info);
}
