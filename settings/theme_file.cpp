#include "settings/theme_file.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "base/handles.h"
#include "base/paths.h"
#include "settings/settings_file.h"

namespace {

constexpr wchar_t kColourSection[] = L"ColorScheme";
constexpr wchar_t kPluginSection[] = L"Plugin";
constexpr wchar_t kPluginKey[] = L"File";
constexpr wchar_t kBuiltInPluginName[] = L"default";
// Read buffers, with the terminator.
constexpr std::size_t kColourTextSize = 32;
constexpr std::size_t kPluginNameSize = 260;

// The bytes of `text` in the system code page; false when it cannot hold
// every character (some would come back as "?" or as a look-alike).
bool ToAnsi(const std::wstring& text, std::string& bytes) {
    if (text.empty()) {
        bytes.clear();
        return true;
    }
    const int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return false;
    }
    bytes.assign(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    int back = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (back != length) {
        return false;
    }
    std::wstring again(static_cast<std::size_t>(back), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, again.data(), back);
    return again == text;
}

std::string ToUtf16WithMark(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

bool IsPluginItem(int item, const std::vector<std::wstring>& pluginFiles) {
    return item >= kBuiltInPluginItem && item <= static_cast<int>(pluginFiles.size());
}

int PluginItemNamed(const wchar_t* name, const std::vector<std::wstring>& pluginFiles) {
    if (lstrcmpiW(name, kBuiltInPluginName) == 0) {
        return kBuiltInPluginItem;
    }
    for (std::size_t i = 0; i < pluginFiles.size(); ++i) {
        if (lstrcmpiW(name, pluginFiles[i].c_str()) == 0) {
            return static_cast<int>(i) + 1;
        }
    }
    return kBuiltInPluginItem;
}

}  // namespace

std::wstring FormatThemeFile(const ThemeScheme& scheme,
                             const std::vector<std::wstring>& pluginFiles) {
    std::wstring text = L"[ColorScheme]\r\n";
    for (int entry = 0; entry < kColourEntryCount; ++entry) {
        text += ColourEntryName(entry);
        text += L'=';
        text += FormatColourText(scheme.colours[entry]);
        text += L"\r\n";
    }
    if (IsPluginItem(scheme.pluginItem, pluginFiles)) {
        text += L"\r\n[Plugin]\r\nFile=";
        text += scheme.pluginItem == kBuiltInPluginItem
                    ? std::wstring(kBuiltInPluginName)
                    : pluginFiles[static_cast<std::size_t>(scheme.pluginItem) - 1];
        text += L"\r\n";
    }
    return text;
}

std::string EncodeThemeText(const std::wstring& text) {
    std::string bytes;
    return ToAnsi(text, bytes) ? bytes : ToUtf16WithMark(text);
}

bool WriteThemeFile(const std::wstring& path, const ThemeScheme& scheme,
                    const std::vector<std::wstring>& pluginFiles) {
    const std::string bytes = EncodeThemeText(FormatThemeFile(scheme, pluginFiles));
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

void ReadThemeFile(const std::wstring& path, ThemeScheme& scheme,
                   const std::vector<std::wstring>& pluginFiles) {
    const SettingsFile colours(path, kColourSection, SettingsFile::kRead);
    for (int entry = 0; entry < kColourEntryCount; ++entry) {
        wchar_t text[kColourTextSize];
        if (colours.ReadString(ColourEntryName(entry), text, kColourTextSize) && text[0] != L'\0') {
            ParseColourText(text, scheme.colours[entry]);
        } else if (entry == kPlaylistPlayingText || entry == kPlaylistPlayedText) {
            scheme.colours[entry] = scheme.colours[kPlaylistText];
        } else if (entry == kPlaylistPlayingSelText) {
            scheme.colours[entry] = scheme.colours[kPlaylistSelText];
        }
    }
    const SettingsFile plugin(path, kPluginSection, SettingsFile::kRead);
    wchar_t name[kPluginNameSize];
    if (plugin.ReadString(kPluginKey, name, kPluginNameSize) && name[0] != L'\0') {
        scheme.pluginItem = PluginItemNamed(name, pluginFiles);
    }
}

std::vector<std::wstring> ListThemeFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    const std::wstring pattern = PathJoin(folder, L"*.zptheme");
    if (pattern.size() >= kMaxPath) {
        return names;
    }
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find) {
        return names;
    }
    const std::size_t extensionLength = std::size(kThemeFileExtension) - 1;
    do {
        // The system also matches short names: "x.zpthemex" may answer.
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            PathJoin(folder, name).size() < kMaxPath && HasExtension(name, kThemeFileExtension)) {
            names.push_back(name.substr(0, name.size() - extensionLength));
        }
    } while (FindNextFileW(find.get(), &data));
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return lstrcmpiW(a.c_str(), b.c_str()) < 0;
    });
    return names;
}
