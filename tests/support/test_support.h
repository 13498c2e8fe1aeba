// Helpers shared by the tests: temporary folders, files and paths of the
// build, a message pump, started processes and their windows, a COM
// apartment. Everything runs on the Windows side (under Wine).
#ifndef ZEPHLO_TESTS_SUPPORT_TEST_SUPPORT_H
#define ZEPHLO_TESTS_SUPPORT_TEST_SUPPORT_H

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

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
// A value of a settings file; "<absent>" when the key is missing.
std::wstring ReadIni(const std::wstring& path, const wchar_t* section, const wchar_t* key);
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

// Starts a program from a command line (the program's name first) in a
// working folder (the test's own when empty): the process handle, which the
// caller closes (WaitAndClose), or null.
HANDLE StartProcess(const std::wstring& commandLine, const std::wstring& workingFolder = L"");
// Waits for a process's end and closes its handle: its exit code, or
// STILL_ACTIVE (the process then terminated) when the time is up; -1 for a
// null handle.
DWORD WaitAndClose(HANDLE process, DWORD timeout = 15000);
// The top-level windows of a process with the class name, all or only the
// visible ones.
std::vector<HWND> ProcessWindows(DWORD processId, const wchar_t* className, bool visibleOnly);

// The processes running a program file of the name (any case).
std::vector<DWORD> ProcessesNamed(const wchar_t* fileName);

// A COM apartment of the calling thread for the object's lifetime.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED)
        : result_(CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// GDI and USER objects of this process (leak checks).
DWORD GdiObjectCount();
DWORD UserObjectCount();

#endif
