#include "files/natural_compare.h"

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

wchar_t FoldAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
}

const wchar_t* EndOfRun(const wchar_t* at) {
    while (IsDigit(*at)) {
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
        if (IsDigit(*a) && IsDigit(*b)) {
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
        wchar_t ca = FoldAscii(*a);
        wchar_t cb = FoldAscii(*b);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++a;
        ++b;
    }
}
