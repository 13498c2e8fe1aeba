// The one road by which a file becomes the open file, and back; the file
// dialogs, drops onto the main window, and the title and status texts.
#ifndef ZEPHLO_APP_OPEN_MEDIA_H
#define ZEPHLO_APP_OPEN_MEDIA_H

#include <windows.h>
#include <shellapi.h>

#include <string>

bool OpenMedia(const std::wstring& path, bool fromPlaylist);
void CloseMedia();
// The media open dialog; buffer holds kMaxPath characters (empty for a fresh
// dialog) and receives the chosen file.
bool ShowOpenDialog(HWND owner, wchar_t* buffer, const std::wstring& folder);
// WM_DROPFILES on the main window.
void OnDropFiles(HWND window, HDROP drop);
// Commands 170 (open a playlist file), 171 (save the playlist), 173 (add files).
void OpenPlaylistFile();
void SavePlaylistFile();
void AddFilesToPlaylist();

// The open file's path, empty when none is open.
std::wstring OpenFilePath();

void UpdateTitle();
void UpdateStatusTexts();
// The time pane for a position reported during playback.
void UpdateTimePane(int position);

#endif
