// Colour settings: a palette choice in the top byte and a custom RGB below it.
#ifndef ZEPHLO_SETTINGS_COLOURS_H
#define ZEPHLO_SETTINGS_COLOURS_H

#include <windows.h>

#include <cstdint>
#include <string>

// Top byte 0 = custom, 1-36 = palette entry; low 24 bits 0xRRGGBB.
using ColourValue = std::uint32_t;

constexpr int kPaletteSize = 36;
constexpr int kColourEntryCount = 15;

enum ColourEntry {
    kBackground,
    kFullScreenBg,
    kStatusText,
    kStatusBg,
    kPlaylistText,
    kPlaylistBg,
    kPlaylistSelText,
    kPlaylistSelBg,
    kPlaylistPlayingText,
    kPlaylistPlayingSelText,
    kPlaylistPlayedText,
    kTipText,
    kTipBg,
    kSeekBar,
    kVolume,
};

constexpr ColourValue MakePaletteColour(int number, std::uint32_t customRgb) {
    return static_cast<ColourValue>(number) << 24 | (customRgb & 0xFFFFFF);
}
constexpr int PaletteNumber(ColourValue value) {
    return static_cast<int>(value >> 24);
}
constexpr std::uint32_t CustomRgb(ColourValue value) {
    return value & 0xFFFFFF;
}

// The INI name of palette entry 1-36, or null.
const wchar_t* PaletteName(int number);
// The INI name of colour entry 0-14.
const wchar_t* ColourEntryName(int entry);
ColourValue DefaultColour(int entry);

// The platform colour (COLORREF) a value stands for; system colours are looked
// up each time.
COLORREF ResolveColour(ColourValue value);
// "#RRGGBB" (reading stops at the first non-hex digit) or a palette name in
// any case; a palette name keeps the custom RGB. False leaves value unchanged.
bool ParseColourText(const wchar_t* text, ColourValue& value);
std::wstring FormatColourText(ColourValue value);

#endif
