#include "settings/settings_file.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "base/characters.h"
#include "base/handles.h"
#include "base/text.h"

namespace {

// The largest section read at once (characters).
constexpr std::size_t kMaxSectionCharacters = 64 * 1024 * 1024;

// Keys are compared without regard to the case of ASCII letters.
std::wstring FoldedKey(const std::wstring& key) {
    std::wstring folded = key;
    for (wchar_t& c : folded) {
        c = UpperAscii(c);
    }
    return folded;
}

// Accumulates decimal digits, saturating instead of overflowing.
std::uint64_t ParseDigits(const wchar_t* text, std::uint64_t limit) {
    std::uint64_t value = 0;
    for (; IsAsciiDigit(*text); ++text) {
        value = value * 10 + static_cast<unsigned>(*text - L'0');
        if (value > limit) {
            value = limit;
        }
    }
    return value;
}

// The characters the file drops from the ends of a line.
bool IsLineEndSpace(wchar_t c) {
    return (c >= L'\t' && c <= L'\r') || c == 0x1A || c == L' ';
}

}  // namespace

int ParseIntValue(const wchar_t* text) {
    bool negative = false;
    if (*text == L'-' || *text == L'+') {
        negative = *text == L'-';
        ++text;
    }
    std::uint64_t magnitude = ParseDigits(text, negative ? 2147483648ULL : 2147483647ULL);
    if (negative) {
        return magnitude == 2147483648ULL ? INT_MIN : -static_cast<int>(magnitude);
    }
    return static_cast<int>(magnitude);
}

unsigned ParseUIntValue(const wchar_t* text) {
    return static_cast<unsigned>(ParseDigits(text, 4294967295ULL));
}

bool ParseBoolValue(const wchar_t* text, bool& value) {
    if (lstrcmpiW(text, L"yes") == 0) {
        value = true;
        return true;
    }
    if (lstrcmpiW(text, L"no") == 0) {
        value = false;
        return true;
    }
    return false;
}

bool ParseRgbValue(const wchar_t* text, std::uint32_t& rgb) {
    if (text[0] != L'#' || lstrlenW(text) != 7) {
        return false;
    }
    std::uint32_t value = 0;
    for (int i = 1; i < 7; ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) {
            return false;
        }
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    rgb = value;
    return true;
}

int ParseIntListValue(const wchar_t* text, int* values, int wanted) {
    int found = 0;
    const wchar_t* at = text;
    while (found < wanted && *at != L'\0') {
        wchar_t number[12];
        int length = 0;
        while (*at != L'\0' && *at != L',' && *at != L' ' && *at != L'\t' && length < 11) {
            number[length++] = *at++;
        }
        number[length] = L'\0';
        values[found++] = ParseIntValue(number);
        while (*at != L'\0' && *at != L',') {
            ++at;
        }
        if (*at == L',') {
            ++at;
        }
    }
    return found;
}

std::wstring FormatRgbValue(std::uint32_t rgb) {
    return FormatText(L"#%02X%02X%02X", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

SettingsFile::SettingsFile(const std::wstring& path, const wchar_t* section, unsigned flags)
    : path_(path), section_(section), flags_(flags) {
    if (flags_ & kWrite) {
        PrepareSettingsFileForWriting(path_);
    }
}

SettingsFile::~SettingsFile() {
    FlushSettings();
}

void SettingsFile::Preload() {
    values_.clear();
    for (auto& [key, value] : ReadSection()) {
        // The platform drops one pair of quotes around a value.
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        values_.emplace(FoldedKey(key), std::move(value));
    }
    preloaded_ = true;
}

bool SettingsFile::ReadString(const wchar_t* key, wchar_t* buffer, std::size_t size) const {
    if (size == 0) {
        return false;
    }
    if (preloaded_) {
        auto found = values_.find(FoldedKey(key));
        if (found == values_.end()) {
            buffer[0] = L'\0';
            return false;
        }
        std::size_t length = found->second.size() < size - 1 ? found->second.size() : size - 1;
        found->second.copy(buffer, length);
        buffer[length] = L'\0';
        return true;
    }
    GetPrivateProfileStringW(section_.c_str(), key, kMissing, buffer, static_cast<DWORD>(size),
                             path_.c_str());
    return lstrcmpW(buffer, kMissing) != 0;
}

bool SettingsFile::ReadString(const wchar_t* key, std::wstring& value, std::size_t size) const {
    std::vector<wchar_t> buffer(size + 1, L'\0');
    if (!ReadString(key, buffer.data(), size)) {
        return false;
    }
    value = buffer.data();
    // A value cut short (to the size, or by a NUL byte in a damaged file) can
    // end in the spaces the file drops from the end of a line: dropped here
    // too, so that a value saved reads back the same.
    while (!value.empty() && IsLineEndSpace(value.back())) {
        value.pop_back();
    }
    return true;
}

bool SettingsFile::ReadIntSetting(const wchar_t* key, int& value) const {
    wchar_t buffer[16];
    if (!ReadString(key, buffer, 16) || buffer[0] == L'\0') {
        return false;
    }
    value = ParseIntValue(buffer);
    return true;
}

bool SettingsFile::ReadUIntSetting(const wchar_t* key, unsigned& value) const {
    wchar_t buffer[16];
    if (!ReadString(key, buffer, 16) || buffer[0] == L'\0') {
        return false;
    }
    value = ParseUIntValue(buffer);
    return true;
}

bool SettingsFile::ReadBoolSetting(const wchar_t* key, bool& value) const {
    wchar_t buffer[5];
    if (!ReadString(key, buffer, 5) || buffer[0] == L'\0') {
        return false;
    }
    return ParseBoolValue(buffer, value);
}

bool SettingsFile::ReadRgbSetting(const wchar_t* key, std::uint32_t& rgb) const {
    wchar_t buffer[32];
    if (!ReadString(key, buffer, 32)) {
        return false;
    }
    return ParseRgbValue(buffer, rgb);
}

bool SettingsFile::ReadIntListSetting(const wchar_t* key, int* values, int& count) const {
    if (count <= 0) {
        count = 0;
        return false;
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(count) * 12 + 1, L'\0');
    if (!ReadString(key, buffer.data(), buffer.size()) || buffer[0] == L'\0') {
        count = 0;
        return false;
    }
    count = ParseIntListValue(buffer.data(), values, count);
    return true;
}

bool SettingsFile::WriteString(const wchar_t* key, const std::wstring& value) const {
    return WritePrivateProfileStringW(section_.c_str(), key, value.c_str(), path_.c_str()) != 0;
}

bool SettingsFile::WriteIntSetting(const wchar_t* key, int value) const {
    return WriteString(key, FormatText(L"%d", value));
}

bool SettingsFile::WriteUIntSetting(const wchar_t* key, unsigned value) const {
    return WriteString(key, FormatText(L"%u", value));
}

bool SettingsFile::WriteBoolSetting(const wchar_t* key, bool value) const {
    return WriteString(key, value ? L"yes" : L"no");
}

bool SettingsFile::WriteIntPairSetting(const wchar_t* key, int a, int b) const {
    return WriteString(key, FormatText(L"%d,%d", a, b));
}

bool SettingsFile::WriteRgbSetting(const wchar_t* key, std::uint32_t rgb) const {
    return WriteString(key, FormatRgbValue(rgb));
}

bool SettingsFile::ClearSection() const {
    return WritePrivateProfileSectionW(section_.c_str(), L"", path_.c_str()) != 0;
}

IniEntries SettingsFile::ReadSection() const {
    // The section's text is "key=value" strings ending in an empty one; a
    // result of size - 2 means it did not fit.
    IniEntries entries;
    std::vector<wchar_t> buffer(16384);
    for (;;) {
        DWORD length = GetPrivateProfileSectionW(section_.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), path_.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= kMaxSectionCharacters) {
            break;
        }
        buffer.assign(buffer.size() * 4, L'\0');
    }
    for (const wchar_t* line = buffer.data(); *line != L'\0'; line += lstrlenW(line) + 1) {
        const wchar_t* equals = wcschr(line, L'=');
        if (equals != nullptr) {
            entries.emplace_back(std::wstring(line, static_cast<std::size_t>(equals - line)),
                                 std::wstring(equals + 1));
        }
    }
    return entries;
}

bool SettingsFile::WriteSection(const IniEntries& entries) const {
    std::wstring text;
    for (const auto& [key, value] : entries) {
        text += key;
        text += L'=';
        text += value;
        text += L'\0';
    }
    text += L'\0';
    return WritePrivateProfileSectionW(section_.c_str(), text.c_str(), path_.c_str()) != 0;
}

IniSectionBuilder::IniSectionBuilder(IniEntries existing) : entries_(std::move(existing)) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        index_.emplace(FoldedKey(entries_[i].first), i);
    }
}

void IniSectionBuilder::Set(const std::wstring& key, const std::wstring& value) {
    auto [position, added] = index_.emplace(FoldedKey(key), entries_.size());
    if (added) {
        entries_.emplace_back(key, value);
    } else {
        entries_[position->second].second = value;
    }
}

void IniSectionBuilder::SetInt(const std::wstring& key, int value) {
    Set(key, FormatText(L"%d", value));
}

void IniSectionBuilder::SetUInt(const std::wstring& key, unsigned value) {
    Set(key, FormatText(L"%u", value));
}

void IniSectionBuilder::SetBool(const std::wstring& key, bool value) {
    Set(key, value ? L"yes" : L"no");
}

void SettingsFile::FlushSettings() const {
    if (flags_ & kWrite) {
        // The platform answers FALSE here even when it wrote the file.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path_.c_str());
    }
}

void PrepareSettingsFileForWriting(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return;
    }
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    static const unsigned char kByteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file.get(), kByteOrderMark, sizeof kByteOrderMark, &written, nullptr);
}
