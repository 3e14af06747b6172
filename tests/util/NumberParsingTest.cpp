#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "util/NumberParsing.h"

namespace zomar {
namespace {

TEST(StringToInt, ReadsALeadingNumberLikeDecimalScanning) {
    EXPECT_EQ(StringToInt(" 42"), 42);
    EXPECT_EQ(StringToInt("\t\n 9"), 9);
    EXPECT_EQ(StringToInt("+7"), 7);
    EXPECT_EQ(StringToInt("-3"), -3);
    EXPECT_EQ(StringToInt("12ab"), 12);
    EXPECT_EQ(StringToInt("5000 ms"), 5000);
    EXPECT_EQ(StringToInt("0"), 0);
}

TEST(StringToInt, RaisesWhenNoNumberStartsTheText) {
    for (const char* text : {"abc", "", " ", "-", "+", "- 5", "x12"}) {
        try {
            StringToInt(text);
            ADD_FAILURE() << "no error for \"" << text << "\"";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "StringToInt Conversion failed.") << text;
        }
    }
}

TEST(StringToInt, ClampsValuesBeyondThirtyTwoBits) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(StringToInt("2147483647"), max);
    EXPECT_EQ(StringToInt("-2147483648"), min);
    EXPECT_EQ(StringToInt("2147483648"), max);
    EXPECT_EQ(StringToInt("4294967296"), max);
    EXPECT_EQ(StringToInt("-99999999999999999999999"), min);
}

// Reads like "%u,%u,%u" into a fresh array of sentinels.
struct Scan {
    int read;
    std::uint32_t values[3];
};
Scan ScanThree(const char* text) {
    Scan scan {0, {111, 222, 333}};
    scan.read = ScanUnsigneds(text, scan.values, 3);
    return scan;
}

TEST(ScanUnsigneds, ReadsCommaSeparatedNumbersUntilTheFirstMismatch) {
    Scan all = ScanThree("10,11,2");
    EXPECT_EQ(all.read, 3);
    EXPECT_EQ(all.values[0], 10u);
    EXPECT_EQ(all.values[1], 11u);
    EXPECT_EQ(all.values[2], 2u);

    Scan blanks = ScanThree("  7, 9,\t1 trailing");
    EXPECT_EQ(blanks.read, 3);
    EXPECT_EQ(blanks.values[1], 9u);

    Scan blankBeforeComma = ScanThree("7 ,9,1");
    EXPECT_EQ(blankBeforeComma.read, 1);
    EXPECT_EQ(blankBeforeComma.values[0], 7u);
    EXPECT_EQ(blankBeforeComma.values[1], 222u);

    Scan letters = ScanThree("done");
    EXPECT_EQ(letters.read, 0);
    EXPECT_EQ(letters.values[0], 111u);

    Scan two = ScanThree("4,5");
    EXPECT_EQ(two.read, 2);
    EXPECT_EQ(two.values[2], 333u);
}

TEST(ScanUnsigneds, MinusWrapsAndHugeMagnitudesSaturate) {
    constexpr std::uint32_t max = std::numeric_limits<std::uint32_t>::max();
    EXPECT_EQ(ScanThree("-1").values[0], max);
    EXPECT_EQ(ScanThree("-5").values[0], max - 4);
    EXPECT_EQ(ScanThree("+5").values[0], 5u);
    EXPECT_EQ(ScanThree("-0").values[0], 0u);
    EXPECT_EQ(ScanThree("4294967295").values[0], max);
    EXPECT_EQ(ScanThree("4294967296").values[0], max);
    EXPECT_EQ(ScanThree("-4294967297").values[0], max);
    EXPECT_EQ(ScanThree("99999999999999999999999,3").values[1], 3u);
}

}  // namespace
}  // namespace zomar
