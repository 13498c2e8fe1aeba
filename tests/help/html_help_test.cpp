// Zephlo.chm shown by the system's HTML Help, loaded the way the program
// loads it: every settings page's context id and the table of contents open a
// help window. (Without an HTML engine the topic pane may stay blank; the
// navigation pane is the viewer's own tree, read back here.)
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/handles.h"
#include "support/test_support.h"

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

constexpr DWORD kWaitMilliseconds = 10000;

BOOL CALLBACK CollectTreeViews(HWND window, LPARAM found) {
    wchar_t name[32] = L"";
    GetClassNameW(window, name, 32);
    if (std::wstring(name) == WC_TREEVIEWW) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

// The texts of all items of a tree view of this thread, depth first.
void CollectItems(HWND tree, HTREEITEM item, std::vector<std::wstring>& texts) {
    for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[256] = L"";
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = 256;
        TreeView_GetItem(tree, &data);
        texts.push_back(text);
        CollectItems(tree, TreeView_GetChild(tree, item), texts);
    }
}

class HtmlHelpTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH] = L"";
        ASSERT_GT(GetSystemDirectoryW(folder, MAX_PATH), 0u);
        std::wstring path = std::wstring(folder) + L"\\hhctrl.ocx";
        library_.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        ASSERT_TRUE(library_);
        htmlHelp_ = GetProcedure<HtmlHelpFunction>(library_.get(), "HtmlHelpW");
        ASSERT_NE(htmlHelp_, nullptr);
        htmlHelp_(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&cookie_));
        helpFile_ = BuildFolder() + L"\\Zephlo.chm";
        ASSERT_NE(GetFileAttributesW(helpFile_.c_str()), INVALID_FILE_ATTRIBUTES);
    }

    void TearDown() override {
        if (htmlHelp_ == nullptr) {
            return;
        }
        htmlHelp_(nullptr, nullptr, HH_CLOSE_ALL, 0);
        EXPECT_TRUE(PumpUntil(
            [this] {
                for (HWND window : opened_) {
                    if (IsWindow(window)) {
                        return false;
                    }
                }
                return true;
            },
            kWaitMilliseconds))
            << "help windows still open after HH_CLOSE_ALL";
        htmlHelp_(nullptr, nullptr, HH_UNINITIALIZE, cookie_);
    }

    HWND Show(UINT command, DWORD_PTR data) {
        HWND window = htmlHelp_(nullptr, helpFile_.c_str(), command, data);
        if (window != nullptr) {
            opened_.push_back(window);
            PumpUntil([window] { return IsWindowVisible(window) != FALSE; }, kWaitMilliseconds);
        }
        return window;
    }

    UniqueModule library_;
    HtmlHelpFunction htmlHelp_ = nullptr;
    DWORD cookie_ = 0;
    std::wstring helpFile_;
    std::vector<HWND> opened_;
};

TEST_F(HtmlHelpTest, EverySettingsPageContextOpensAHelpWindow) {
    for (DWORD context = 2001; context <= 2006; ++context) {
        HWND window = Show(HH_HELP_CONTEXT, context);
        ASSERT_NE(window, nullptr) << context;
        EXPECT_TRUE(IsWindowVisible(window)) << context;
    }
    // The viewer refuses an id the file does not map, so the windows above
    // come from the file's own mapping.
    for (DWORD context : {2000ul, 2007ul}) {
        EXPECT_EQ(Show(HH_HELP_CONTEXT, context), nullptr) << context;
    }
}

TEST_F(HtmlHelpTest, ContentsWindowListsTheTopicsInJapanese) {
    HWND window = Show(HH_DISPLAY_TOC, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));

    std::vector<HWND> trees;
    EnumChildWindows(window, CollectTreeViews, reinterpret_cast<LPARAM>(&trees));
    ASSERT_EQ(trees.size(), 1u);
    std::vector<std::wstring> items;
    CollectItems(trees[0], TreeView_GetRoot(trees[0]), items);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), L"はじめに");
    for (const wchar_t* page :
         {L"[一般] ページ", L"[履歴/ファイルリスト] ページ", L"[プレイヤー] ページ",
          L"[プレイリスト/構成] ページ", L"[外観] ページ", L"[キー割り当て] ページ"}) {
        EXPECT_NE(std::find(items.begin(), items.end(), page), items.end()) << ToUtf8(page);
    }
}

}  // namespace
