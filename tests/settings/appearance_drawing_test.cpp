#include "settings/appearance_drawing.h"

#include <gtest/gtest.h>

#include "base/handles.h"

namespace {

TEST(LayOutColourItem, PutsATwiceAsWideSwatchTwoPixelsInside) {
    struct Case {
        RECT item;
        RECT swatch;
        RECT text;
    } cases[] = {
        {{0, 0, 100, 14}, {2, 2, 22, 12}, {24, 0, 100, 14}},
        {{5, 28, 120, 42}, {7, 30, 27, 40}, {29, 28, 120, 42}},
        // Too low for a swatch: an empty one, the text still beside it.
        {{0, 0, 50, 3}, {2, 2, 2, 2}, {4, 0, 50, 3}},
    };
    for (const Case& c : cases) {
        ColourItemLayout layout = LayOutColourItem(c.item);
        EXPECT_TRUE(EqualRect(&layout.swatch, &c.swatch)) << c.item.top;
        EXPECT_TRUE(EqualRect(&layout.text, &c.text)) << c.item.top;
    }
}

// Items drawn into a bitmap of their own.
class ColourItemDrawing : public testing::Test {
protected:
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 16;

    void SetUp() override {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc_.reset(CreateCompatibleDC(nullptr));
        ASSERT_TRUE(bitmap_ && dc_);
        selection_ = SelectObject(dc_.get(), bitmap_.get());
    }
    void TearDown() override { SelectObject(dc_.get(), selection_); }

    DRAWITEMSTRUCT Item(UINT id, UINT state) const {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.itemID = id;
        item.itemState = state;
        item.hDC = dc_.get();
        item.rcItem = {0, 0, kWidth, kHeight};
        return item;
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_.get(), x, y); }
    // Whether a pixel of the text area has the colour.
    bool TextShows(COLORREF colour) const {
        for (int x = 28; x < kWidth; ++x) {
            for (int y = 0; y < kHeight; ++y) {
                if (Pixel(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }

    UniqueBitmap bitmap_;
    UniqueMemoryDC dc_;
    HGDIOBJ selection_ = nullptr;
};

TEST_F(ColourItemDrawing, SwatchBackgroundAndTextFollowTheItemState) {
    const COLORREF swatch = RGB(0x12, 0x80, 0xC0);
    struct Case {
        const char* what;
        UINT state;
        int background;
        int text;
    } cases[] = {
        {"plain", 0, COLOR_WINDOW, COLOR_WINDOWTEXT},
        {"selected", ODS_SELECTED, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
        {"selected with the focus", ODS_SELECTED | ODS_FOCUS, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
        {"disabled drop-down field", ODS_COMBOBOXEDIT | ODS_DISABLED, COLOR_BTNFACE,
         COLOR_GRAYTEXT},
        {"enabled drop-down field", ODS_COMBOBOXEDIT, COLOR_WINDOW, COLOR_WINDOWTEXT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DrawColourItem(Item(3, c.state), swatch, L"■■■■");
        // Swatch (2, 2)-(26, 14): outline and fill; the item's background around it.
        EXPECT_EQ(Pixel(2, 2), RGB(0, 0, 0));
        EXPECT_EQ(Pixel(25, 13), RGB(0, 0, 0));
        EXPECT_EQ(Pixel(3, 3), swatch);
        EXPECT_EQ(Pixel(24, 12), swatch);
        EXPECT_EQ(Pixel(26, 8), GetSysColor(c.background));
        EXPECT_EQ(Pixel(kWidth - 2, kHeight / 2), GetSysColor(c.background));
        EXPECT_TRUE(TextShows(GetSysColor(c.text)));
        // The focus rectangle runs along the item's edge.
        bool focus = (c.state & ODS_FOCUS) != 0;
        EXPECT_EQ(
            Pixel(40, 0) != GetSysColor(c.background) || Pixel(41, 0) != GetSysColor(c.background),
            focus);
    }
}

TEST_F(ColourItemDrawing, PreviewDrawsTheImagesThatFitWhole) {
    // Three 16 x 8 images, each one colour.
    UniqueImageList images(ImageList_Create(16, 8, ILC_COLOR32, 3, 0));
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (COLORREF colour : colours) {
        UniqueBitmap image(CreateBitmap(16, 8, 1, 32, nullptr));
        UniqueMemoryDC imageDc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(imageDc.get(), image.get());
        RECT all = {0, 0, 16, 8};
        UniqueBrush brush(CreateSolidBrush(colour));
        FillRect(imageDc.get(), &all, brush.get());
        SelectObject(imageDc.get(), old);
        ASSERT_GE(ImageList_Add(images.get(), image.get(), nullptr), 0);
    }
    RECT area = {4, 0, 4 + 40, kHeight};
    DrawPicturePreview(dc_.get(), area, images.get());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(Pixel(4, 8), colours[0]);
    EXPECT_EQ(Pixel(19, 11), colours[0]);
    EXPECT_EQ(Pixel(20, 8), colours[1]);
    EXPECT_EQ(Pixel(35, 8), colours[1]);
    // The third would not fit: the face colour, also above and below.
    EXPECT_EQ(Pixel(36, 8), face);
    EXPECT_EQ(Pixel(43, 8), face);
    EXPECT_EQ(Pixel(10, 1), face);
    EXPECT_EQ(Pixel(10, 13), face);

    DrawPicturePreview(dc_.get(), area, nullptr);
    EXPECT_EQ(Pixel(10, 8), face);
}

}  // namespace
