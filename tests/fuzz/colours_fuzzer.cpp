// Colour texts: any text given to the parser, and every value's text parsed
// back. A palette name keeps the custom colour it is given; a "#" text gives
// a custom colour within 24 bits.
#include <string>

#include "fuzz_check.h"
#include "settings/colours.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    ColourValue start = 0;
    for (int i = 0; i < 4; ++i) {
        start = start << 8 | input.Byte();
    }
    const std::wstring text = Utf16Units(input.Rest(), true);

    ColourValue value = start;
    if (ParseColourText(text.c_str(), value)) {
        if (text[0] == L'#') {
            FUZZ_CHECK(PaletteNumber(value) == 0);
        } else {
            FUZZ_CHECK(PaletteNumber(value) >= 1 && PaletteNumber(value) <= kPaletteSize);
            FUZZ_CHECK(CustomRgb(value) == CustomRgb(start));
        }
    } else {
        FUZZ_CHECK(value == start);
    }

    // Every value a setting can hold reads back from its text.
    const ColourValue held = MakePaletteColour(PaletteNumber(start) % (kPaletteSize + 1), start);
    ColourValue back = MakePaletteColour(0, CustomRgb(start));
    FUZZ_CHECK(ParseColourText(FormatColourText(held).c_str(), back));
    FUZZ_CHECK(back == held);
    return 0;
}
