// The settings file: the value parsers on any text, and the loader on a
// whole file. Besides crashes it checks that every number read back from its
// written form is the same, that the loader keeps every field within its
// range and every text within its read buffer, and that settings written and
// read again are the settings written (so a second save writes the same file).
#include <climits>
#include <cstring>
#include <string>

#include "base/text.h"
#include "fuzz_check.h"
#include "settings/settings.h"
#include "win32_shim.h"

namespace {

// What ParseIntValue must give: a sign, then digits saturating at the ends of int.
long long ReferenceInt(const std::wstring& text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) {
        negative = text[at] == L'-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = std::min<long long>(value * 10 + (text[at] - L'0'), 2147483648LL);
    }
    value = negative ? -value : std::min<long long>(value, INT_MAX);
    return value;
}

void CheckValueParsers(const std::wstring& text, std::uint32_t number) {
    FUZZ_CHECK(ParseIntValue(text.c_str()) == ReferenceInt(text.substr(0, text.find(L'\0'))));
    const int signedNumber = static_cast<int>(number);
    FUZZ_CHECK(ParseIntValue(FormatText(L"%d", signedNumber).c_str()) == signedNumber);
    FUZZ_CHECK(ParseUIntValue(FormatText(L"%u", number).c_str()) == number);

    bool flag = (number & 1) != 0;
    const bool before = flag;
    if (ParseBoolValue(text.c_str(), flag)) {
        FUZZ_CHECK(lstrcmpiW(text.c_str(), flag ? L"yes" : L"no") == 0);
    } else {
        FUZZ_CHECK(flag == before);
    }

    std::uint32_t rgb = 0;
    FUZZ_CHECK(ParseRgbValue(FormatRgbValue(number).c_str(), rgb) && rgb == (number & 0xFFFFFF));
    if (ParseRgbValue(text.c_str(), rgb)) {
        FUZZ_CHECK(rgb <= 0xFFFFFF && lstrcmpiW(FormatRgbValue(rgb).c_str(), text.c_str()) == 0);
    }

    int values[4] = {};
    const int wanted = static_cast<int>(number % 5);
    const int found = ParseIntListValue(text.c_str(), values, wanted);
    FUZZ_CHECK(found >= 0 && found <= wanted);
    int pair[2] = {};
    const int second = static_cast<int>(std::uint64_t{number} * 2654435761U % 4294967296U);
    FUZZ_CHECK(ParseIntListValue(FormatText(L"%d,%d", signedNumber, second).c_str(), pair, 2) == 2);
    FUZZ_CHECK(pair[0] == signedNumber && pair[1] == second);
}

void CheckRange(int value, int low, int high) {
    FUZZ_CHECK(value >= low && value <= high);
}

void CheckLoaded(const Settings& s) {
    CheckRange(s.zoomRate, 1, 1000);
    CheckRange(s.sortType, 0, 5);
    CheckRange(s.volume, 0, 1000);
    CheckRange(s.titleFormat, 0, 2);
    CheckRange(s.titleFileName, 0, 2);
    CheckRange(s.mediaDevice, 0, 1);
    CheckRange(s.maxFileHistory, 0, 36);
    CheckRange(s.maxDirHistory, 0, 36);
    CheckRange(s.maxFileListMenu, 1, 100);
    CheckRange(s.zoomStep, 1, 100);
    CheckRange(s.backwardSpeed, 1000, 4000);
    CheckRange(s.forwardSpeed, 1500, 4000);
    CheckRange(s.playlistFileName, 0, 2);
    CheckRange(s.maxPlaylistHistory, 0, 36);
    FUZZ_CHECK(!(s.fitToWindow && s.keepZoomRate));
    FUZZ_CHECK(s.openDirectory.size() < 260 && s.curThemeFile.size() < 260);
    FUZZ_CHECK(s.themePlugin.size() < 260 && s.fileMasks.size() < 512);
    for (const LayoutPreset& preset : s.presets) {
        FUZZ_CHECK(preset.name.size() < 32);
    }
    for (ColourValue colour : s.colours) {
        FUZZ_CHECK(PaletteNumber(colour) <= kPaletteSize);
    }
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    FUZZ_CHECK(ShimFileBytes(path, bytes));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ShimReset();
    FuzzInput input(data, size);
    std::uint32_t number = 0;
    for (int i = 0; i < 4; ++i) {
        number = number << 8 | input.Byte();
    }
    const std::string bytes = input.Rest();
    CheckValueParsers(Utf16Units(bytes, false), number);

    const std::wstring stored = L"C:\\Work\\Zephlo.ini";
    ShimSetFile(stored, bytes);
    Settings loaded;
    LoadSettings(stored, loaded);
    CheckLoaded(loaded);

    // Written and read again: the same settings, so the same file.
    const std::wstring first = L"C:\\Work\\first.ini";
    const std::wstring second = L"C:\\Work\\second.ini";
    SaveSettings(first, loaded);
    Settings again;
    LoadSettings(first, again);
    CheckLoaded(again);
    SaveSettings(second, again);
    FUZZ_CHECK(FileBytes(first) == FileBytes(second));
    return 0;
}
