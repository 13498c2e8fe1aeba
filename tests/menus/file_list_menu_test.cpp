#include <gtest/gtest.h>

#include <vector>

#include "app/context_menus.h"
#include "files/folder_file_list.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

// ---- Which rows a file list shows ----

struct PlanCase {
    const char* name;
    UINT button;
    int base, count, limit;
    std::vector<int> indices;  // in menu order
    UINT firstId;
    bool more;
};

std::vector<int> Range(int from, int to) {  // inclusive, either direction
    std::vector<int> values;
    for (int i = from;; i += from <= to ? 1 : -1) {
        values.push_back(i);
        if (i == to) {
            break;
        }
    }
    return values;
}

class FileListPlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(FileListPlanTest, ShowsTheNeighboursNearestFirst) {
    const PlanCase& c = GetParam();
    FileListMenuPlan plan = PlanFileListMenu(c.button, c.base, c.count, c.limit);
    std::vector<int> indices;
    for (std::size_t j = 0; j < plan.items.size(); ++j) {
        indices.push_back(plan.items[j].index);
        EXPECT_EQ(plan.items[j].id, c.firstId + j) << c.name;
    }
    EXPECT_EQ(indices, c.indices) << c.name;
    EXPECT_EQ(plan.more, c.more) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileListPlanTest,
    testing::Values(
        PlanCase{"previous of 30 in 50, cut at 20", CMD_PREV_FILE, 30, 50, 20, Range(29, 10),
                 CMD_PREV_FILES_FIRST, true},
        PlanCase{"next of 30 in 50, 19 left", CMD_NEXT_FILE, 30, 50, 20, Range(31, 49),
                 CMD_NEXT_FILES_FIRST, false},
        PlanCase{"first file has no previous", CMD_PREV_FILE, 0, 50, 20, {}, 0, false},
        PlanCase{"last file has no next", CMD_NEXT_FILE, 49, 50, 20, {}, 0, false},
        PlanCase{"exactly the limit is not cut", CMD_PREV_FILE, 20, 50, 20, Range(19, 0),
                 CMD_PREV_FILES_FIRST, false},
        PlanCase{"one over the limit is cut", CMD_NEXT_FILE, 28, 50, 20, Range(29, 48),
                 CMD_NEXT_FILES_FIRST, true},
        // A limit beyond 100 would run the ids into the other list's range.
        PlanCase{"limit taken as at most 100", CMD_NEXT_FILE, 0, 300, 500, Range(1, 100),
                 CMD_NEXT_FILES_FIRST, true},
        PlanCase{
            "limit taken as at least 1", CMD_PREV_FILE, 5, 10, 0, {4}, CMD_PREV_FILES_FIRST, true},
        PlanCase{"no playing entry: next lists from the start", CMD_NEXT_FILE, -1, 3, 20,
                 Range(0, 2), CMD_NEXT_FILES_FIRST, false},
        PlanCase{"no playing entry: no previous", CMD_PREV_FILE, -1, 3, 20, {}, 0, false},
        PlanCase{"stale base beyond the list", CMD_PREV_FILE, 12, 5, 20, {}, 0, false},
        PlanCase{"empty list", CMD_NEXT_FILE, 0, 0, 20, {}, 0, false},
        PlanCase{"not a file list button", CMD_FIRST_FILE, 3, 10, 20, {}, 0, false}));

TEST(FileListMenuTest, ItemsAreOwnerDrawnWithTheIndexAsDataAndEndInAGrayedMore) {
    FileListMenuPlan plan = PlanFileListMenu(CMD_PREV_FILE, 30, 50, 2);
    UniqueMenu menu = BuildFileListMenu(plan);
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 3);
    struct Expected {
        UINT id;
        ULONG_PTR data;
        bool grayed;
    } expected[] = {{1000, 29, false}, {1001, 28, false}, {0, 0, true}};
    for (UINT position = 0; position < 3; ++position) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoW(menu.get(), position, TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << position;
        EXPECT_EQ(info.wID, expected[position].id) << position;
        EXPECT_EQ(info.dwItemData, expected[position].data) << position;
        EXPECT_EQ((info.fState & MFS_GRAYED) != 0, expected[position].grayed) << position;
    }
}

TEST(FileListMenuTest, ColoursFollowSelectionUnlessGrayedAndThePlayedMark) {
    struct Case {
        bool selected, grayed, played;
        ColourEntry text, background;
    } cases[] = {
        {false, false, false, kPlaylistText, kPlaylistBg},
        {false, false, true, kPlaylistPlayedText, kPlaylistBg},
        {true, false, false, kPlaylistSelText, kPlaylistSelBg},
        {true, false, true, kPlaylistSelText, kPlaylistSelBg},
        {true, true, false, kPlaylistText, kPlaylistBg},
    };
    for (const Case& c : cases) {
        FileListItemColours colours = ChooseFileListColours(c.selected, c.grayed, c.played);
        EXPECT_EQ(colours.text, c.text) << c.selected << c.grayed << c.played;
        EXPECT_EQ(colours.background, c.background) << c.selected << c.grayed << c.played;
    }
}

// ---- The open file's place in the folder list ----

class FolderBaseTest : public testing::Test {
  protected:
    void SetUp() override {
        g_settings.fileMasks = L"*.wav";
        g_settings.sortType = 0;
        g_settings.sortDescending = false;
        for (const wchar_t* name : {L"a.wav", L"b.wav", L"c.wav", L"d.wav"}) {
            ASSERT_TRUE(WriteBytes(folder_ / name, "x"));
        }
    }
    void TearDown() override { DiscardFolderList(); }

    TempFolder folder_;
};

TEST_F(FolderBaseTest, FindsTheFileAndAFileAddedSinceTheListWasBuilt) {
    EXPECT_EQ(FolderListBaseFor(folder_ / L"c.wav"), 2);
    ASSERT_TRUE(WriteBytes(folder_ / L"bb.wav", "x"));
    EXPECT_EQ(FolderListBaseFor(folder_ / L"bb.wav"), 2);
    EXPECT_EQ(FolderListCount(), 5);
}

// A file the masks leave out (opened through "all files") joins the list in
// its sorted place, so its neighbours can be listed.
TEST_F(FolderBaseTest, AddsAnOpenFileTheMasksLeaveOut) {
    ASSERT_TRUE(WriteBytes(folder_ / L"bz.txt", "x"));
    EXPECT_EQ(FolderListBaseFor(folder_ / L"bz.txt"), 2);
    EXPECT_EQ(FolderListCount(), 5);
}

// Deleted after the list was built and not in it (the list was refreshed,
// or the masks never took it): nothing to list around.
TEST_F(FolderBaseTest, ADeletedOpenFileOutsideTheListGivesNoMenu) {
    EXPECT_EQ(FolderListBaseFor(folder_ / L"d.wav"), 3);
    ASSERT_TRUE(DeleteFileW((folder_ / L"d.wav").c_str()));
    DiscardFolderList();
    EXPECT_EQ(FolderListBaseFor(folder_ / L"d.wav"), -1);
    EXPECT_EQ(FolderListBaseFor(folder_ / L"gone.txt"), -1);
    EXPECT_EQ(FolderListCount(), 3);
    EXPECT_EQ(FolderListBaseFor(L""), -1);
}

// ---- Measuring and drawing the items ----

constexpr COLORREF kText = RGB(0x10, 0x20, 0x30);
constexpr COLORREF kBackground = RGB(0xF0, 0xE0, 0xD0);
constexpr COLORREF kSelText = RGB(0x01, 0x02, 0x03);
constexpr COLORREF kSelBackground = RGB(0x20, 0x80, 0x40);

ColourValue Custom(COLORREF colour) {
    return MakePaletteColour(0, static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
                                    GetGValue(colour) << 8 | GetBValue(colour));
}

class FileListDrawTest : public FolderBaseTest {
  protected:
    void SetUp() override {
        FolderBaseTest::SetUp();
        g_settings.colours[kPlaylistText] = Custom(kText);
        g_settings.colours[kPlaylistBg] = Custom(kBackground);
        g_settings.colours[kPlaylistSelText] = Custom(kSelText);
        g_settings.colours[kPlaylistSelBg] = Custom(kSelBackground);
        ASSERT_EQ(FolderListBaseFor(folder_ / L"a.wav"), 0);
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_.reset(CreateBitmap(kWidth, kHeight, 1, 32, nullptr));
        selected_ = SelectObject(dc_, bitmap_.get());
    }
    void TearDown() override {
        SelectObject(dc_, selected_);
        DeleteDC(dc_);
        FolderBaseTest::TearDown();
    }

    DRAWITEMSTRUCT Item(UINT id, ULONG_PTR data, UINT state) const {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_MENU;
        item.itemID = id;
        item.itemData = data;
        item.itemState = state;
        item.hDC = dc_;
        item.rcItem = {0, 0, kWidth, kHeight};
        return item;
    }
    COLORREF Corner() const { return GetPixel(dc_, kWidth - 1, 0); }

    static constexpr int kWidth = 160;
    static constexpr int kHeight = 24;
    HDC dc_ = nullptr;
    UniqueBitmap bitmap_;
    HGDIOBJ selected_ = nullptr;
};

TEST_F(FileListDrawTest, AnsweredOnlyWhileAListIsUp) {
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 1100, 0, 0, 1};
    EXPECT_FALSE(MeasureFileListItem(nullptr, measure));
    EXPECT_FALSE(DrawFileListItem(Item(1100, 1, 0)));
    FileListMenuSession session(false);
    MEASUREITEMSTRUCT other = {ODT_MENU, 0, CMD_OPEN, 0, 0, 0};
    EXPECT_FALSE(MeasureFileListItem(nullptr, other));
    EXPECT_TRUE(MeasureFileListItem(nullptr, measure));
    EXPECT_GE(measure.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYSMICON) + 4));
    EXPECT_GT(measure.itemWidth, static_cast<UINT>(GetSystemMetrics(SM_CXSMICON) + 8));
}

TEST_F(FileListDrawTest, PaintsThePlaylistColoursAndRestoresTheDeviceContext) {
    SetTextColor(dc_, RGB(1, 1, 1));
    SetBkMode(dc_, OPAQUE);
    FileListMenuSession session(false);
    ASSERT_TRUE(DrawFileListItem(Item(1100, 1, 0)));
    EXPECT_EQ(Corner(), kBackground);
    ASSERT_TRUE(DrawFileListItem(Item(1100, 1, ODS_SELECTED)));
    EXPECT_EQ(Corner(), kSelBackground);
    ASSERT_TRUE(DrawFileListItem(Item(0, 0, ODS_SELECTED | ODS_GRAYED)));
    EXPECT_EQ(Corner(), kBackground);
    EXPECT_EQ(GetTextColor(dc_), RGB(1, 1, 1));
    EXPECT_EQ(GetBkMode(dc_), OPAQUE);
}

// The list may change under an open menu (a file ends and the next one of
// another folder opens): an index it no longer has draws an empty row.
TEST_F(FileListDrawTest, AnIndexOutsideTheListIsDrawnEmpty) {
    FileListMenuSession session(false);
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 1100, 0, 0, 99};
    EXPECT_TRUE(MeasureFileListItem(nullptr, measure));
    EXPECT_TRUE(DrawFileListItem(Item(1100, 99, 0)));
    DiscardFolderList();
    EXPECT_TRUE(DrawFileListItem(Item(1100, 1, 0)));
    EXPECT_EQ(Corner(), kBackground);
}

// Object counts are not kept by every platform the tests run on: the font is
// checked by its handle.
TEST_F(FileListDrawTest, TheMenuFontLivesAsLongAsTheSession) {
    HFONT font = nullptr;
    {
        FileListMenuSession session(false);
        font = session.font();
        ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
        LOGFONTW menuFont = {};
        GetObjectW(font, sizeof menuFont, &menuFont);
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        EXPECT_STREQ(menuFont.lfFaceName, metrics.lfMenuFont.lfFaceName);
        EXPECT_EQ(menuFont.lfHeight, metrics.lfMenuFont.lfHeight);
        EXPECT_TRUE(DrawFileListItem(Item(1100, 2, ODS_SELECTED)));
    }
    EXPECT_EQ(GetObjectType(font), 0u);
}

}  // namespace
