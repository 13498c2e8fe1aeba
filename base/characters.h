// Character tests of the text formats (INI values, colour texts, file-name
// sorting): ASCII only, whatever the user's locale.
#ifndef ZEPHLO_BASE_CHARACTERS_H
#define ZEPHLO_BASE_CHARACTERS_H

constexpr bool IsAsciiDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The value of a hexadecimal digit in either case, -1 for any other character.
constexpr int HexDigitValue(wchar_t c) {
    if (IsAsciiDigit(c)) {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// A lower-case ASCII letter in upper case; every other character unchanged.
constexpr wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

#endif
