// The recursive file search used to add folders to the playlist and to list
// theme files and plug-ins.
#ifndef ZEPHLO_FILES_COLLECT_FILES_H
#define ZEPHLO_FILES_COLLECT_FILES_H

#include <string>
#include <vector>

#include "base/paths.h"

// The masks of a ";"-separated list, in the order written; empty masks are kept.
std::vector<std::wstring> SplitFileMasks(const std::wstring& masks);

// Appends to list the full path of every file of folder that one of the masks
// matches. The paths this call appends are sorted by lstrcmpiW and a path that
// equals the one before it is dropped, so overlapping masks give each file once.
// With recurse the subfolders follow, sorted by lstrcmpiW, each searched the
// same way (depth first). Paths longer than kMaxPath - 1 characters are skipped.
// False only when memory ran out; what was appended until then stays.
bool CollectFiles(const std::wstring& folder, const std::wstring& masks, bool recurse,
                  PathList& list);

#endif
