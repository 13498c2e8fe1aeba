#include "files/natural_compare.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

struct NaturalCase {
    std::wstring a;
    std::wstring b;
    int expected;
};

class CompareNaturalTest : public testing::TestWithParam<NaturalCase> {};

TEST_P(CompareNaturalTest, OrdersBothWays) {
    const NaturalCase& c = GetParam();
    EXPECT_EQ(CompareNatural(c.a.c_str(), c.b.c_str()), c.expected)
        << ToUtf8(c.a) << " vs " << ToUtf8(c.b);
    EXPECT_EQ(CompareNatural(c.b.c_str(), c.a.c_str()), -c.expected)
        << ToUtf8(c.b) << " vs " << ToUtf8(c.a);
}

const std::wstring kManyNines(3000, L'9');
const std::wstring kOneAndZeros = L"1" + std::wstring(3000, L'0');

INSTANTIATE_TEST_SUITE_P(
    Numbers, CompareNaturalTest,
    testing::Values(NaturalCase{L"1.mp3", L"2.mp3", -1}, NaturalCase{L"2.mp3", L"10.mp3", -1},
                    NaturalCase{L"19", L"2", 1}, NaturalCase{L"100", L"99", 1},
                    NaturalCase{L"track 01.mp3", L"track 1.mp3", -1},
                    NaturalCase{L"007", L"07", -1}, NaturalCase{L"0", L"00", -1},
                    NaturalCase{L"09", L"1", -1}, NaturalCase{L"a10b2", L"a10b10", -1},
                    NaturalCase{L"x12", L"x12", 0},
                    // Runs far beyond any integer type.
                    NaturalCase{kManyNines, kOneAndZeros, -1},
                    NaturalCase{kManyNines + L"a", kManyNines + L"b", -1},
                    NaturalCase{L"0" + kManyNines, L"0" + kManyNines + L"9", -1}));

INSTANTIATE_TEST_SUITE_P(
    Characters, CompareNaturalTest,
    testing::Values(NaturalCase{L"a b.mp3", L"ab.mp3", 0}, NaturalCase{L"  ab ", L"ab", 0},
                    NaturalCase{L"1 0", L"10", -1}, NaturalCase{L"abc", L"ABC", 0},
                    NaturalCase{L"a", L"B", -1}, NaturalCase{L"9", L"a", -1},
                    NaturalCase{L"Z", L"_", -1}, NaturalCase{L"z", L"_", -1},
                    NaturalCase{L"_", L"a", 1},  // "a" folds to "A", which comes before "_"
                    // Only ASCII letters fold: full-width and accented letters stay as they are.
                    NaturalCase{L"\xFF41", L"\xFF21", 1}, NaturalCase{L"\x00E9", L"\x00C9", 1},
                    NaturalCase{L"", L"", 0}, NaturalCase{L" ", L"", 0},
                    NaturalCase{L"", L"a", -1}, NaturalCase{L"ab", L"a", 1}));

}  // namespace
