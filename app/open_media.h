// The one road by which a file becomes the open file, and back; the ways
// paths are handed to the player (command line, second instance, drops), the
// file dialogs, and the title and status texts.
#ifndef ZEPHLO_APP_OPEN_MEDIA_H
#define ZEPHLO_APP_OPEN_MEDIA_H

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string>

#include "base/paths.h"

struct App;

bool OpenMedia(App& app, const std::wstring& path, bool fromPlaylist);
void CloseMedia(App& app);

// The rule every way of handing paths to the player follows: a single
// ordinary file (neither a folder nor a playlist) opens; anything else goes to
// the playlist, which is shown first when hidden. `count` is how many paths
// were handed over together.
bool OpensAsTheFile(const std::wstring& path, DWORD attributes, std::size_t count);
// One of `count` paths handed over; a path that cannot be read is skipped.
// True when it was opened or added.
bool ReceivePath(App& app, const std::wstring& path, std::size_t count);
// Paths handed over together (the command line, a drop), in order. A path
// that cannot be added ends a drop (stopAtFirstFailure) but not a command line.
void ReceivePaths(App& app, const PathList& paths, bool stopAtFirstFailure);
// A path handed over by a second start, one of `count`. Taken at once
// (ReceivePath) unless start-up is still running or a file is being opened (a
// hand-over can arrive while an open waits for its render, which answers
// other threads meanwhile): it then waits its turn, and the paths that waited
// are taken in order as soon as the window is free again. True when it was
// opened or added, or waits its turn.
bool ReceiveHandedOverPath(App& app, const std::wstring& path, std::size_t count);
// Takes the handed-over paths that waited, when the window is free.
void TakeWaitingPaths(App& app);

// The media open dialog; buffer holds kMaxPath characters (empty for a fresh
// dialog) and receives the chosen file.
bool ShowOpenDialog(App& app, HWND owner, wchar_t* buffer, const std::wstring& folder);
// WM_DROPFILES on the main window.
void OnDropFiles(App& app, HDROP drop);
// Commands 170 (open a playlist file), 171 (save the playlist), 173 (add files).
void OpenPlaylistFile(App& app);
void SavePlaylistFile(App& app);
// What commands 170 and 171 do with the file chosen: the playlist replaced
// by the file's entries, or written to it; a failure is reported to the user
// (messages 713 and 714) and returns false.
bool LoadPlaylistFile(App& app, const std::wstring& path);
bool SavePlaylistFile(App& app, const std::wstring& path);
void AddFilesToPlaylist(App& app);

// The open file's path, empty when none is open.
std::wstring OpenFilePath(const App& app);

void UpdateTitle(App& app);
void UpdateStatusTexts(App& app);
// The time pane for a position reported during playback.
void UpdateTimePane(App& app, int position);

#endif
