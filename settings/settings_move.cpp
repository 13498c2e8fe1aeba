#include "settings/settings_move.h"

#include "base/paths.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

class PlatformFileOperations final : public SettingsFileOperations {
public:
    bool FileExists(const std::wstring& path) override { return ::FileExists(path); }
    bool FolderExists(const std::wstring& path) override { return ::FolderExists(path); }
    bool CreateFolder(const std::wstring& path) override {
        return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
    }
    // Through a new file beside the destination, renamed over it once whole:
    // a copy that fails half-way leaves the destination as it was. The copy
    // of a read-only file would be read-only too, and every later write of
    // the settings would fail.
    bool CopyReplacing(const std::wstring& from, const std::wstring& to) override {
        std::wstring partial = to + L".new";
        bool done = CopyFileW(from.c_str(), partial.c_str(), FALSE) && MakeWritable(partial) &&
                    MoveFileExW(partial.c_str(), to.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!done) {
            SetFileAttributesW(partial.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(partial.c_str());
        }
        return done;
    }
    bool RemoveFile(const std::wstring& path) override {
        return DeleteFileW(path.c_str()) != FALSE;
    }
    bool RemoveFolder(const std::wstring& path) override {
        return RemoveDirectoryW(path.c_str()) != FALSE;
    }

private:
    static bool MakeWritable(const std::wstring& path) {
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return false;
        }
        return (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
               SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
};

}  // namespace

SettingsPlaces CurrentSettingsPlaces() {
    return {PerUserSettingsFolder(), PerUserSettingsPath(), ProgramSettingsPath()};
}

UINT MoveSettingsFile(bool toPerUser, const SettingsPlaces& places, SettingsFileOperations& files,
                      SettingsLocation& location) {
    if (places.perUserFolder.empty()) {
        return IDS_NO_APPDATA_FOLDER;
    }
    const std::wstring& source = toPerUser ? places.programFile : places.perUserFile;
    const std::wstring& destination = toPerUser ? places.perUserFile : places.programFile;
    if (toPerUser && !files.FolderExists(places.perUserFolder) &&
        !files.CreateFolder(places.perUserFolder)) {
        return IDS_CANNOT_MOVE_INI;
    }
    if (files.FileExists(source)) {
        if (!files.CopyReplacing(source, destination)) {
            return IDS_CANNOT_MOVE_INI;
        }
        // The program's folder may be read-only: its copy then stays, and the
        // per-user file, which is looked for first, is the one used.
        if (!files.RemoveFile(source) && !toPerUser) {
            return IDS_CANNOT_MOVE_INI;
        }
    }
    if (!toPerUser && files.FolderExists(places.perUserFolder)) {
        files.RemoveFolder(places.perUserFolder);
    }
    location.path = destination;
    location.perUserSettings = toPerUser;
    return 0;
}

UINT SwitchSettingsLocation(bool toPerUser, SettingsLocation& location) {
    // What the platform may still hold of the file goes to the disk before
    // the file is copied.
    if (FileExists(location.path)) {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, location.path.c_str());
    }
    PlatformFileOperations files;
    return MoveSettingsFile(toPerUser, CurrentSettingsPlaces(), files, location);
}

bool WriteKeepSingleTask(const std::wstring& path, bool keepSingleTask) {
    SettingsFile file(path, L"Settings", SettingsFile::kWrite);
    return file.WriteBoolSetting(L"KeepSingleTask", keepSingleTask);
}
