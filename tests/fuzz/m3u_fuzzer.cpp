// M3U playlist files: the bytes of a file (".m3u" or ".m3u8") decoded and
// parsed against one of a few folders. Besides crashes it checks that every
// entry is an absolute path short enough to open, that decoding keeps each
// line end (a damaged line never swallows the next), and that the entries
// written back in either format read back the same.
#include <algorithm>
#include <string>

#include "fuzz_check.h"
#include "playlist/m3u.h"
#include "win32_shim.h"

namespace {

const wchar_t* const kBases[] = {
    L"C:\\Music\\List",
    L"C:\\",
    L"\\\\server\\share\\music",
    L"D:\\ミュージック\\リスト",
};

std::size_t LineEnds(const std::wstring& text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }));
}

std::size_t LineEnds(const std::string& bytes, std::size_t from) {
    return static_cast<std::size_t>(std::count_if(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                                  bytes.end(),
                                                  [](char c) { return c == '\r' || c == '\n'; }));
}

void CheckEntries(const PathList& entries) {
    for (const std::wstring& path : entries) {
        FUZZ_CHECK(!path.empty());
        FUZZ_CHECK(path.size() < kMaxPath);
        FUZZ_CHECK(path.find_first_of(L"\r\n/") == std::wstring::npos);
        FUZZ_CHECK((path.size() >= 2 && path[1] == L':') || path.compare(0, 2, L"\\\\") == 0);
        FUZZ_CHECK(std::all_of(path.begin(), path.end(), [](wchar_t c) { return c <= 0xFFFF; }));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ShimReset();
    FuzzInput input(data, size);
    const std::uint8_t choice = input.Byte();
    const std::wstring base = kBases[choice % 4];
    const bool utf8Name = (choice & 4) != 0;
    const std::string bytes = input.Rest();
    // A "#" line names a file only when it exists.
    ShimSetFile(std::wstring(kBases[0]) + L"\\#1 song.mp3", "x");

    const std::wstring m3u = DecodeM3UText(bytes);
    const std::wstring m3u8 = DecodeM3U8Text(bytes);
    const bool marked = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    for (const std::wstring* text : {&m3u, &m3u8}) {
        FUZZ_CHECK(text->size() <= bytes.size());
        FUZZ_CHECK(LineEnds(*text) == LineEnds(bytes, marked ? 3 : 0));
    }

    const std::wstring fileName = base + (utf8Name ? L"\\list.M3U8" : L"\\list.m3u");
    const PathList entries = ParseM3UText(utf8Name ? m3u8 : m3u, base);
    CheckEntries(entries);
    ShimSetFile(fileName, bytes);
    PathList read;
    FUZZ_CHECK(ReadPlaylistFile(fileName, read) == !bytes.empty());
    FUZZ_CHECK(read == (bytes.empty() ? PathList{} : entries));

    // Written back, each format reads back the same entries.
    FUZZ_CHECK(ParseM3UText(DecodeM3U8Text(EncodeM3U8(entries)), base) == entries);
    FUZZ_CHECK(ParseM3UText(DecodeM3UText(EncodeM3U(entries)), base) == entries);
    return 0;
}
