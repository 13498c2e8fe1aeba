#include <gtest/gtest.h>

#include "app/app.h"
#include "app/context_menus.h"
#include "files/folder_file_list.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

struct PlanCase {
    UINT button;
    int base, count, limit;
    int size, first, last;  // items and the indices of the first and last one
    bool more;
};

TEST(FileListMenuTest, ListsTheNeighboursNearestFirstUpToTheLimit) {
    const PlanCase cases[] = {
        {CMD_PREV_FILE, 30, 50, 20, 20, 29, 10, true},
        {CMD_NEXT_FILE, 30, 50, 20, 19, 31, 49, false},
        {CMD_PREV_FILE, 0, 50, 20, 0, 0, 0, false},   // first file: no menu
        {CMD_NEXT_FILE, 49, 50, 20, 0, 0, 0, false},  // last file: no menu
        {CMD_PREV_FILE, 20, 50, 20, 20, 19, 0, false},
        {CMD_NEXT_FILE, 0, 300, 500, 100, 1, 100, true},  // ids must stay below 1200
        {CMD_PREV_FILE, 5, 10, 0, 1, 4, 4, true},
        {CMD_NEXT_FILE, -1, 3, 20, 3, 0, 2, false},  // no playing entry yet
        {CMD_PREV_FILE, 12, 5, 20, 0, 0, 0, false},  // a base the list no longer has
        {CMD_FIRST_FILE, 3, 10, 20, 0, 0, 0, false},
    };
    for (const PlanCase& c : cases) {
        FileListMenuPlan plan = PlanFileListMenu(c.button, c.base, c.count, c.limit);
        SCOPED_TRACE(testing::Message() << c.button << " base " << c.base << " of " << c.count);
        ASSERT_EQ(static_cast<int>(plan.items.size()), c.size);
        EXPECT_EQ(plan.more, c.more);
        if (c.size > 0) {
            UINT firstId = c.button == CMD_PREV_FILE ? CMD_PREV_FILES_FIRST : CMD_NEXT_FILES_FIRST;
            EXPECT_EQ(plan.items.front().index, c.first);
            EXPECT_EQ(plan.items.back().index, c.last);
            EXPECT_EQ(plan.items.back().id, firstId + c.size - 1);
        }
    }
}

class FolderListTest : public testing::Test {
protected:
    void SetUp() override {
        app_.settings.fileMasks = L"*.wav";
        app_.settings.sortType = 0;
        app_.settings.sortDescending = false;
        for (const wchar_t* name : {L"a.wav", L"b.wav", L"c.wav", L"d.wav"}) {
            ASSERT_TRUE(WriteBytes(folder_ / name, "x"));
        }
    }

    int BaseFor(const std::wstring& path) { return FolderListBaseFor(app_.folderFiles, path); }

    App app_;
    TempFolder folder_;
};

// A file made since the list was built is found in a rebuilt list; one the
// masks leave out (opened through "all files") joins in its sorted place;
// one deleted and gone from the list gives no menu.
TEST_F(FolderListTest, FindsTheOpenFileAfterRebuildingOrAddingIt) {
    EXPECT_EQ(BaseFor(folder_ / L"c.wav"), 2);
    ASSERT_TRUE(WriteBytes(folder_ / L"bb.wav", "x"));
    EXPECT_EQ(BaseFor(folder_ / L"bb.wav"), 2);
    ASSERT_TRUE(WriteBytes(folder_ / L"bz.txt", "x"));
    EXPECT_EQ(BaseFor(folder_ / L"bz.txt"), 3);
    EXPECT_EQ(app_.folderFiles.Count(), 6);
    ASSERT_TRUE(DeleteFileW((folder_ / L"d.wav").c_str()));
    app_.folderFiles.Discard();
    EXPECT_EQ(BaseFor(folder_ / L"d.wav"), -1);
    EXPECT_EQ(BaseFor(L""), -1);
}

ColourValue Custom(COLORREF c) {
    return static_cast<ColourValue>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
}

TEST_F(FolderListTest, ItemsArePaintedInThePlaylistColoursWithTheMenuFont) {
    const COLORREF background = RGB(0xF0, 0xE0, 0xD0), selected = RGB(0x20, 0x80, 0x40);
    app_.settings.colours[kPlaylistBg] = Custom(background);
    app_.settings.colours[kPlaylistSelBg] = Custom(selected);
    ASSERT_EQ(BaseFor(folder_ / L"a.wav"), 0);
    HDC dc = CreateCompatibleDC(nullptr);
    UniqueBitmap bitmap(CreateBitmap(160, 24, 1, 32, nullptr));
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    SetTextColor(dc, RGB(1, 1, 1));
    auto draw = [&](UINT id, ULONG_PTR index, UINT state) {
        DRAWITEMSTRUCT item = {ODT_MENU, 0, id, 0, state, nullptr, dc, {0, 0, 160, 24}, index};
        bool drawn = DrawFileListItem(app_, item);
        return drawn ? GetPixel(dc, 159, 0) : CLR_INVALID;
    };
    EXPECT_EQ(draw(1100, 1, 0), CLR_INVALID);  // no list is up
    HFONT font = nullptr;
    {
        FileListMenuSession session(app_, false);
        font = session.font();
        ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
        EXPECT_EQ(draw(1100, 1, 0), background);
        EXPECT_EQ(draw(1100, 1, ODS_SELECTED), selected);
        EXPECT_EQ(draw(0, 0, ODS_SELECTED | ODS_GRAYED), background);
        // An index the list no longer has (it changed under the open menu).
        EXPECT_EQ(draw(1100, 99, 0), background);
        MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 1100, 0, 0, 99};
        EXPECT_TRUE(MeasureFileListItem(app_, nullptr, measure));
        EXPECT_GE(measure.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYSMICON) + 4));
        EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
    }
    EXPECT_EQ(GetObjectType(font), 0u);  // the font goes with the menu
    SelectObject(dc, old);
    DeleteDC(dc);
}

}  // namespace
