// Access to one section of an INI file through the platform's profile
// functions, with the value formats every section of Zephlo.ini uses.
#ifndef ZEPHLO_SETTINGS_SETTINGS_FILE_H
#define ZEPHLO_SETTINGS_SETTINGS_FILE_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

// Default of every read: a value that comes back as this is absent.
inline constexpr wchar_t kMissing[] = L"\x1A";
// A window coordinate that was never stored.
constexpr int UnsetPosition = INT_MIN;

// Value parsers, also used for other files read through the INI functions.
// Integer: optional sign, digits up to the first non-digit; no digits gives 0.
int ParseIntValue(const wchar_t* text);
// Unsigned: digits only (a sign gives 0).
unsigned ParseUIntValue(const wchar_t* text);
// "yes" / "no" in any case; false (value unchanged) for anything else.
bool ParseBoolValue(const wchar_t* text, bool& value);
// "#RRGGBB" exactly, either case; the result is 0xRRGGBB.
bool ParseRgbValue(const wchar_t* text, std::uint32_t& rgb);
// Up to `wanted` integers separated by ","; returns how many were found.
int ParseIntListValue(const wchar_t* text, int* values, int wanted);
// "#RRGGBB" of the low 24 bits, upper case.
std::wstring FormatRgbValue(std::uint32_t rgb);

class SettingsFile {
public:
    enum Flags : unsigned { kRead = 1, kWrite = 2 };

    SettingsFile(const std::wstring& path, const wchar_t* section, unsigned flags);
    // A file opened for writing is flushed to disk.
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Reads the raw text into buffer (size characters with the terminator);
    // false when the key is absent.
    bool ReadString(const wchar_t* key, wchar_t* buffer, std::size_t size) const;
    bool ReadString(const wchar_t* key, std::wstring& value, std::size_t size) const;
    // Numbers and bools: an empty value counts as absent.
    bool ReadIntSetting(const wchar_t* key, int& value) const;
    bool ReadUIntSetting(const wchar_t* key, unsigned& value) const;
    bool ReadBoolSetting(const wchar_t* key, bool& value) const;
    bool ReadRgbSetting(const wchar_t* key, std::uint32_t& rgb) const;
    // On entry count is the number wanted, on return the number found.
    bool ReadIntListSetting(const wchar_t* key, int* values, int& count) const;

    bool WriteString(const wchar_t* key, const std::wstring& value) const;
    bool WriteIntSetting(const wchar_t* key, int value) const;
    bool WriteUIntSetting(const wchar_t* key, unsigned value) const;
    bool WriteBoolSetting(const wchar_t* key, bool value) const;
    bool WriteIntPairSetting(const wchar_t* key, int a, int b) const;
    bool WriteRgbSetting(const wchar_t* key, std::uint32_t rgb) const;
    // Empties the section.
    bool ClearSection() const;
    // Makes the platform write its cached contents (only when opened for writing).
    void FlushSettings() const;

private:
    std::wstring path_;
    std::wstring section_;
    unsigned flags_;
};

// A settings file that does not exist yet is created as UTF-16LE with a
// byte-order mark, so that the profile functions keep every character of
// the paths written into it; an existing file is left as it is.
void PrepareSettingsFileForWriting(const std::wstring& path);

#endif
