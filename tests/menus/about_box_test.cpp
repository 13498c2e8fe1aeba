#include "settings/about_box.h"

#include <gtest/gtest.h>

#include <string>

#include "app/handles.h"
#include "app/text.h"
#include "resources/resource.h"

namespace {

// The About box is modal: a thread timer, served by the dialog's own message
// loop, looks at it and closes it.
struct Inspection {
    HWND dialog = nullptr;
    std::wstring title, text, link;
    HFONT linkFontHandle = nullptr;
    LOGFONTW linkFont{}, dialogFont{};
    COLORREF linkColour = 0;
    INT_PTR linkBrush = 0, textBrush = 0;
    HCURSOR cursorOverLink = nullptr;
    RECT ok{}, okExpected{}, linkRect{}, linkExpected{};
};
Inspection g_seen;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
        g_seen.dialog = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT rect = {x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
    HWND dialog = g_seen.dialog;
    if (dialog == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    g_seen.title = TextOf(dialog);
    g_seen.text = TextOf(GetDlgItem(dialog, IDC_ABOUT_TEXT));
    g_seen.link = TextOf(link);
    g_seen.linkFontHandle = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
    GetObjectW(g_seen.linkFontHandle, sizeof g_seen.linkFont, &g_seen.linkFont);
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)),
               sizeof g_seen.dialogFont, &g_seen.dialogFont);
    HDC dc = CreateCompatibleDC(nullptr);
    g_seen.linkBrush = SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(link));
    g_seen.linkColour = GetTextColor(dc);
    g_seen.textBrush = SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_ABOUT_TEXT)));
    DeleteDC(dc);
    SetCursor(nullptr);
    SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    g_seen.cursorOverLink = GetCursor();
    g_seen.ok = ClientRectOf(dialog, GetDlgItem(dialog, IDOK));
    g_seen.okExpected = DialogUnits(dialog, 56, 40, 48, 14);
    g_seen.linkRect = ClientRectOf(dialog, link);
    g_seen.linkExpected = DialogUnits(dialog, 44, 24, 96, 9);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

void OpenAndInspect() {
    g_seen = Inspection();
    SetTimer(nullptr, 0, 20, Inspect);
    ShowAboutBox(nullptr);
}

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

TEST(AboutBoxTest, ShowsNameNoticeAndAnUnderlinedBlueLinkWithTheHandCursor) {
    OpenAndInspect();
    ASSERT_NE(g_seen.dialog, nullptr);
    EXPECT_FALSE(IsWindow(g_seen.dialog));
    EXPECT_EQ(g_seen.title, L"バージョン情報");
    EXPECT_EQ(g_seen.text, L"Zephlo ver.0.8.0 (Unicode)\n" + LoadText(IDS_ABOUT_NOTICE));
    EXPECT_FALSE(LoadText(IDS_ABOUT_NOTICE).empty());
    EXPECT_EQ(g_seen.link, LoadText(IDS_ABOUT_WEB_ADDRESS));
    EXPECT_EQ(g_seen.link.rfind(L"https://", 0), 0u);

    EXPECT_TRUE(g_seen.linkFont.lfUnderline);
    EXPECT_FALSE(g_seen.dialogFont.lfUnderline);
    EXPECT_STREQ(g_seen.linkFont.lfFaceName, g_seen.dialogFont.lfFaceName);
    EXPECT_EQ(g_seen.linkFont.lfHeight, g_seen.dialogFont.lfHeight);

    EXPECT_EQ(g_seen.linkBrush, reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(g_seen.linkColour, RGB(0, 0, 255));
    EXPECT_NE(g_seen.textBrush, g_seen.linkBrush);
    EXPECT_EQ(g_seen.cursorOverLink, LoadCursorW(nullptr, IDC_HAND));

    EXPECT_TRUE(g_seen.ok == g_seen.okExpected);
    EXPECT_TRUE(g_seen.linkRect == g_seen.linkExpected);
}

TEST(AboutBoxTest, TheUnderlinedFontGoesWithTheDialog) {
    for (int i = 0; i < 3; ++i) {
        OpenAndInspect();
        ASSERT_NE(g_seen.dialog, nullptr);
        ASSERT_NE(g_seen.linkFontHandle, nullptr);
        EXPECT_EQ(GetObjectType(g_seen.linkFontHandle), 0u) << i;
    }
}

}  // namespace
