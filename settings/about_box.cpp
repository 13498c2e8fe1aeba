#include "settings/about_box.h"

#include <shellapi.h>

#include <string>

#include "base/handles.h"
#include "base/text.h"
#include "resources/resource.h"

namespace {

// What the open dialog holds: the link's underlined font and the link
// control's own window procedure, which the subclass passes everything but
// the cursor to.
struct AboutBoxState {
    UniqueFont linkFont;
    WNDPROC linkProcedure = nullptr;
};

AboutBoxState* StateOf(HWND dialog) {
    return reinterpret_cast<AboutBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    AboutBoxState* state = StateOf(GetParent(window));
    if (state == nullptr || state->linkProcedure == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return CallWindowProcW(state->linkProcedure, window, message, wParam, lParam);
}

// The dialog's font with underlining (the system font's when the dialog has none).
UniqueFont CreateUnderlinedFont(HWND dialog) {
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW logFont = {};
    if (font == nullptr || GetObjectW(font, sizeof logFont, &logFont) == 0) {
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof logFont, &logFont);
    }
    logFont.lfUnderline = TRUE;
    return UniqueFont(CreateFontIndirectW(&logFont));
}

void OnInitDialog(HWND dialog, AboutBoxState* state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    std::wstring text = kAboutVersionLine;
    text += L"\n";
    text += LoadText(IDS_ABOUT_NOTICE);
    SetDlgItemTextW(dialog, IDC_ABOUT_TEXT, text.c_str());
    SetDlgItemTextW(dialog, IDC_ABOUT_LINK, LoadText(IDS_ABOUT_WEB_ADDRESS).c_str());
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    state->linkFont = CreateUnderlinedFont(dialog);
    SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(state->linkFont.get()), FALSE);
    state->linkProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
}

void OnDestroy(HWND dialog) {
    AboutBoxState* state = StateOf(dialog);
    if (state == nullptr) {
        return;
    }
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    if (state->linkProcedure != nullptr) {
        SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->linkProcedure));
        state->linkProcedure = nullptr;
    }
    SendMessageW(link, WM_SETFONT, 0, FALSE);
    state->linkFont.reset();
}

INT_PTR OnLinkColour(HDC dc, HWND control) {
    if (GetDlgCtrlID(control) != IDC_ABOUT_LINK) {
        return FALSE;
    }
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

void OnCommand(HWND dialog, int id, int code) {
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id);
    } else if (id == IDC_ABOUT_LINK && code == STN_CLICKED) {
        ShellExecuteW(dialog, L"open", LoadText(IDS_ABOUT_WEB_ADDRESS).c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
    }
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog, reinterpret_cast<AboutBoxState*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return OnLinkColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DESTROY:
            OnDestroy(dialog);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowAboutBox(HWND owner) {
    AboutBoxState state;
    // From the module the texts come from, the program's own.
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutBoxProc,
                    reinterpret_cast<LPARAM>(&state));
}
