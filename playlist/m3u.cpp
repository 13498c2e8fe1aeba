#include "playlist/m3u.h"

#include <windows.h>

#include <climits>

#include "base/handles.h"

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

std::wstring ConvertToWide(UINT codePage, const char* bytes, std::size_t size) {
    std::wstring text;
    if (size == 0 || size > INT_MAX) {
        return text;
    }
    int length = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    if (length <= 0) {
        return text;
    }
    text.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), &text[0], length);
    return text;
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

}  // namespace

std::wstring DecodeM3UText(const std::string& bytes) {
    if (bytes.compare(0, 3, kUtf8Bom) == 0) {
        return ConvertToWide(CP_UTF8, bytes.data() + 3, bytes.size() - 3);
    }
    return ConvertToWide(CP_ACP, bytes.data(), bytes.size());
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
        if (length == 0 || length >= kMaxPath) {
            continue;
        }
        std::wstring line = text.substr(start, length);
        bool driveLetter = length >= 2 && IsCharAlphaW(line[0]) && line[1] == L':';
        bool unc = line.compare(0, 2, L"\\\\") == 0;
        if (driveLetter || unc) {
            paths.push_back(std::move(line));
        } else if (base.size() + length + 1 < kMaxPath) {
            paths.push_back(PathResolveRelative(base, line));
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
