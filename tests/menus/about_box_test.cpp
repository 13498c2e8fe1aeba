#include "settings/about_box.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "resources/resource.h"

namespace {

// The box is modal: a thread timer, served by the dialog's own message loop,
// reads it and closes it.
struct Seen {
    HWND dialog = nullptr;
    std::wstring text, link;
    HFONT linkFont = nullptr;
    LOGFONTW font{};
    COLORREF linkColour = 0;
    INT_PTR linkBrush = 0;
    HCURSOR cursor = nullptr;
} g_seen;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    g_seen.dialog = std::wstring(name) == L"#32770" ? window : nullptr;
    return g_seen.dialog == nullptr;
}

std::wstring TextOf(HWND dialog, int id) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
    HWND dialog = g_seen.dialog;
    if (dialog == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    g_seen.text = TextOf(dialog, IDC_ABOUT_TEXT);
    g_seen.link = TextOf(dialog, IDC_ABOUT_LINK);
    g_seen.linkFont = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
    GetObjectW(g_seen.linkFont, sizeof g_seen.font, &g_seen.font);
    HDC dc = CreateCompatibleDC(nullptr);
    g_seen.linkBrush = SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(link));
    g_seen.linkColour = GetTextColor(dc);
    DeleteDC(dc);
    SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), HTCLIENT);
    g_seen.cursor = GetCursor();
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(AboutBoxTest, ShowsNameNoticeAndABlueUnderlinedLinkWhoseFontGoesWithIt) {
    for (int i = 0; i < 2; ++i) {
        g_seen = Seen();
        SetTimer(nullptr, 0, 20, Inspect);
        ShowAboutBox(nullptr);
        ASSERT_NE(g_seen.dialog, nullptr);
        EXPECT_FALSE(IsWindow(g_seen.dialog));
        EXPECT_EQ(g_seen.text, L"Zephlo ver.0.8.0 (Unicode)\n" + LoadText(IDS_ABOUT_NOTICE));
        EXPECT_EQ(g_seen.link, L"https://zephlo.invalid/");
        EXPECT_TRUE(g_seen.font.lfUnderline);
        EXPECT_EQ(g_seen.linkColour, RGB(0, 0, 255));
        EXPECT_EQ(g_seen.linkBrush, reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH)));
        EXPECT_EQ(g_seen.cursor, LoadCursorW(nullptr, IDC_HAND));
        EXPECT_EQ(GetObjectType(g_seen.linkFont), 0u);
    }
}

}  // namespace
