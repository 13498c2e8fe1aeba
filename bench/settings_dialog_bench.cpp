// Time from the Options command (WM_COMMAND 167 to the main window) to the
// settings sheet's first page painted, against bare property sheets shown the
// same way over the same window from a plain window's WM_COMMAND: six empty
// pages of the same sizes and font, and the program's own page templates with
// no page code (what creating and painting their controls costs alone).
// Measured alternately in the same invocation.
// Usage: settings_dialog_bench [runs (default 15)]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "bench_support.h"
#include "resources/resource.h"

namespace {

constexpr double kGoal = 1.3;
// Posted to the thread once a page has been painted: it is taken from the
// queue only after that paint has been handled.
constexpr UINT kPaintedMarker = WM_APP + 0x77;

double g_paintedAt = 0.0;
// The bare sheet's owner: the player's main window, as for the real sheet.
HWND g_bareOwner = nullptr;
HWND g_sheet = nullptr;
bool g_pagePainted = false;

bool IsSheetPage(HWND window) {
    HWND parent = GetParent(window);
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    return parent != nullptr && lstrcmpW(className, L"#32770") == 0 &&
           FindWindowExW(parent, nullptr, WC_TABCONTROLW, nullptr) != nullptr;
}

// A page has been painted: through the queue, or sent by the sheet itself
// (UpdateWindow) while it shows the page.
void NotePagePaint(const MSG& message) {
    if (message.message == WM_PAINT && !g_pagePainted && IsSheetPage(message.hwnd)) {
        g_pagePainted = true;
        g_sheet = GetParent(message.hwnd);
        PostThreadMessageW(GetCurrentThreadId(), kPaintedMarker, 0, 0);
    }
}

// Watches the messages the sheet's loop takes: after the first page's
// WM_PAINT, the marker; then the sheet is cancelled.
LRESULT CALLBACK WatchQueue(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        NotePagePaint(*message);
        if (message->message == kPaintedMarker && message->hwnd == nullptr && g_paintedAt == 0.0) {
            // The sheet's paints still waiting in the queue would come next:
            // they are done here, at once.
            RedrawWindow(g_sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            g_paintedAt = NowMilliseconds();
            PostMessageW(g_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        NotePagePaint(MSG{sent->hwnd, sent->message, sent->wParam, sent->lParam, 0, {}});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A sheet that never shows a page is given up after ten seconds.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_paintedAt == 0.0 && g_sheet != nullptr) {
        PostMessageW(g_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
}

// Milliseconds from WM_COMMAND 167 to the first page painted; negative on failure.
double TimeOpening(HWND window, WPARAM command) {
    g_paintedAt = 0.0;
    g_pagePainted = false;
    g_sheet = nullptr;
    DWORD thread = GetCurrentThreadId();
    HHOOK queue = SetWindowsHookExW(WH_GETMESSAGE, WatchQueue, nullptr, thread);
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchSent, nullptr, thread);
    UINT_PTR timer = SetTimer(nullptr, 0, 10000, GiveUp);
    double start = NowMilliseconds();
    SendMessageW(window, WM_COMMAND, command, 0);
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(queue);
    return g_paintedAt == 0.0 ? -1.0 : g_paintedAt - start;
}

// An empty page template (DLGTEMPLATEEX, no controls) of the given size,
// caption and the pages' font.
std::vector<WORD> EmptyPageTemplate(short height, const wchar_t* caption) {
    std::vector<WORD> words = {1, 0xFFFF, 0, 0, 0, 0};  // version, signature, help id, ex-style
    DWORD style = DS_SETFONT | WS_CHILD | WS_CAPTION;
    words.push_back(LOWORD(style));
    words.push_back(HIWORD(style));
    for (short value : {short{0}, short{0}, short{0}, short{224}, height}) {
        words.push_back(static_cast<WORD>(value));  // controls, x, y, width, height
    }
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    auto text = [&](const wchar_t* string) {
        words.insert(words.end(), string, string + std::wcslen(string) + 1);
    };
    text(caption);
    words.push_back(9);                      // points
    words.push_back(FW_NORMAL);              // weight
    words.push_back(SHIFTJIS_CHARSET << 8);  // italic, character set
    text(L"ＭＳ Ｐゴシック");
    return words;
}

INT_PTR CALLBACK EmptyPageProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The six pages of a bare sheet: empty templates of the pages' sizes and
// font, or (withControls) the program's own templates of the first four.
struct BarePages {
    std::vector<std::vector<WORD>> templates;
    std::vector<PROPSHEETPAGEW> records;

    explicit BarePages(bool withControls) {
        const struct {
            short height;
            const wchar_t* caption;
        } pages[] = {{176, L"一般"},       {156, L"履歴/ファイルリスト"},
                     {140, L"プレイヤー"}, {196, L"プレイリスト/構成"},
                     {224, L"外観"},       {224, L"キー割り当て"}};
        for (const auto& page : pages) {
            templates.push_back(EmptyPageTemplate(page.height, page.caption));
        }
        for (std::size_t i = 0; i < templates.size(); ++i) {
            PROPSHEETPAGEW record = {};
            record.dwSize = sizeof record;
            record.dwFlags = PSP_HASHELP;
            record.hInstance = GetModuleHandleW(nullptr);
            if (withControls && i < 4) {
                record.pszTemplate = MAKEINTRESOURCEW(IDD_PAGE_GENERAL + i);
            } else {
                record.dwFlags |= PSP_DLGINDIRECT;
                record.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(templates[i].data());
            }
            record.pfnDlgProc = EmptyPageProc;
            records.push_back(record);
        }
    }
};

// The baselines' window (hidden) shows a bare sheet over the main window on
// WM_COMMAND: 167 with empty pages, kWithControls with the program's templates.
constexpr WPARAM kWithControls = 1;

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static BarePages emptyPages(false);
    static BarePages templatePages(true);
    BarePages& pages = wParam == kWithControls ? templatePages : emptyPages;
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_HASHELP;
    header.hwndParent = g_bareOwner;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = L"設定";
    header.nPages = static_cast<UINT>(pages.records.size());
    header.ppsp = pages.records.data();
    PropertySheetW(&header);
    return 0;
}

HWND CreateBareWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Zephlo Bench Sheet Opener";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW, 0, 0, 480,
                           400, nullptr, nullptr, windowClass.hInstance, nullptr);
}

bool CreatePlayer(App& app, const std::wstring& folder) {
    app.settingsLocation.path = folder + L"\\Zephlo.ini";
    app.instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClasses(app.instance)) {
        return false;
    }
    app.mainMenu.reset(LoadMenuW(app.instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
    if (!CreateMainWindow(app)) {
        return false;
    }
    ShowWindow(app.window.hwnd, SW_SHOWNORMAL);
    UpdateWindow(app.window.hwnd);
    RestoreMainWindowState(app);
    return true;
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 15;
    if (runs < 1) {
        runs = 15;
    }
    std::wstring folder = MakeTempFolder(L"zephlo-settings-bench-");
    if (folder.empty() || FAILED(CoInitialize(nullptr))) {
        std::fwprintf(stderr, L"cannot prepare\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                          ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                          ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    auto app = std::make_unique<App>();
    HWND bare = CreateBareWindow();
    if (bare == nullptr || !CreatePlayer(*app, folder)) {
        std::fwprintf(stderr, L"cannot create the windows\n");
        return 1;
    }
    g_bareOwner = app->window.hwnd;
    Pump();
    // One unmeasured opening each loads what the sheets need.
    struct Side {
        HWND window;
        WPARAM command;
        std::vector<double> times;
    } sides[] = {
        {bare, CMD_OPTIONS, {}}, {bare, kWithControls, {}}, {app->window.hwnd, CMD_OPTIONS, {}}};
    for (Side& side : sides) {
        TimeOpening(side.window, side.command);
        Pump();
    }
    int status = 0;
    for (int i = 0; i < runs && status == 0; ++i) {
        for (Side& side : sides) {
            side.times.push_back(TimeOpening(side.window, side.command));
            Pump();
            if (side.times.back() < 0) {
                std::fwprintf(stderr, L"a run failed\n");
                status = 1;
            }
        }
    }
    double empty = Median(sides[0].times);
    double templates = Median(sides[1].times);
    double player = Median(sides[2].times);
    std::wprintf(L"command 167 to the first page painted, median of %d runs\n", runs);
    std::wprintf(L"bare sheet, six empty pages          %6.1f ms\n", empty);
    std::wprintf(L"bare sheet, the program's templates  %6.1f ms\n", templates);
    std::wprintf(L"Zephlo's settings sheet              %6.1f ms\n", player);
    std::wprintf(L"ratio to the empty pages %.2f (goal <= %.1f)%ls; to the templates alone %.2f\n",
                 player / empty, kGoal, player / empty <= kGoal ? L"" : L"  OVER",
                 player / templates);
    DestroyWindow(app->window.hwnd);
    DestroyWindow(bare);
    Pump();
    RemoveFlatFolder(folder);
    CoUninitialize();
    return status;
}
