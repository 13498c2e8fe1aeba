// Moving the settings file between the program's folder (shared by all
// users) and the per-user folder, and the one key written while the program
// runs.
#ifndef ZEPHLO_SETTINGS_SETTINGS_MOVE_H
#define ZEPHLO_SETTINGS_SETTINGS_MOVE_H

#include <windows.h>

#include <string>

struct SettingsLocation;

// The file operations a move needs: the platform's in the program, a test's own.
class SettingsFileOperations {
public:
    virtual ~SettingsFileOperations() = default;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool FolderExists(const std::wstring& path) = 0;
    virtual bool CreateFolder(const std::wstring& path) = 0;
    // Puts a writable copy of `from` at `to`, replacing what is there; on
    // failure `to` is as it was.
    virtual bool CopyReplacing(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
    // Removes a folder; fails when it is not empty.
    virtual bool RemoveFolder(const std::wstring& path) = 0;
};

// The two places the settings can live. An empty per-user folder means the
// application-data folder could not be had.
struct SettingsPlaces {
    std::wstring perUserFolder;
    std::wstring perUserFile;
    std::wstring programFile;
};

// The places of this program on this machine.
SettingsPlaces CurrentSettingsPlaces();

// Moves the settings to the per-user folder (toPerUser) or beside the program
// and points `location` at the new file. Returns 0, or the message to show
// when the move stopped: IDS_NO_APPDATA_FOLDER (nothing was done) or
// IDS_CANNOT_MOVE_INI (the location stays as it was).
UINT MoveSettingsFile(bool toPerUser, const SettingsPlaces& places, SettingsFileOperations& files,
                      SettingsLocation& location);

// The same with this machine's places and file operations.
UINT SwitchSettingsLocation(bool toPerUser, SettingsLocation& location);

// Writes "KeepSingleTask" alone to [Settings] and flushes the file, so that a
// program started later sees it at once.
bool WriteKeepSingleTask(const std::wstring& path, bool keepSingleTask);

#endif
