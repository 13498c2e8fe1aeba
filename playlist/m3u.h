// M3U playlist files: one path per line, read whole and written whole. Files
// named ".m3u8" are UTF-8; ".m3u" files are in the ANSI code page unless they
// show themselves to be UTF-8.
#ifndef ZEPHLO_PLAYLIST_M3U_H
#define ZEPHLO_PLAYLIST_M3U_H

#include <string>

#include "base/paths.h"

// Files larger than this are refused rather than read into memory.
constexpr unsigned long long kMaxM3UFileSize = 128ULL * 1024 * 1024;

// The path names a playlist file: ".m3u" or ".m3u8" in any letter case.
bool IsPlaylistPath(const std::wstring& path);

// Text of an ".m3u" file's bytes: UTF-8 when they start with the UTF-8
// byte-order mark (invalid sequences become U+FFFD) or when they are valid
// UTF-8 holding at least one multi-byte sequence; else the system's ANSI code
// page. Each line is converted on its own, so a damaged line never takes the
// next one with it.
std::wstring DecodeM3UText(const std::string& bytes);
// Text of an ".m3u8" file's bytes: UTF-8, a leading byte-order mark dropped.
std::wstring DecodeM3U8Text(const std::string& bytes);
// The bytes of the named file decoded by the rule its extension selects.
std::wstring DecodePlaylistText(const std::wstring& fileName, const std::string& bytes);

// The entries of an M3U text, in order. Lines are separated by any run of CR
// and LF. A line is
// - skipped when it begins with "#" (a directive such as "#EXTINF:" or a
//   comment), unless it names a file that exists relative to base;
// - a file URL ("file:///C:/a%20b.mp3", percent-encoded UTF-8), taken as the
//   path it names; any other URL ("scheme://") is skipped;
// - otherwise a path, "/" read as "\": a line with a drive letter or a
//   leading "\\" is taken unchanged, any other line is resolved against base
//   (the M3U file's folder) and skipped when the result would not fit kMaxPath.
// Paths of kMaxPath characters or more are skipped, and so are lines of that
// length other than file URLs.
PathList ParseM3UText(const std::wstring& text, const std::wstring& base);

// The bytes written to an ".m3u" file for these paths, each followed by CR
// LF. The ANSI code page is used when every path converts to it exactly;
// otherwise the whole file is UTF-8 with a byte-order mark, so that no
// character is lost.
std::string EncodeM3U(const PathList& paths);
// The bytes written to an ".m3u8" file: "#EXTM3U", then the paths, in UTF-8
// without a byte-order mark, each line followed by CR LF.
std::string EncodeM3U8(const PathList& paths);
// The bytes for a file of this name: ".m3u8" (any letter case) as EncodeM3U8,
// any other name as EncodeM3U.
std::string EncodePlaylist(const std::wstring& fileName, const PathList& paths);

// Reads the whole file; false when it cannot be opened or read, is empty or
// is larger than kMaxM3UFileSize.
bool ReadM3UFile(const std::wstring& path, std::string& bytes);
// Creates or replaces the file with the bytes; false on any failed or short write.
bool WriteM3UFile(const std::wstring& path, const std::string& bytes);

// Reads the playlist file, decodes it by its name and parses it against its
// folder; false when ReadM3UFile fails.
bool ReadPlaylistFile(const std::wstring& path, PathList& entries);

#endif
