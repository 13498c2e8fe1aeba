// Access to one section of an INI file through the platform's profile
// functions, with the value formats every section of Zephlo.ini uses.
#ifndef ZEPHLO_SETTINGS_SETTINGS_FILE_H
#define ZEPHLO_SETTINGS_SETTINGS_FILE_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The keys of a section in file order, with their values.
using IniEntries = std::vector<std::pair<std::wstring, std::wstring>>;

// Builds a whole section in memory with the effect of writing its keys one
// by one: a key already there keeps its place and takes the new value, a new
// key goes to the end. Written with SettingsFile::WriteSection at once, which
// spares the platform a rewrite of the file per key.
class IniSectionBuilder {
public:
    IniSectionBuilder() = default;
    explicit IniSectionBuilder(IniEntries existing);

    void Set(const std::wstring& key, const std::wstring& value);
    void SetInt(const std::wstring& key, int value);
    void SetUInt(const std::wstring& key, unsigned value);
    void SetBool(const std::wstring& key, bool value);
    const IniEntries& entries() const { return entries_; }

private:
    IniEntries entries_;
    // Position of each key, by its name with ASCII letters folded to upper case.
    std::unordered_map<std::wstring, std::size_t> index_;
};

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

    // Reads the whole section once; later reads are answered from memory,
    // as the platform would answer them. For sections read key by key.
    void Preload();

    // Reads the raw text into buffer (size characters with the terminator);
    // false when the key is absent.
    bool ReadString(const wchar_t* key, wchar_t* buffer, std::size_t size) const;
    // The text as a string, without the spaces the file drops from the end
    // of a line (a value cut short can end in them).
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
    // Every key of the section in file order.
    IniEntries ReadSection() const;
    // Replaces the whole section with these keys in one write.
    bool WriteSection(const IniEntries& entries) const;
    // Makes the platform write its cached contents (only when opened for writing).
    void FlushSettings() const;

private:
    std::wstring path_;
    std::wstring section_;
    unsigned flags_;
    bool preloaded_ = false;
    std::unordered_map<std::wstring, std::wstring> values_;
};

// A settings file that does not exist yet is created as UTF-16LE with a
// byte-order mark, so that the profile functions keep every character of
// the paths written into it; an existing file is left as it is.
void PrepareSettingsFileForWriting(const std::wstring& path);

#endif
