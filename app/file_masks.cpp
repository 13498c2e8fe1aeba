#include "app/file_masks.h"

#include <windows.h>

namespace {

// Playlist and redirection files, which the player opens differently.
constexpr const wchar_t* kSkippedExtensions[] = {L"asx", L"m3u", L"m3u8", L"wax",
                                                 L"wpl", L"wvx", L"wmx"};

// The profile function's buffer, in characters.
constexpr DWORD kExtensionListSize = 1024;

bool IsSkipped(const std::wstring& name) {
    for (const wchar_t* skipped : kSkippedExtensions) {
        if (name == skipped) {
            return true;
        }
    }
    return false;
}

}  // namespace

const wchar_t kBuiltInFileMasks[] =
    L"*.aif;*.aifc;*.aiff;*.au;*.snd;*.avi;*.mid;*.midi;*.rmi;*.mp2;*.mpa;*.mp3;*.mpg;*.mpe;"
    L"*.mpeg;*.wav;*.wma;*.wmv";

std::vector<std::wstring> SplitNameList(const wchar_t* list, std::size_t length) {
    std::vector<std::wstring> names;
    std::size_t at = 0;
    while (at < length && list[at] != L'\0') {
        std::size_t end = at;
        while (end < length && list[end] != L'\0') {
            ++end;
        }
        names.emplace_back(list + at, end - at);
        at = end + 1;
    }
    return names;
}

std::wstring FileMasksFromExtensions(const std::vector<std::wstring>& names) {
    if (names.empty()) {
        return kBuiltInFileMasks;
    }
    std::wstring masks;
    for (std::wstring name : names) {
        if (!name.empty()) {
            CharLowerBuffW(&name[0], static_cast<DWORD>(name.size()));
        }
        if (IsSkipped(name)) {
            continue;
        }
        if (masks.size() + name.size() + 3 > kFileMasksSize) {
            break;
        }
        masks += L"*.";
        masks += name;
        masks += L';';
    }
    if (!masks.empty()) {
        masks.pop_back();
    }
    return masks;
}

std::wstring BuildDefaultFileMasks() {
    wchar_t list[kExtensionListSize] = {};
    DWORD length = GetProfileStringW(L"mci extensions", nullptr, L"", list, kExtensionListSize);
    return FileMasksFromExtensions(SplitNameList(list, length));
}
