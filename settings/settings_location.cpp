#include "settings/settings.h"

#include <windows.h>
#include <shlobj.h>

#include "base/text.h"
#include "base/paths.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kFileName[] = L"Zephlo.ini";

}  // namespace

std::wstring PerUserSettingsFolder() {
    wchar_t folder[MAX_PATH] = L"";
    // By path, not by item list: building the item list reads the folder
    // descriptions along the way, several times slower at start-up.
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) ||
        folder[0] == L'\0') {
        return {};
    }
    std::wstring result = PathJoin(folder, L"Zephlo");
    return result.size() < kMaxPath ? result : std::wstring();
}

std::wstring PerUserSettingsPath() {
    std::wstring folder = PerUserSettingsFolder();
    return folder.empty() ? folder : PathJoin(folder, kFileName);
}

std::wstring ProgramSettingsPath() {
    return PathJoin(ProgramFolder(), kFileName);
}

void EnsurePerUserSettingsFolder() {
    std::wstring folder = PerUserSettingsFolder();
    if (!folder.empty() && !FolderExists(folder)) {
        CreateDirectoryW(folder.c_str(), nullptr);
    }
}

bool SettingsFileExists(const std::wstring& path) {
    return FileExists(path);
}

bool LocateSettingsFile(SettingsLocation& location) {
    std::wstring perUser = PerUserSettingsPath();
    std::wstring shared = ProgramSettingsPath();
    if (perUser.empty()) {
        location = {shared, false};
        return true;
    }
    if (FileExists(perUser)) {
        location = {perUser, true};
        return true;
    }
    if (FileExists(shared)) {
        location = {shared, false};
        return true;
    }
    std::wstring question = LoadText(IDS_ASK_PER_USER);
    std::wstring caption = LoadText(IDS_ASK_PER_USER_CAPTION);
    if (question.empty() || caption.empty()) {
        return false;
    }
    switch (MessageBoxW(nullptr, question.c_str(), caption.c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)) {
        case IDYES:
            location = {perUser, true};
            return true;
        case IDNO:
            location = {shared, false};
            return true;
        default:
            return false;
    }
}
