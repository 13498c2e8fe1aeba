#include "app/status_texts.h"

#include <windows.h>

#include "app/program.h"
#include "base/text.h"
#include "base/paths.h"

namespace {

constexpr int kDecimalSeparatorSize = 5;  // 4 characters and the terminator

std::uint32_t NonNegative(std::int32_t value) {
    return value < 0 ? 0 : static_cast<std::uint32_t>(value);
}

}  // namespace

std::wstring UserDecimalSeparator() {
    wchar_t separator[kDecimalSeparatorSize] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, kDecimalSeparatorSize) <=
        1) {
        return L".";
    }
    return separator;
}

std::wstring FormatTimeText(std::uint32_t milliseconds, bool hundredths,
                            const std::wstring& decimalSeparator) {
    const unsigned hours = milliseconds / 3600000;
    const unsigned minutes = milliseconds / 60000 % 60;
    const unsigned seconds = milliseconds / 1000 % 60;
    if (!hundredths) {
        return FormatText(L"%02u:%02u:%02u", hours, minutes, seconds);
    }
    return FormatText(L"%02u:%02u:%02u%s%02u", hours, minutes, seconds, decimalSeparator.c_str(),
                      milliseconds / 10 % 100);
}

std::wstring FormatTimePaneText(std::int32_t position, std::int32_t length,
                                const std::wstring& decimalSeparator) {
    const bool hundredths = length < kHundredthsBelowLength;
    return FormatTimeText(NonNegative(position), hundredths, decimalSeparator) + L" / " +
           FormatTimeText(NonNegative(length), hundredths, decimalSeparator);
}

std::wstring TimePaneSampleText(const std::wstring& decimalSeparator) {
    const std::wstring zero = FormatTimeText(0, true, decimalSeparator);
    return zero + L" / " + zero;
}

std::wstring FormatSizePaneText(int width, int height, int zoomPercent) {
    return FormatText(L"%d x %d (%d%%)", width, height, zoomPercent);
}

std::wstring FormatMp3PaneText(const Mp3FrameInfo& info) {
    return FormatText(L"%dkbps %dkHz", info.bitRate / 1000, info.sampleRate / 1000);
}

std::wstring AudioPaneText(const std::wstring& path) {
    Mp3FrameInfo info;
    if (!HasExtension(path, L".mp3") || !ReadMp3FrameInfo(path, info)) {
        return {};
    }
    return FormatMp3PaneText(info);
}

std::wstring FormatTitle(const std::wstring& openPath, int titleFormat, int titleFileName) {
    if (openPath.empty() || titleFormat == 2) {
        return kProgramName;
    }
    const std::wstring path = openPath.substr(0, kMaxPath - 1);
    std::wstring name;
    switch (titleFileName) {
        case 1:
            name = path;
            break;
        case 2:
            name = PathCompact(path);
            break;
        default:
            name = PathFileName(path);
            break;
    }
    if (titleFormat == 1) {
        return name + L" - " + kProgramName;
    }
    return std::wstring(kProgramName) + L" - " + name;
}
