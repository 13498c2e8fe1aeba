#include "settings/colours.h"

#include "base/characters.h"
#include "base/text.h"

namespace {

struct PaletteEntry {
    const wchar_t* name;
    std::uint32_t rgb;  // fixed colours
    int systemColour;   // system colour index, -1 for the fixed ones
};

constexpr PaletteEntry kPalette[kPaletteSize] = {
    {L"Black", 0x000000, -1},
    {L"Brown", 0x800000, -1},
    {L"Green", 0x008000, -1},
    {L"Olive", 0x808000, -1},
    {L"DarkBlue", 0x000080, -1},
    {L"DarkMagenta", 0x800080, -1},
    {L"DarkCyan", 0x008080, -1},
    {L"Gray", 0xC0C0C0, -1},
    {L"Silver", 0x808080, -1},
    {L"Red", 0xFF0000, -1},
    {L"Lime", 0x00FF00, -1},
    {L"Yellow", 0xFFFF00, -1},
    {L"Blue", 0x0000FF, -1},
    {L"Magenta", 0xFF00FF, -1},
    {L"Cyan", 0x00FFFF, -1},
    {L"White", 0xFFFFFF, -1},
    {L"Window", 0, COLOR_WINDOW},
    {L"WindowText", 0, COLOR_WINDOWTEXT},
    {L"Highlight", 0, COLOR_HIGHLIGHT},
    {L"HighlightText", 0, COLOR_HIGHLIGHTTEXT},
    {L"AppWorkSpace", 0, COLOR_APPWORKSPACE},
    {L"Desktop", 0, COLOR_BACKGROUND},
    {L"3DFace", 0, COLOR_3DFACE},
    {L"3DLight", 0, COLOR_3DLIGHT},
    {L"3DHighlight", 0, COLOR_3DHIGHLIGHT},
    {L"3DShadow", 0, COLOR_3DSHADOW},
    {L"3DDarkShadow", 0, COLOR_3DDKSHADOW},
    {L"ButtonText", 0, COLOR_BTNTEXT},
    {L"Menu", 0, COLOR_MENU},
    {L"MenuText", 0, COLOR_MENUTEXT},
    {L"ActiveCaption", 0, COLOR_ACTIVECAPTION},
    {L"ActiveCaptionText", 0, COLOR_CAPTIONTEXT},
    {L"InactiveCaption", 0, COLOR_INACTIVECAPTION},
    {L"InactiveCaptionText", 0, COLOR_INACTIVECAPTIONTEXT},
    {L"InfoBack", 0, COLOR_INFOBK},
    {L"InfoText", 0, COLOR_INFOTEXT},
};

constexpr int kBlack = 1;
constexpr int kWhite = 16;
constexpr int k3DFace = 23;

struct EntryDefinition {
    const wchar_t* name;
    ColourValue defaultValue;
};

constexpr EntryDefinition kEntries[kColourEntryCount] = {
    {L"Background", MakePaletteColour(kBlack, 0x000000)},
    {L"FullScreenBg", MakePaletteColour(kBlack, 0x000000)},
    {L"StatusText", 0x80C0FF},
    {L"StatusBg", MakePaletteColour(kBlack, 0x000000)},
    {L"PlaylistText", 0xE0E0E0},
    {L"PlaylistBg", MakePaletteColour(kBlack, 0x000000)},
    {L"PlaylistSelText", MakePaletteColour(kBlack, 0x000000)},
    {L"PlaylistSelBg", 0x80C0FF},
    {L"PlaylistPlayingText", MakePaletteColour(kWhite, 0xFFFFFF)},
    {L"PlaylistPlayingSelText", 0x203040},
    {L"PlaylistPlayedText", 0xC0C0C0},
    {L"TipText", MakePaletteColour(kBlack, 0x000000)},
    {L"TipBg", 0x80C0FF},
    {L"SeekBar", MakePaletteColour(k3DFace, 0xC0C0C0)},
    {L"Volume", 0x80C0FF},
};

COLORREF FromRgb(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

const wchar_t* PaletteName(int number) {
    return number >= 1 && number <= kPaletteSize ? kPalette[number - 1].name : nullptr;
}

const wchar_t* ColourEntryName(int entry) {
    return entry >= 0 && entry < kColourEntryCount ? kEntries[entry].name : L"";
}

ColourValue DefaultColour(int entry) {
    return entry >= 0 && entry < kColourEntryCount ? kEntries[entry].defaultValue : 0;
}

COLORREF ResolveColour(ColourValue value) {
    int number = PaletteNumber(value);
    if (number < 1 || number > kPaletteSize) {
        return FromRgb(CustomRgb(value));
    }
    const PaletteEntry& entry = kPalette[number - 1];
    return entry.systemColour < 0 ? FromRgb(entry.rgb) : GetSysColor(entry.systemColour);
}

bool ParseColourText(const wchar_t* text, ColourValue& value) {
    if (text[0] == L'#') {
        if (lstrlenW(text) != 7) {
            return false;
        }
        std::uint32_t rgb = 0;
        for (int i = 1; i < 7 && HexDigitValue(text[i]) >= 0; ++i) {
            rgb = rgb << 4 | static_cast<std::uint32_t>(HexDigitValue(text[i]));
        }
        value = rgb;
        return true;
    }
    for (int number = 1; number <= kPaletteSize; ++number) {
        if (lstrcmpiW(text, kPalette[number - 1].name) == 0) {
            value = MakePaletteColour(number, CustomRgb(value));
            return true;
        }
    }
    return false;
}

std::wstring FormatColourText(ColourValue value) {
    const wchar_t* name = PaletteName(PaletteNumber(value));
    if (name != nullptr) {
        return name;
    }
    std::uint32_t rgb = CustomRgb(value);
    return FormatText(L"#%02X%02X%02X", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
