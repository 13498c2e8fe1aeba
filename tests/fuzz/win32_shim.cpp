// The platform functions of shim/windows.h, emulated for the native fuzz
// targets: code page conversions as the platform makes them (the ANSI code
// page is 932, as on the users' systems), settings files parsed and written
// the way the platform's profile functions do, and files, folders and menus
// held in memory.
#include "win32_shim.h"

#include <iconv.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <map>
#include <memory>
#include <optional>

namespace {

[[noreturn]] void Unreached(const char* name) {
    std::fprintf(stderr, "win32 shim: %s is not expected in a fuzz target\n", name);
    std::abort();
}

constexpr UINT kAnsiCodePage = 932;
// What the ANSI code page gives for a byte sequence it has no character for.
constexpr wchar_t kAnsiDefaultChar = 0x30FB;

// ---------------------------------------------------------------------------
// UTF-16 and UTF-8

void AppendUtf16(std::uint32_t code, std::wstring& out) {
    if (code >= 0x10000) {
        code -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (code >> 10));
        out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
        out += static_cast<wchar_t>(code);
    }
}

// UTF-8 to UTF-16, each ill-formed subsequence becoming one U+FFFD.
std::wstring DecodeUtf8(const char* bytes, std::size_t size) {
    std::wstring out;
    std::size_t at = 0;
    while (at < size) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++at;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            out += 0xFFFD;
            ++at;
            continue;
        }
        std::size_t taken = 1;
        bool complete = true;
        for (; taken < length; ++taken) {
            if (at + taken >= size) {
                complete = false;
                break;
            }
            const auto byte = static_cast<unsigned char>(bytes[at + taken]);
            if (byte < (taken == 1 ? low : 0x80) || byte > (taken == 1 ? high : 0xBF)) {
                complete = false;
                break;
            }
            code = code << 6 | (byte & 0x3F);
        }
        if (complete) {
            AppendUtf16(code, out);
        } else {
            out += 0xFFFD;
        }
        at += taken;
    }
    return out;
}

// UTF-16 to UTF-8, a lone surrogate becoming U+FFFD.
std::string EncodeUtf8(const wchar_t* text, std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        std::uint32_t code = static_cast<std::uint32_t>(text[i]) & 0xFFFF;
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < size &&
            (static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF) >= 0xDC00 &&
            (static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) +
                   ((static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF) - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Code page 932 through the host's converter

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            std::fprintf(stderr, "win32 shim: no %s to %s converter\n", from, to);
            std::abort();
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The whole input converted, or nothing.
    std::optional<std::string> Convert(const std::string& in) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 4 + 8, '\0');
        char* input = const_cast<char*>(in.data());
        std::size_t inputLeft = in.size();
        char* output = out.data();
        std::size_t outputLeft = out.size();
        if (iconv(handle_, &input, &inputLeft, &output, &outputLeft) ==
                static_cast<std::size_t>(-1) ||
            inputLeft != 0) {
            return std::nullopt;
        }
        out.resize(out.size() - outputLeft);
        return out;
    }

private:
    iconv_t handle_;
};

Converter& FromAnsi() {
    static Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& ToAnsi() {
    static Converter converter("CP932", "UTF-8");
    return converter;
}

bool IsAnsiLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::wstring DecodeAnsi(const char* bytes, std::size_t size) {
    std::wstring out;
    std::size_t at = 0;
    while (at < size) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte < 0x80) {
            out += static_cast<wchar_t>(byte);
            ++at;
            continue;
        }
        std::size_t length = IsAnsiLeadByte(byte) && at + 1 < size ? 2 : 1;
        std::optional<std::string> utf8 = FromAnsi().Convert(std::string(bytes + at, length));
        std::wstring wide = utf8 ? DecodeUtf8(utf8->data(), utf8->size()) : std::wstring();
        out += wide.empty() ? std::wstring(1, kAnsiDefaultChar) : wide;
        at += length;
    }
    return out;
}

// The bytes of one UTF-16 unit (or pair) in code page 932; nothing when the
// code page has no exact form for it.
std::optional<std::string> EncodeAnsiCharacter(const wchar_t* text, std::size_t length) {
    if (length == 1 && text[0] < 0x80) {
        return std::string(1, static_cast<char>(text[0]));
    }
    std::optional<std::string> bytes = ToAnsi().Convert(EncodeUtf8(text, length));
    if (!bytes || DecodeAnsi(bytes->data(), bytes->size()) != std::wstring(text, length)) {
        return std::nullopt;
    }
    return bytes;
}

// ---------------------------------------------------------------------------
// Files and folders

struct Entry {
    bool folder = false;
    std::string bytes;
};

std::wstring FoldCase(const std::wstring& text) {
    std::wstring folded = text;
    for (wchar_t& c : folded) {
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    return folded;
}

std::map<std::wstring, Entry>& Files() {
    static std::map<std::wstring, Entry> files;
    return files;
}

std::wstring& WorkingFolder() {
    static std::wstring folder = L"C:\\Work";
    return folder;
}

Entry* FindEntry(const std::wstring& path) {
    auto found = Files().find(FoldCase(path));
    return found == Files().end() ? nullptr : &found->second;
}

struct OpenFile {
    std::wstring path;
    std::size_t position = 0;
};

// ---------------------------------------------------------------------------
// Settings files, as the platform's profile functions treat them

enum class Encoding { kAnsi, kUtf8, kUtf16 };

struct ProfileKey {
    std::wstring name;
    std::optional<std::wstring> value;
};

struct ProfileSection {
    std::wstring name;
    std::vector<ProfileKey> keys;
};

struct Profile {
    Encoding encoding = Encoding::kAnsi;
    std::vector<ProfileSection> sections;  // the first is the one before any header
};

bool IsProfileSpace(wchar_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

std::wstring TrimProfileSpaces(const std::wstring& text) {
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && IsProfileSpace(text[start])) {
        ++start;
    }
    while (end > start && IsProfileSpace(text[end - 1])) {
        --end;
    }
    return text.substr(start, end - start);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return FoldCase(a) == FoldCase(b);
}

Profile ParseProfile(const std::string& bytes) {
    Profile profile;
    std::wstring text;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        profile.encoding = Encoding::kUtf8;
        text = DecodeUtf8(bytes.data() + 3, bytes.size() - 3);
    } else if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
        profile.encoding = Encoding::kUtf16;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
    } else {
        text = DecodeAnsi(bytes.data(), bytes.size());
    }
    profile.sections.push_back({});
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t start = at;
        while (at < text.size() && text[at] != L'\n' && text[at] != L'\r') {
            ++at;
        }
        std::wstring line = TrimProfileSpaces(text.substr(start, at - start));
        while (at < text.size() && (text[at] == L'\n' || text[at] == L'\r')) {
            ++at;
        }
        if (line.empty()) {
            continue;
        }
        if (line[0] == L'[') {
            std::size_t close = line.rfind(L']');
            if (close != std::wstring::npos && close > 0) {
                profile.sections.push_back({TrimProfileSpaces(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        ProfileKey key;
        std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) {
            key.name = line;
        } else {
            std::wstring name = line.substr(0, equals);
            while (!name.empty() && IsProfileSpace(name.back())) {
                name.pop_back();
            }
            key.name = name;
            std::size_t value = equals + 1;
            while (value < line.size() && IsProfileSpace(line[value])) {
                ++value;
            }
            key.value = line.substr(value);
        }
        std::vector<ProfileKey>& keys = profile.sections.back().keys;
        if (!key.name.empty() || keys.empty() || !keys.back().name.empty()) {
            keys.push_back(std::move(key));
        }
    }
    return profile;
}

std::string FormatProfile(const Profile& profile) {
    std::wstring text;
    for (const ProfileSection& section : profile.sections) {
        if (!section.name.empty()) {
            text += L"[" + section.name + L"]\r\n";
        }
        for (const ProfileKey& key : section.keys) {
            text += key.name;
            if (key.value) {
                text += L"=" + *key.value;
            }
            text += L"\r\n";
        }
    }
    switch (profile.encoding) {
        case Encoding::kUtf8:
            return "\xEF\xBB\xBF" + EncodeUtf8(text.data(), text.size());
        case Encoding::kUtf16: {
            std::string bytes = "\xFF\xFE";
            for (wchar_t c : text) {
                bytes += static_cast<char>(c & 0xFF);
                bytes += static_cast<char>((c >> 8) & 0xFF);
            }
            return bytes;
        }
        case Encoding::kAnsi:
            break;
    }
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::optional<std::string> character = EncodeAnsiCharacter(&text[i], 1);
        bytes += character ? *character : std::string("?");
    }
    return bytes;
}

// The file parsed; parsed again only when its bytes changed.
const Profile& ReadProfile(const std::wstring& path) {
    static std::map<std::wstring, std::pair<std::string, Profile>> parsed;
    static const Profile none;
    Entry* entry = FindEntry(path);
    if (entry == nullptr || entry->folder) {
        return none;
    }
    auto& [bytes, profile] = parsed[FoldCase(path)];
    if (bytes != entry->bytes || profile.sections.empty()) {
        bytes = entry->bytes;
        profile = ParseProfile(bytes);
    }
    return profile;
}

Profile LoadProfile(const std::wstring& path) {
    return ReadProfile(path);
}

bool StoreProfile(const std::wstring& path, const Profile& profile) {
    Entry* entry = FindEntry(path);
    if (entry != nullptr && entry->folder) {
        return false;
    }
    Files()[FoldCase(path)] = Entry{false, FormatProfile(profile)};
    return true;
}

template <typename P>
auto FindSection(P& profile, const std::wstring& name) -> decltype(&profile.sections[0]) {
    for (auto& section : profile.sections) {
        if (SameName(section.name, TrimProfileSpaces(name))) {
            return &section;
        }
    }
    return nullptr;
}

// The value as the platform hands it out: one pair of quotes around it dropped.
std::wstring Unquoted(const std::wstring& value) {
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0]) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

void CopyOut(const std::wstring& text, LPWSTR buffer, DWORD size) {
    std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), buffer);
    buffer[length] = L'\0';
}

// ---------------------------------------------------------------------------
// Menus

struct MenuItem {
    UINT id = 0;
    UINT flags = 0;
    std::wstring text;
};

std::map<HMENU, std::vector<MenuItem>>& Menus() {
    static std::map<HMENU, std::vector<MenuItem>> menus;
    return menus;
}

std::vector<MenuItem>* ItemsOf(HMENU menu) {
    auto found = Menus().find(menu);
    return found == Menus().end() ? nullptr : &found->second;
}

// The index of an item by position or by command; -1 when there is none.
int ItemIndex(HMENU menu, UINT item, UINT flags) {
    std::vector<MenuItem>* items = ItemsOf(menu);
    if (items == nullptr) {
        return -1;
    }
    if (flags & MF_BYPOSITION) {
        return item < items->size() ? static_cast<int>(item) : -1;
    }
    for (std::size_t i = 0; i < items->size(); ++i) {
        if ((*items)[i].id == item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const bool kLocaleSet = std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr;

}  // namespace

// ---------------------------------------------------------------------------
// The fuzz targets' side

void ShimReset() {
    Files().clear();
    Menus().clear();
    WorkingFolder() = L"C:\\Work";
}

void ShimSetFile(const std::wstring& path, const std::string& bytes) {
    Files()[FoldCase(path)] = Entry{false, bytes};
}

void ShimSetFolder(const std::wstring& path) {
    Files()[FoldCase(path)] = Entry{true, {}};
}

bool ShimFileBytes(const std::wstring& path, std::string& bytes) {
    Entry* entry = FindEntry(path);
    if (entry == nullptr || entry->folder) {
        return false;
    }
    bytes = entry->bytes;
    return true;
}

void ShimSetWorkingFolder(const std::wstring& folder) {
    WorkingFolder() = folder;
}

std::wstring ShimWide(const std::string& utf8) {
    return DecodeUtf8(utf8.data(), utf8.size());
}

std::string ShimUtf8(const std::wstring& text) {
    return EncodeUtf8(text.data(), text.size());
}

// ---------------------------------------------------------------------------
// Text

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR bytes, int size, LPWSTR wide, int wideSize) {
    if (bytes == nullptr || size == 0) {
        return 0;
    }
    std::size_t length = size < 0 ? std::strlen(bytes) + 1 : static_cast<std::size_t>(size);
    std::wstring text = codePage == CP_UTF8 ? DecodeUtf8(bytes, length) : DecodeAnsi(bytes, length);
    if (wideSize == 0) {
        return static_cast<int>(text.size());
    }
    if (text.size() > static_cast<std::size_t>(wideSize)) {
        return 0;
    }
    std::copy(text.begin(), text.end(), wide);
    return static_cast<int>(text.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int size, LPSTR bytes,
                        int byteSize, LPCSTR, LPBOOL usedDefault) {
    if (wide == nullptr || size == 0) {
        return 0;
    }
    std::size_t length = size < 0 ? std::wcslen(wide) + 1 : static_cast<std::size_t>(size);
    std::string out;
    bool defaulted = false;
    if (codePage == CP_UTF8) {
        out = EncodeUtf8(wide, length);
    } else {
        for (std::size_t i = 0; i < length; ++i) {
            std::size_t unit = 1;
            if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < length && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] <= 0xDFFF) {
                unit = 2;
            }
            std::optional<std::string> character = EncodeAnsiCharacter(wide + i, unit);
            // Without the flag the platform would take a near character; the
            // program always asks with it when it looks at the result.
            (void)flags;
            if (character) {
                out += *character;
            } else {
                out += '?';
                defaulted = true;
            }
            i += unit - 1;
        }
    }
    if (usedDefault != nullptr) {
        *usedDefault = defaulted ? TRUE : FALSE;
    }
    if (byteSize == 0) {
        return static_cast<int>(out.size());
    }
    if (out.size() > static_cast<std::size_t>(byteSize)) {
        return 0;
    }
    std::copy(out.begin(), out.end(), bytes);
    return static_cast<int>(out.size());
}

UINT GetACP() {
    return kAnsiCodePage;
}

BOOL IsCharAlphaW(WCHAR c) {
    if (!kLocaleSet || (c >= 0xD800 && c <= 0xDFFF)) {
        return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    }
    return std::iswalpha(static_cast<wint_t>(c)) ? TRUE : FALSE;
}

int lstrcmpW(LPCWSTR a, LPCWSTR b) {
    return std::wcscmp(a, b);
}

int lstrcmpiW(LPCWSTR a, LPCWSTR b) {
    for (;; ++a, ++b) {
        wint_t x = std::towupper(static_cast<wint_t>(*a));
        wint_t y = std::towupper(static_cast<wint_t>(*b));
        if (x != y || *a == L'\0') {
            return x < y ? -1 : x > y ? 1 : 0;
        }
    }
}

int lstrlenW(LPCWSTR text) {
    return text == nullptr ? 0 : static_cast<int>(std::wcslen(text));
}

// The platform's %s takes a wide string, as %ls does here.
int _vsnwprintf(wchar_t* buffer, std::size_t size, const wchar_t* format, va_list arguments) {
    std::wstring converted;
    for (const wchar_t* at = format; *at != L'\0'; ++at) {
        converted += *at;
        if (*at != L'%') {
            continue;
        }
        ++at;
        while (*at != L'\0' && std::wcschr(L"-+ #0123456789.", *at) != nullptr) {
            converted += *at++;
        }
        if (*at == L's' || *at == L'c') {
            converted += L'l';
        }
        if (*at == L'\0') {
            break;
        }
        converted += *at;
    }
    return std::vswprintf(buffer, size, converted.c_str(), arguments);
}

// ---------------------------------------------------------------------------
// Settings files

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                               DWORD size, LPCWSTR path) {
    if (buffer == nullptr || size == 0 || section == nullptr || key == nullptr) {
        Unreached("GetPrivateProfileStringW without a section or key");
    }
    std::wstring fallback = defaultValue != nullptr ? defaultValue : L"";
    while (!fallback.empty() && fallback.back() == L' ') {
        fallback.pop_back();
    }
    const Profile& profile = ReadProfile(path);
    std::wstring text = fallback;
    if (const ProfileSection* found = FindSection(profile, section)) {
        for (const ProfileKey& entry : found->keys) {
            if (SameName(entry.name, TrimProfileSpaces(key))) {
                if (entry.value) {
                    text = Unquoted(*entry.value);
                }
                break;
            }
        }
    }
    CopyOut(text, buffer, size);
    return static_cast<DWORD>(std::wcslen(buffer));
}

DWORD GetPrivateProfileSectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR path) {
    if (section == nullptr || buffer == nullptr || size < 2) {
        Unreached("GetPrivateProfileSectionW with no room");
    }
    const ProfileSection* found = FindSection(ReadProfile(path), section);
    if (found == nullptr) {
        buffer[0] = buffer[1] = L'\0';
        return 0;
    }
    std::wstring text;
    for (const ProfileKey& key : found->keys) {
        if ((key.name.empty() && !key.value) || (!key.name.empty() && key.name[0] == L';')) {
            continue;
        }
        text += key.name;
        if (key.value) {
            text += L"=" + *key.value;
        }
        text += L'\0';
    }
    if (text.size() + 1 > size) {
        // Cut, the last string ended and the list closed: size - 2.
        std::copy(text.begin(), text.begin() + size - 2, buffer);
        buffer[size - 2] = L'\0';
        buffer[size - 1] = L'\0';
        return size - 2;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return static_cast<DWORD>(text.size());
}

BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path) {
    if (section == nullptr && key == nullptr && value == nullptr) {
        return FALSE;  // a flush, which the platform answers with FALSE
    }
    if (section == nullptr) {
        return FALSE;
    }
    Profile profile = LoadProfile(path);
    ProfileSection* found = FindSection(profile, section);
    if (key == nullptr) {
        if (found != nullptr) {
            profile.sections.erase(profile.sections.begin() + (found - profile.sections.data()));
        }
        return StoreProfile(path, profile);
    }
    if (value == nullptr) {
        if (found != nullptr) {
            auto& keys = found->keys;
            auto entry = std::find_if(keys.begin(), keys.end(), [&](const ProfileKey& k) {
                return SameName(k.name, TrimProfileSpaces(key));
            });
            if (entry != keys.end()) {
                keys.erase(entry);
            }
        }
        return StoreProfile(path, profile);
    }
    if (found == nullptr) {
        profile.sections.push_back({section, {}});
        found = &profile.sections.back();
    }
    std::wstring text = value;
    text.erase(
        0, std::min(text.size(), static_cast<std::size_t>(
                                     std::find_if_not(text.begin(), text.end(), IsProfileSpace) -
                                     text.begin())));
    auto entry = std::find_if(found->keys.begin(), found->keys.end(), [&](const ProfileKey& k) {
        return SameName(k.name, TrimProfileSpaces(key));
    });
    if (entry == found->keys.end()) {
        found->keys.push_back({key, text});
    } else {
        entry->value = text;
    }
    return StoreProfile(path, profile);
}

BOOL WritePrivateProfileSectionW(LPCWSTR section, LPCWSTR text, LPCWSTR path) {
    if (section == nullptr || text == nullptr) {
        Unreached("WritePrivateProfileSectionW without a section or text");
    }
    Profile profile = LoadProfile(path);
    ProfileSection* target = nullptr;
    for (ProfileSection& existing : profile.sections) {
        if (SameName(existing.name, section)) {
            existing.keys.clear();
            target = target != nullptr ? target : &existing;
        }
    }
    if (target == nullptr) {
        profile.sections.push_back({section, {}});
        target = &profile.sections.back();
    }
    for (const wchar_t* line = text; *line != L'\0'; line += std::wcslen(line) + 1) {
        const wchar_t* equals = std::wcschr(line, L'=');
        if (equals == nullptr) {
            continue;
        }
        std::wstring value = equals + 1;
        value.erase(
            0, static_cast<std::size_t>(
                   std::find_if_not(value.begin(), value.end(), IsProfileSpace) - value.begin()));
        target->keys.push_back({std::wstring(line, equals), value});
    }
    return StoreProfile(path, profile);
}

// ---------------------------------------------------------------------------
// Files

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD, SECURITY_ATTRIBUTES*, DWORD disposition,
                   DWORD, HANDLE) {
    Entry* entry = FindEntry(path);
    if (entry != nullptr && entry->folder) {
        return INVALID_HANDLE_VALUE;
    }
    switch (disposition) {
        case OPEN_EXISTING:
            if (entry == nullptr) {
                return INVALID_HANDLE_VALUE;
            }
            break;
        case CREATE_NEW:
            if (entry != nullptr) {
                return INVALID_HANDLE_VALUE;
            }
            ShimSetFile(path, {});
            break;
        case CREATE_ALWAYS:
            ShimSetFile(path, {});
            break;
        default:
            Unreached("CreateFileW with this disposition");
    }
    (void)access;
    return new OpenFile{path, 0};
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, DWORD* read, void*) {
    auto* open = static_cast<OpenFile*>(file);
    Entry* entry = FindEntry(open->path);
    if (entry == nullptr) {
        return FALSE;
    }
    std::size_t available = entry->bytes.size() - std::min(entry->bytes.size(), open->position);
    std::size_t count = std::min<std::size_t>(size, available);
    std::memcpy(buffer, entry->bytes.data() + open->position, count);
    open->position += count;
    *read = static_cast<DWORD>(count);
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, DWORD* written, void*) {
    auto* open = static_cast<OpenFile*>(file);
    Entry* entry = FindEntry(open->path);
    if (entry == nullptr) {
        return FALSE;
    }
    entry->bytes.resize(std::max(entry->bytes.size(), open->position + size));
    std::memcpy(&entry->bytes[open->position], buffer, size);
    open->position += size;
    *written = size;
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size) {
    Entry* entry = FindEntry(static_cast<OpenFile*>(file)->path);
    if (entry == nullptr) {
        return FALSE;
    }
    size->QuadPart = static_cast<LONGLONG>(entry->bytes.size());
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    delete static_cast<OpenFile*>(handle);
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    Entry* entry = FindEntry(path);
    if (entry == nullptr) {
        return INVALID_FILE_ATTRIBUTES;
    }
    return entry->folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

// Exact names only: the fuzzed code asks for no wildcard.
HANDLE FindFirstFileW(LPCWSTR path, WIN32_FIND_DATAW* data) {
    Entry* entry = FindEntry(path);
    if (entry == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    *data = WIN32_FIND_DATAW{};
    data->dwFileAttributes = entry->folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    std::wstring name = path;
    name = name.substr(name.rfind(L'\\') == std::wstring::npos ? 0 : name.rfind(L'\\') + 1);
    CopyOut(name, data->cFileName, MAX_PATH);
    return new OpenFile{path, 0};
}

BOOL FindClose(HANDLE find) {
    delete static_cast<OpenFile*>(find);
    return TRUE;
}

// Relative paths against the working folder, "/" read as "\"; "." and ".."
// components are not folded. The size asked for includes the terminator.
DWORD GetFullPathNameW(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* filePart) {
    std::wstring full = path;
    std::replace(full.begin(), full.end(), L'/', L'\\');
    const bool drive = full.size() >= 2 && full[1] == L':';
    if (full.compare(0, 2, L"\\\\") == 0 || (drive && full.size() >= 3 && full[2] == L'\\')) {
        // absolute already
    } else if (drive) {
        full = full.substr(0, 2) + L"\\" + full.substr(2);
    } else if (!full.empty() && full[0] == L'\\') {
        full = WorkingFolder().substr(0, 2) + full;
    } else {
        full = WorkingFolder() + L"\\" + full;
    }
    if (filePart != nullptr) {
        *filePart = nullptr;
    }
    if (full.size() + 1 > size) {
        return static_cast<DWORD>(full.size() + 1);
    }
    CopyOut(full, buffer, size);
    return static_cast<DWORD>(full.size());
}

DWORD GetLongPathNameW(LPCWSTR path, LPWSTR buffer, DWORD size) {
    if (FindEntry(path) == nullptr) {
        return 0;
    }
    std::wstring text = path;
    if (text.size() + 1 > size) {
        return static_cast<DWORD>(text.size() + 1);
    }
    CopyOut(text, buffer, size);
    return static_cast<DWORD>(text.size());
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR buffer, DWORD size) {
    CopyOut(L"C:\\Program Files\\Zephlo\\Zephlo.exe", buffer, size);
    return static_cast<DWORD>(std::wcslen(buffer));
}

// ---------------------------------------------------------------------------
// Menus

HMENU CreatePopupMenu() {
    static std::uintptr_t next = 0x1000;
    auto menu = reinterpret_cast<HMENU>(next);
    next += 0x10;
    Menus()[menu];
    return menu;
}

BOOL DestroyMenu(HMENU menu) {
    return Menus().erase(menu) != 0;
}

int GetMenuItemCount(HMENU menu) {
    std::vector<MenuItem>* items = ItemsOf(menu);
    return items == nullptr ? -1 : static_cast<int>(items->size());
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags) {
    int index = ItemIndex(menu, item, flags);
    if (index < 0 || size <= 0) {
        return 0;
    }
    CopyOut((*ItemsOf(menu))[static_cast<std::size_t>(index)].text, buffer,
            static_cast<DWORD>(size));
    return static_cast<int>(std::wcslen(buffer));
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    int index = ItemIndex(menu, item, flags);
    return index < 0 ? 0xFFFFFFFF : (*ItemsOf(menu))[static_cast<std::size_t>(index)].flags;
}

UINT GetMenuItemID(HMENU menu, int position) {
    int index = ItemIndex(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return index < 0 ? 0xFFFFFFFF : (*ItemsOf(menu))[static_cast<std::size_t>(index)].id;
}

HMENU GetSubMenu(HMENU, int) {
    return nullptr;
}

BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, LPCWSTR text) {
    int index = ItemIndex(menu, item, flags);
    if (index < 0) {
        return FALSE;
    }
    (*ItemsOf(menu))[static_cast<std::size_t>(index)] = {static_cast<UINT>(id),
                                                         flags & ~MF_BYPOSITION, text};
    return TRUE;
}

BOOL InsertMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, LPCWSTR text) {
    std::vector<MenuItem>* items = ItemsOf(menu);
    if (items == nullptr) {
        return FALSE;
    }
    int index = ItemIndex(menu, item, flags);
    std::size_t at = index < 0 ? items->size() : static_cast<std::size_t>(index);
    items->insert(items->begin() + static_cast<std::ptrdiff_t>(at),
                  MenuItem{static_cast<UINT>(id), flags & ~MF_BYPOSITION, text});
    return TRUE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
    std::vector<MenuItem>* items = ItemsOf(menu);
    if (items == nullptr) {
        return FALSE;
    }
    items->push_back(MenuItem{static_cast<UINT>(id), flags, text});
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
    int index = ItemIndex(menu, item, flags);
    if (index < 0) {
        return FALSE;
    }
    ItemsOf(menu)->erase(ItemsOf(menu)->begin() + index);
    return TRUE;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    int index = ItemIndex(menu, item, flags);
    if (index < 0) {
        return static_cast<BOOL>(-1);
    }
    MenuItem& entry = (*ItemsOf(menu))[static_cast<std::size_t>(index)];
    entry.flags = (entry.flags & ~MF_GRAYED) | (flags & MF_GRAYED);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Never reached

HACCEL CreateAcceleratorTableW(LPACCEL, int) {
    Unreached("CreateAcceleratorTableW");
}
BOOL DestroyAcceleratorTable(HACCEL) {
    Unreached("DestroyAcceleratorTable");
}
DWORD GetSysColor(int) {
    Unreached("GetSysColor");
}
int LoadStringW(HINSTANCE, UINT, LPWSTR, int) {
    Unreached("LoadStringW");
}
HMODULE GetModuleHandleW(LPCWSTR) {
    Unreached("GetModuleHandleW");
}
int MessageBoxW(HWND, LPCWSTR, LPCWSTR, UINT) {
    Unreached("MessageBoxW");
}
UINT DragQueryFileW(HDROP, UINT, LPWSTR, UINT) {
    Unreached("DragQueryFileW");
}
void DragFinish(HDROP) {
    Unreached("DragFinish");
}
BOOL DestroyWindow(HWND) {
    Unreached("DestroyWindow");
}
BOOL DeleteObject(HGDIOBJ) {
    Unreached("DeleteObject");
}
BOOL DeleteDC(HDC) {
    Unreached("DeleteDC");
}
BOOL DestroyIcon(HICON) {
    Unreached("DestroyIcon");
}
BOOL FreeLibrary(HMODULE) {
    Unreached("FreeLibrary");
}
BOOL ImageList_Destroy(HIMAGELIST) {
    Unreached("ImageList_Destroy");
}
FARPROC GetProcAddress(HMODULE, LPCSTR) {
    Unreached("GetProcAddress");
}
HGDIOBJ SelectObject(HDC, HGDIOBJ) {
    Unreached("SelectObject");
}
HDC BeginPaint(HWND, PAINTSTRUCT*) {
    Unreached("BeginPaint");
}
BOOL EndPaint(HWND, const PAINTSTRUCT*) {
    Unreached("EndPaint");
}
HDC GetDC(HWND) {
    Unreached("GetDC");
}
int ReleaseDC(HWND, HDC) {
    Unreached("ReleaseDC");
}
