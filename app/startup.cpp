#include "app/startup.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <utility>

#include "app/app.h"
#include "app/command_line.h"
#include "app/drop_target.h"
#include "app/main_window.h"
#include "base/paths.h"
#include "base/text.h"
#include "settings/theme_plugins.h"

namespace {

// How long a start by COM waits for the drop it was started for.
constexpr DWORD kVerbDropTimeout = 30000;

// The named mutex that marks a running instance. Only the process that
// created it owns it and releases it at the end.
class InstanceMutex {
public:
    InstanceMutex() : handle_(CreateMutexW(nullptr, TRUE, L"Zephlo mutex")) {
        owner_ = handle_ && GetLastError() != ERROR_ALREADY_EXISTS;
    }
    ~InstanceMutex() {
        if (owner_) {
            ReleaseMutex(handle_.get());
        }
    }
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    bool owner() const { return owner_; }

    // Takes the mutex when its owner has let go of it (the owner ended):
    // this process is then the one that runs.
    bool TakeIfReleased() {
        DWORD taken = handle_ ? WaitForSingleObject(handle_.get(), 0) : WAIT_FAILED;
        owner_ = owner_ || taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
        return owner_;
    }

private:
    UniqueKernelHandle handle_;
    bool owner_ = false;
};

// COM for the playback back-ends, initialised for the lifetime of the loop
// (and before it when COM started the program as a server).
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

std::wstring DocumentsFolder() {
    wchar_t folder[MAX_PATH] = L"";
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder)) &&
        folder[0] != L'\0') {
        return folder;
    }
    DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? std::wstring(folder) : std::wstring();
}

// How long a start that does not own the mutex waits for the owner's main
// window: the owner may be starting still (two starts a moment apart).
constexpr DWORD kOwnerWindowWait = 10000;
// How long a path's hand-over may take. A running instance that answers keeps
// the sender waiting as long as it needs (a message box it shows, say); one
// that stops answering is given up on at once.
constexpr UINT kHandOverTimeLimit = 300000;

// The running instance's main window; null when none came within the time
// or the owner ended meanwhile (the mutex is then this process's).
HWND FindRunningInstance(InstanceMutex& mutex) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND running = FindWindowW(kMainWindowClass, nullptr);
        if (running != nullptr || mutex.TakeIfReleased() ||
            GetTickCount() - start >= kOwnerWindowWait) {
            return running;
        }
        Sleep(50);
    }
}

// A global atom holding a path. An atom's name holds at most 255
// characters, so a longer path goes by its short name (the receiver expands
// the names it gets to their long form); 0 when neither fits.
ATOM MakePathAtom(const std::wstring& path) {
    ATOM atom = GlobalAddAtomW(path.c_str());
    if (atom != 0) {
        return atom;
    }
    wchar_t shortPath[kMaxPath];
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, kMaxPath);
    return length > 0 && length < kMaxPath ? GlobalAddAtomW(shortPath) : 0;
}

// Sends each command-line path to the running instance, one global atom at a
// time; stops at the first path no atom can hold and when the running
// instance does not answer. Nothing here waits on a window that is not
// answering: the window is restored or brought forward without waiting.
void HandOverToRunningInstance(HWND running, const std::optional<CommandLine>& commandLine) {
    if (IsIconic(running)) {
        ShowWindowAsync(running, SW_RESTORE);
    } else {
        SetForegroundWindow(running);
    }
    if (!commandLine) {
        return;
    }
    const PathList& paths = commandLine->paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ATOM atom = MakePathAtom(paths[i]);
        if (atom == 0) {
            break;
        }
        DWORD_PTR result = 0;
        LRESULT answered =
            SendMessageTimeoutW(running, kHandOverMessage, atom,
                                MAKELPARAM(static_cast<WORD>(i), static_cast<WORD>(paths.size())),
                                SMTO_ABORTIFHUNG, kHandOverTimeLimit, &result);
        GlobalDeleteAtom(atom);
        if (answered == 0) {
            break;
        }
    }
}

// How long the end of the program waits for renders given up on that still
// run (see EndAfterGivenUpRenders).
constexpr DWORD kGivenUpRenderWait = 3000;

// A render given up on may still be inside the platform's decoders, whose
// threads would go on while the process unloads its libraries: a crash on the
// way out. Such renders get a while to end; after that the process ends at
// once (everything is written by now) with the code it was going to return.
void EndAfterGivenUpRenders(const App& app, int exitCode) {
    if (!app.renders->WaitForGivenUp(kGivenUpRenderWait)) {
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    }
}

int RunMessageLoop(App& app) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateProgramMessage(app, message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

bool PreTranslateProgramMessage(App& app, MSG& message) {
    if (app.help.PreTranslateMessage(&message)) {
        return true;
    }
    HACCEL accelerators = app.keys.accelerators();
    return accelerators != nullptr &&
           TranslateAcceleratorW(app.window.hwnd, accelerators, &message) != 0;
}

int RunZephlo(HINSTANCE instance, const wchar_t* commandLineText, int show) {
    // The paths are made absolute before anything else sees them, so that
    // the histories, the playlist and a running instance (whose working
    // folder differs) only ever get full paths.
    std::optional<CommandLine> commandLine;
    if (commandLineText[0] != L'\0') {
        commandLine = ReadCommandLine(commandLineText);
    }
    InstanceMutex mutex;
    // Started by COM for the shell's verb: the files arrive in a drop, taken
    // before anything (the question where to keep the settings) could keep
    // the caller waiting; from then on they are this start's command line.
    std::optional<ComScope> serverCom;
    if (commandLine && commandLine->embedding) {
        serverCom.emplace();
        std::optional<PathList> dropped = ServeOneDrop(kVerbDropTimeout);
        if (!dropped) {
            return 0;
        }
        commandLine->paths = AbsoluteLongPaths(*dropped);
    }

    auto app = std::make_unique<App>();
    Settings& settings = app->settings;
    app->instance = instance;
    app->help.SetFile(PathJoin(ProgramFolder(), L"Zephlo.chm"));
    settings.openDirectory = DocumentsFolder();

    if (!LocateSettingsFile(app->settingsLocation)) {
        return 0;
    }
    if (SettingsFileExists(app->settingsLocation.path)) {
        LoadSettings(app->settingsLocation.path, settings);
    }

    if (commandLine && commandLine->maximize) {
        settings.maximize = true;
    }

    if (settings.keepSingleTask && !mutex.owner()) {
        HWND running = FindRunningInstance(mutex);
        if (running != nullptr) {
            HandOverToRunningInstance(running, commandLine);
            return 0;
        }
        if (!mutex.owner()) {
            return 0;
        }
        // The owner ended before showing a window: this start runs instead.
    }

    if (!RegisterWindowClasses(instance)) {
        ShowMessage(nullptr, IDS_CANNOT_REGISTER_CLASS, MB_ICONERROR);
        return 0;
    }

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                          ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    // The toolbars are made with the theme's pictures; its idle picture goes
    // to the media window once that exists.
    ThemePictures theme =
        LoadStartupTheme(PathJoin(ProgramFolder(), L"Themes"), settings.themePlugin);
    app->toolbarImages = std::move(theme.sets);

    app->mainMenu.reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
    if (!CreateMainWindow(*app)) {
        ShowMessage(nullptr, IDS_CANNOT_CREATE_WINDOW, MB_ICONERROR);
        // A window that failed in WM_CREATE took its menu with it.
        if (!IsMenu(app->mainMenu.get())) {
            app->mainMenu.release();
        }
        return 0;
    }
    if (theme.idlePicture) {
        app->media()->SetLogo(theme.idlePicture.release());
    }
    ShowWindow(app->window.hwnd, settings.maximize ? SW_SHOWMAXIMIZED : show);
    UpdateWindow(app->window.hwnd);
    // COM (and with it ole32, loaded at its first call) is first needed by
    // the playback back-ends and the shell's dialogs, never for the first
    // paint; it is ready before any file opens or any message is handled.
    ComScope com;

    RestoreMainWindowState(*app);
    if (commandLine) {
        OpenCommandLineFiles(*app, commandLine->paths, commandLine->fullScreen);
    }
    FinishStartUp(*app);

    int exitCode = RunMessageLoop(*app);
    FinishAfterMessageLoop(*app);
    EndAfterGivenUpRenders(*app, exitCode);
    return exitCode;
}
