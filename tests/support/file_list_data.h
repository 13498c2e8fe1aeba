// Data objects as the shell hands them to a drop target: a list of files
// (CF_HDROP, a DROPFILES block in global memory), or data without one.
#ifndef ZEPHLO_TESTS_SUPPORT_FILE_LIST_DATA_H
#define ZEPHLO_TESTS_SUPPORT_FILE_LIST_DATA_H

#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <string>
#include <vector>

// Lists the paths, in wide characters or in the ANSI code page. Each GetData
// hands out a fresh copy, which the receiver releases.
Microsoft::WRL::ComPtr<IDataObject> MakeFileListData(const std::vector<std::wstring>& paths,
                                                     bool wide = true);
// Offers CF_HDROP with these bytes as they are, well formed or not.
Microsoft::WRL::ComPtr<IDataObject> MakeRawFileListData(const std::string& block);
// Offers no format at all.
Microsoft::WRL::ComPtr<IDataObject> MakeDataWithoutFiles();

#endif
