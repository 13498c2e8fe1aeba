#include "playlist/m3u.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cwchar>

#include "base/handles.h"

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
// A file URL may be longer than the path it names: percent-encoded, one
// UTF-16 unit of the path takes up to nine characters ("%E3%81%82").
constexpr std::size_t kMaxUrlLine = 16 + 9 * kMaxPath;

// Appends the conversion of the bytes. No code page makes more than one
// UTF-16 unit of a byte, so the text grows by at most `size` units.
void AppendWide(UINT codePage, const char* bytes, std::size_t size, std::wstring& text) {
    if (size == 0 || size > INT_MAX) {
        return;
    }
    std::size_t at = text.size();
    text.resize(at + size);
    int length = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), &text[at],
                                     static_cast<int>(size));
    text.resize(at + static_cast<std::size_t>(std::max(length, 0)));
}

bool IsLineEndByte(char c) {
    return c == '\r' || c == '\n';
}

// Converts each line on its own and keeps the line ends. CR and LF bytes are
// never part of a multi-byte character, in UTF-8 or in an ANSI code page, so
// a lead byte at the end of a damaged line cannot swallow the line end.
std::wstring ConvertLines(UINT codePage, const char* bytes, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    std::size_t at = 0;
    while (at < size) {
        std::size_t start = at;
        while (at < size && !IsLineEndByte(bytes[at])) {
            ++at;
        }
        AppendWide(codePage, bytes + start, at - start, text);
        while (at < size && IsLineEndByte(bytes[at])) {
            text += static_cast<wchar_t>(bytes[at++]);
        }
    }
    return text;
}

// The bytes are valid UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF) and hold at least one multi-byte sequence. Japanese text in code
// page 932 almost never passes: its lead bytes 81-9F are UTF-8 continuation
// bytes, and a whole file must pass.
bool IsUtf8WithMultiByte(const std::string& bytes) {
    bool multiByte = false;
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    while (at < size) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        std::size_t continuation = 0;
        unsigned char low = 0x80;  // the range of the first continuation byte
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (size - at <= continuation) {
            return false;
        }
        for (std::size_t i = 1; i <= continuation; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[at + i]);
            if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) {
                return false;
            }
        }
        multiByte = true;
        at += continuation + 1;
    }
    return multiByte;
}

// Appends the conversion of text; false when a character has no exact form
// in the code page (only asked of the ANSI code page).
bool AppendConverted(UINT codePage, const std::wstring& text, std::string& out) {
    if (text.empty()) {
        return true;
    }
    bool exact = codePage != CP_UTF8;
    DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = exact ? &usedDefault : nullptr;
    int size = WideCharToMultiByte(codePage, flags, text.c_str(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) {
        return false;
    }
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(size));
    WideCharToMultiByte(codePage, flags, text.c_str(), static_cast<int>(text.size()), &out[at],
                        size, nullptr, usedDefaultOut);
    return !usedDefault;
}

bool IsLineEnd(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// text[at...] begins with the lower-case ASCII prefix, letters in any case.
bool HasPrefixAt(const std::wstring& text, std::size_t at, const wchar_t* prefix) {
    std::size_t length = std::wcslen(prefix);
    if (text.size() < at + length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (AsciiLower(text[at + i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The path ends in the lower-case ASCII extension, letters in any case.
bool HasAsciiExtension(const std::wstring& path, const wchar_t* extension) {
    std::size_t length = std::wcslen(extension);
    return path.size() >= length && HasPrefixAt(path, path.size() - length, extension);
}

bool IsM3U8Path(const std::wstring& path) {
    return HasAsciiExtension(path, L".m3u8");
}

// Length of the scheme of a line that begins "scheme://", else 0. A scheme
// has two characters at least, so that a drive letter ("C://") is none.
std::size_t UrlSchemeLength(const std::wstring& line) {
    if (line.empty() || !IsAsciiLetter(line[0])) {
        return 0;
    }
    std::size_t at = 1;
    while (at < line.size() && (IsAsciiLetter(line[at]) || (line[at] >= L'0' && line[at] <= L'9') ||
                                line[at] == L'+' || line[at] == L'-' || line[at] == L'.')) {
        ++at;
    }
    return at >= 2 && line.compare(at, 3, L"://") == 0 ? at : 0;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The text with its "%XX" escapes replaced by the bytes they stand for, read
// as UTF-8 (a malformed sequence becomes U+FFFD).
std::wstring PercentDecoded(const std::wstring& text) {
    std::string bytes;
    AppendConverted(CP_UTF8, text, bytes);
    std::string decoded;
    decoded.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size()) {
            int high = HexValue(bytes[i + 1]);
            int low = HexValue(bytes[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded += static_cast<char>(high << 4 | low);
                i += 2;
                continue;
            }
        }
        decoded += bytes[i];
    }
    std::wstring wide;
    AppendWide(CP_UTF8, decoded.data(), decoded.size(), wide);
    return wide;
}

bool IsDriveAbsolute(const std::wstring& path) {
    return path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
}

bool IsUnc(const std::wstring& path) {
    return path.size() >= 3 && path.compare(0, 2, L"\\\\") == 0 && path[2] != L'\\';
}

// The path that a file URL names, given the text after "file://"; empty when
// it names none that can be opened here. "/C:/a%20b.mp3" and
// "localhost/C:/a%20b.mp3" give "C:\a b.mp3"; "server/share/a.mp3" and
// "//server/share/a.mp3" give "\\server\share\a.mp3".
std::wstring PathOfFileUrl(const std::wstring& rest) {
    std::wstring path;
    if (HasPrefixAt(rest, 0, L"localhost/")) {
        path = PercentDecoded(rest.substr(9));
    } else if (rest.compare(0, 1, L"/") == 0) {
        path = PercentDecoded(rest);
    } else {
        path = L"//" + PercentDecoded(rest);
    }
    std::replace(path.begin(), path.end(), L'/', L'\\');
    // "/C:/" (and the old spelling "/C|/") begins a path with a drive.
    if (path.size() >= 3 && path[0] == L'\\' && IsAsciiLetter(path[1]) &&
        (path[2] == L':' || path[2] == L'|')) {
        path.erase(0, 1);
        path[1] = L':';
    }
    bool control = std::any_of(path.begin(), path.end(), [](wchar_t c) { return c < 0x20; });
    if (control || path.size() >= kMaxPath || !(IsDriveAbsolute(path) || IsUnc(path))) {
        return {};
    }
    return path;
}

// A "#" line holding one of these is a directive ("#EXTINF:123,Title"): no
// file name holds them, so the file system need not be asked (and "*" and
// "?" would be taken as wildcards by the search).
bool HoldsNameInvalidCharacter(const std::wstring& line) {
    return line.find_first_of(L":*?\"<>|") != std::wstring::npos;
}

// The path that a line names, or empty when it names none.
std::wstring PathOfLine(std::wstring line, const std::wstring& base) {
    if (std::size_t scheme = UrlSchemeLength(line)) {
        return scheme == 4 && HasPrefixAt(line, 0, L"file") ? PathOfFileUrl(line.substr(7))
                                                            : std::wstring();
    }
    if (line.size() >= kMaxPath) {
        return {};
    }
    std::replace(line.begin(), line.end(), L'/', L'\\');
    bool driveLetter = line.size() >= 2 && IsCharAlphaW(line[0]) && line[1] == L':';
    bool unc = line.compare(0, 2, L"\\\\") == 0;
    if (driveLetter || unc) {
        return line;
    }
    if (base.size() + line.size() + 1 >= kMaxPath) {
        return {};
    }
    std::wstring path = PathResolveRelative(base, line);
    if (line[0] == L'#' && (HoldsNameInvalidCharacter(line) || !FileExists(path))) {
        return {};
    }
    return path;
}

}  // namespace

bool IsPlaylistPath(const std::wstring& path) {
    return HasAsciiExtension(path, L".m3u") || IsM3U8Path(path);
}

std::wstring DecodeM3UText(const std::string& bytes) {
    if (bytes.compare(0, 3, kUtf8Bom) == 0) {
        return ConvertLines(CP_UTF8, bytes.data() + 3, bytes.size() - 3);
    }
    return ConvertLines(IsUtf8WithMultiByte(bytes) ? CP_UTF8 : CP_ACP, bytes.data(), bytes.size());
}

std::wstring DecodeM3U8Text(const std::string& bytes) {
    std::size_t mark = bytes.compare(0, 3, kUtf8Bom) == 0 ? 3 : 0;
    return ConvertLines(CP_UTF8, bytes.data() + mark, bytes.size() - mark);
}

std::wstring DecodePlaylistText(const std::wstring& fileName, const std::string& bytes) {
    return IsM3U8Path(fileName) ? DecodeM3U8Text(bytes) : DecodeM3UText(bytes);
}

PathList ParseM3UText(const std::wstring& text, const std::wstring& base) {
    PathList paths;
    std::size_t at = 0;
    const std::size_t end = text.size();
    while (at < end) {
        while (at < end && IsLineEnd(text[at])) {
            ++at;
        }
        std::size_t start = at;
        while (at < end && !IsLineEnd(text[at])) {
            ++at;
        }
        std::size_t length = at - start;
        if (length == 0 || length >= kMaxUrlLine) {
            continue;
        }
        std::wstring path = PathOfLine(text.substr(start, length), base);
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

std::string EncodeM3U(const PathList& paths) {
    std::string bytes;
    bool ansi = GetACP() != CP_UTF8;
    if (ansi) {
        for (const std::wstring& path : paths) {
            if (!AppendConverted(CP_ACP, path, bytes)) {
                ansi = false;
                break;
            }
            bytes += "\r\n";
        }
        // Bytes that would be read back as UTF-8 (half-width katakana before a
        // double-byte character can look so, "ﾃｨ" as C3 A8) go as UTF-8 with a
        // byte-order mark, which reads back exactly.
        ansi = ansi && !IsUtf8WithMultiByte(bytes);
    }
    if (!ansi) {
        bytes.assign(GetACP() == CP_UTF8 ? "" : kUtf8Bom);
        for (const std::wstring& path : paths) {
            AppendConverted(CP_UTF8, path, bytes);
            bytes += "\r\n";
        }
    }
    return bytes;
}

std::string EncodeM3U8(const PathList& paths) {
    std::string bytes = "#EXTM3U\r\n";
    for (const std::wstring& path : paths) {
        AppendConverted(CP_UTF8, path, bytes);
        bytes += "\r\n";
    }
    return bytes;
}

std::string EncodePlaylist(const std::wstring& fileName, const PathList& paths) {
    return IsM3U8Path(fileName) ? EncodeM3U8(paths) : EncodeM3U(paths);
}

bool ReadM3UFile(const std::wstring& path, std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > kMaxM3UFileSize) {
        return false;
    }
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        bytes.clear();
        return false;
    }
    return true;
}

bool WriteM3UFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool ReadPlaylistFile(const std::wstring& path, PathList& entries) {
    std::wstring text;
    {
        std::string bytes;
        if (!ReadM3UFile(path, bytes)) {
            return false;
        }
        text = DecodePlaylistText(path, bytes);
    }
    entries = ParseM3UText(text, PathFolder(path));
    return true;
}
