// M3U playlist files: one path per line, read whole and written whole.
#ifndef ZEPHLO_PLAYLIST_M3U_H
#define ZEPHLO_PLAYLIST_M3U_H

#include <string>

#include "base/paths.h"

// Files larger than this are refused rather than read into memory.
constexpr unsigned long long kMaxM3UFileSize = 128ULL * 1024 * 1024;

// Text of the file's bytes: UTF-8 when they start with the UTF-8 byte-order
// mark (invalid sequences become U+FFFD), else the system's ANSI code page.
std::wstring DecodeM3UText(const std::string& bytes);

// The entries of an M3U text, in order. Lines are separated by any run of CR
// and LF; lines of kMaxPath characters or more are skipped; a line with a
// drive letter or a leading "\\" is taken unchanged, any other line is
// resolved against base (the M3U file's folder) and skipped when the result
// would not fit kMaxPath. No line is a comment.
PathList ParseM3UText(const std::wstring& text, const std::wstring& base);

// The bytes written for these paths, each followed by CR LF. The ANSI code
// page is used when every path converts to it exactly; otherwise the whole
// file is UTF-8 with a byte-order mark, so that no character is lost.
std::string EncodeM3U(const PathList& paths);

// Reads the whole file; false when it cannot be opened or read, is empty or
// is larger than kMaxM3UFileSize.
bool ReadM3UFile(const std::wstring& path, std::string& bytes);
// Creates or replaces the file with the bytes; false on any failed or short write.
bool WriteM3UFile(const std::wstring& path, const std::string& bytes);

#endif
