#include "files/natural_compare.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

TEST(CompareNatural, OrdersBothWays) {
    const std::wstring nines(3000, L'9');
    const std::wstring oneAndZeros = L"1" + std::wstring(3000, L'0');
    struct Case {
        std::wstring a, b;
        int expected;
    };
    const Case cases[] = {
        {L"1.mp3", L"2.mp3", -1},
        {L"2.mp3", L"10.mp3", -1},
        {L"19", L"2", 1},
        {L"100", L"99", 1},
        {L"track 01.mp3", L"track 1.mp3", -1},
        {L"007", L"07", -1},
        {L"0", L"00", -1},
        {L"09", L"1", -1},
        {L"a10b2", L"a10b10", -1},
        {L"x12", L"x12", 0},
        // Runs far beyond any integer type.
        {nines, oneAndZeros, -1},
        {nines + L"a", nines + L"b", -1},
        {L"0" + nines, L"0" + nines + L"9", -1},
        // Spaces are skipped, ASCII letters fold, digits come before letters, "_" after.
        {L"a b.mp3", L"ab.mp3", 0},
        {L"  ab ", L"ab", 0},
        {L"1 0", L"10", -1},
        {L"abc", L"ABC", 0},
        {L"a", L"B", -1},
        {L"9", L"a", -1},
        {L"Z", L"_", -1},
        {L"_", L"a", 1},
        // Full-width and accented letters are compared as they are.
        {L"\xFF41", L"\xFF21", 1},
        {L"\x00E9", L"\x00C9", 1},
        {L"", L"", 0},
        {L" ", L"", 0},
        {L"", L"a", -1},
        {L"ab", L"a", 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(CompareNatural(c.a.c_str(), c.b.c_str()), c.expected)
            << ToUtf8(c.a) << " vs " << ToUtf8(c.b);
        EXPECT_EQ(CompareNatural(c.b.c_str(), c.a.c_str()), -c.expected)
            << ToUtf8(c.b) << " vs " << ToUtf8(c.a);
    }
}

}  // namespace
