#include "settings/colours.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseColourText, ReadsHexFormsAndPaletteNames) {
    ColourValue value = 0x123456;
    EXPECT_TRUE(ParseColourText(L"#80c0ff", value));
    EXPECT_EQ(value, 0x80C0FFu);
    // Reading stops at the first character that is not hexadecimal.
    EXPECT_TRUE(ParseColourText(L"#80C0ZZ", value));
    EXPECT_EQ(value, 0x0080C0u);
    EXPECT_FALSE(ParseColourText(L"#80C0F", value));
    EXPECT_FALSE(ParseColourText(L"#80C0FF0", value));
    EXPECT_EQ(value, 0x0080C0u);

    value = 0x123456;
    EXPECT_TRUE(ParseColourText(L"darkblue", value));
    EXPECT_EQ(PaletteNumber(value), 5);
    EXPECT_EQ(CustomRgb(value), 0x123456u);
    EXPECT_FALSE(ParseColourText(L"Purple", value));
    EXPECT_EQ(PaletteNumber(value), 5);
}

TEST(FormatColourText, WritesNamesOrUpperCaseHex) {
    EXPECT_EQ(FormatColourText(0x80c0ff), L"#80C0FF");
    EXPECT_EQ(FormatColourText(MakePaletteColour(1, 0xABCDEF)), L"Black");
    EXPECT_EQ(FormatColourText(MakePaletteColour(23, 0)), L"3DFace");
    EXPECT_EQ(FormatColourText(MakePaletteColour(36, 0)), L"InfoText");
    for (int number = 1; number <= kPaletteSize; ++number) {
        ColourValue value = 0;
        ASSERT_TRUE(ParseColourText(FormatColourText(MakePaletteColour(number, 0)).c_str(), value));
        EXPECT_EQ(PaletteNumber(value), number);
    }
}

TEST(ResolveColour, GivesFixedAndSystemColours) {
    EXPECT_EQ(ResolveColour(0x80C0FF), RGB(0x80, 0xC0, 0xFF));
    EXPECT_EQ(ResolveColour(MakePaletteColour(8, 0)), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(ResolveColour(MakePaletteColour(9, 0)), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(ResolveColour(MakePaletteColour(23, 0)), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(ResolveColour(MakePaletteColour(35, 0)), GetSysColor(COLOR_INFOBK));
}

}  // namespace
