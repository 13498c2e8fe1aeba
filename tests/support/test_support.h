// Helpers shared by the tests: temporary folders, files and paths of the
// build, a message pump. Everything runs on the Windows side (under Wine).
#ifndef ZEPHLO_TESTS_SUPPORT_TEST_SUPPORT_H
#define ZEPHLO_TESTS_SUPPORT_TEST_SUPPORT_H

#include <windows.h>

#include <string>

// A fresh folder under the temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // path() joined with a relative name.
    std::wstring operator/(const std::wstring& name) const;

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
// UTF-8 <-> UTF-16 for readable assertions.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// A Unix path of the build machine as Wine sees it (Z:\...).
std::wstring WindowsPathOfHostPath(const std::string& hostPath);
// The build folder and the source folder, from the environment CTest sets.
std::wstring BuildFolder();
std::wstring SourceFolder();

// Registers a plain window class of this module for a test's own windows
// (parents and owners that record what the windows under test report); true
// also when it is registered already.
bool RegisterTestWindowClass(const wchar_t* name, WNDPROC procedure);

// Dispatches the thread's messages for about `milliseconds`.
void PumpMessages(DWORD milliseconds);
// Pumps messages until the predicate holds or the time is up.
template <typename Predicate>
bool PumpUntil(Predicate predicate, DWORD timeoutMilliseconds) {
    DWORD start = GetTickCount();
    while (!predicate()) {
        if (GetTickCount() - start > timeoutMilliseconds) {
            return false;
        }
        PumpMessages(10);
    }
    return true;
}

// GDI and USER objects of this process (leak checks).
DWORD GdiObjectCount();
DWORD UserObjectCount();

#endif
