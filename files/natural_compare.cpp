#include "files/natural_compare.h"

#include "base/characters.h"

namespace {

const wchar_t* EndOfRun(const wchar_t* at) {
    while (IsAsciiDigit(*at)) {
        ++at;
    }
    return at;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// Digit by digit; a run that goes on after the other ended is greater.
int CompareRunsAsText(const wchar_t* a, const wchar_t* aEnd, const wchar_t* b,
                      const wchar_t* bEnd) {
    for (; a != aEnd && b != bEnd; ++a, ++b) {
        if (*a != *b) {
            return Sign(*a - *b);
        }
    }
    return (a != aEnd) - (b != bEnd);
}

// Runs without a leading zero: the longer one is the greater number.
int CompareRunsAsNumbers(const wchar_t* a, const wchar_t* aEnd, const wchar_t* b,
                         const wchar_t* bEnd) {
    if (aEnd - a != bEnd - b) {
        return aEnd - a > bEnd - b ? 1 : -1;
    }
    return CompareRunsAsText(a, aEnd, b, bEnd);
}

}  // namespace

int CompareNatural(const wchar_t* a, const wchar_t* b) {
    for (;;) {
        while (*a == L' ') {
            ++a;
        }
        while (*b == L' ') {
            ++b;
        }
        if (*a == L'\0') {
            return *b == L'\0' ? 0 : -1;
        }
        if (IsAsciiDigit(*a) && IsAsciiDigit(*b)) {
            const wchar_t* aEnd = EndOfRun(a);
            const wchar_t* bEnd = EndOfRun(b);
            int result = *a == L'0' || *b == L'0' ? CompareRunsAsText(a, aEnd, b, bEnd)
                                                  : CompareRunsAsNumbers(a, aEnd, b, bEnd);
            if (result != 0) {
                return result;
            }
            a = aEnd;
            b = bEnd;
            continue;
        }
        wchar_t ca = UpperAscii(*a);
        wchar_t cb = UpperAscii(*b);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++a;
        ++b;
    }
}
