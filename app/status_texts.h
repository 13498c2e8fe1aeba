// The texts of the title bar and of the status bar's panes, built from the
// open file, the Media figures and the title settings.
#ifndef ZEPHLO_APP_STATUS_TEXTS_H
#define ZEPHLO_APP_STATUS_TEXTS_H

#include <cstdint>
#include <string>

#include "media/mp3_header.h"

// Times of 10 seconds and longer are shown without hundredths.
constexpr std::int32_t kHundredthsBelowLength = 10000;

// The user's decimal separator (at most 4 characters); "." when unavailable.
std::wstring UserDecimalSeparator();

// "hh:mm:ss" of a time in milliseconds (hours not limited to two digits);
// with hundredths followed by the separator and two digits.
std::wstring FormatTimeText(std::uint32_t milliseconds, bool hundredths,
                            const std::wstring& decimalSeparator);
// Pane 2: "position / length", both with hundredths when the length is below
// 10 seconds. A negative figure (nothing known) shows as 0.
std::wstring FormatTimePaneText(std::int32_t position, std::int32_t length,
                                const std::wstring& decimalSeparator);
// The text pane 2 is sized by: the long form of 0, twice.
std::wstring TimePaneSampleText(const std::wstring& decimalSeparator);

// Pane 1 for a video: "640 x 480 (150%)".
std::wstring FormatSizePaneText(int width, int height, int zoomPercent);
// Pane 1 for an MP3 file: "128kbps 44kHz".
std::wstring FormatMp3PaneText(const Mp3FrameInfo& info);
// Pane 1 for a file without video: the MP3 text when the path ends in ".mp3"
// and its frame header can be read, else empty.
std::wstring AudioPaneText(const std::wstring& path);

// The main window's title. `openPath` is empty when no file is open;
// `titleFormat` and `titleFileName` are the settings of the same names.
std::wstring FormatTitle(const std::wstring& openPath, int titleFormat, int titleFileName);

#endif
