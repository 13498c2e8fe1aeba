// Reads the files inside a compiled help file through the system's own CHM
// storage (the InfoTech storage of itss.dll, which also serves the help
// viewer's pages), so the tests see the file as the viewer does.
#ifndef ZEPHLO_TESTS_HELP_CHM_STORAGE_H
#define ZEPHLO_TESTS_HELP_CHM_STORAGE_H

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <string>

class ChmStorage {
public:
    // Opens the help file; false when the storage system or the file cannot be opened.
    bool Open(const std::wstring& path);
    // The bytes of a file inside the help file ("Zephlo.hhc", "#SYSTEM", ...);
    // false when there is no such file.
    bool Read(const std::wstring& name, std::string& bytes) const;

private:
    Microsoft::WRL::ComPtr<IStorage> root_;
};

// Text of code page 932, as the viewer reads a Japanese help file; false when
// the bytes are not valid in that code page.
bool DecodeCodePage932(const std::string& bytes, std::wstring& text);

#endif
