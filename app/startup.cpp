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

// Sends each command-line path to the running instance, one global atom at a
// time; stops at the first path an atom cannot hold.
void HandOverToRunningInstance(const std::optional<CommandLine>& commandLine) {
    HWND running = FindWindowW(kMainWindowClass, nullptr);
    if (running == nullptr) {
        return;
    }
    if (IsIconic(running)) {
        ShowWindow(running, SW_RESTORE);
    } else {
        SetForegroundWindow(running);
    }
    if (!commandLine) {
        return;
    }
    const PathList& paths = commandLine->paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ATOM atom = GlobalAddAtomW(paths[i].c_str());
        if (atom == 0) {
            break;
        }
        SendMessageW(running, kHandOverMessage, atom,
                     MAKELPARAM(static_cast<WORD>(i), static_cast<WORD>(paths.size())));
        GlobalDeleteAtom(atom);
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
    InstanceMutex mutex;
    std::optional<CommandLine> commandLine;
    if (commandLineText[0] != L'\0') {
        commandLine = SplitCommandLine(commandLineText);
    }
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
        commandLine->paths = std::move(*dropped);
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

    if (commandLine) {
        for (std::wstring& path : commandLine->paths) {
            path = ExpandLongPath(path);
        }
        if (commandLine->maximize) {
            settings.maximize = true;
        }
    }

    if (settings.keepSingleTask && !mutex.owner()) {
        HandOverToRunningInstance(commandLine);
        return 0;
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

    int exitCode = RunMessageLoop(*app);
    FinishAfterMessageLoop(*app);
    return exitCode;
}
