#include "base/Base.Numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace base {
namespace {

// The standard's shortest form, which the INI files and number boxes wrote before.
std::string ToChars(double Value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, Value);
    return std::string(buffer, result.ptr);
}

TEST(FormatDouble, ShortestFormIsTheStandardsShortestForm) {
    for (double value : {0.0, -0.0, 1.0, 100.0, 0.1, 0.0001, 1234.5, 1e21, 1e22, 123456789012.0, -2.5e-7,
                         46000.5, 1.0 / 3.0, std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                         std::numeric_limits<double>::denorm_min(), 5e-324, 9007199254740993.0}) {
        EXPECT_EQ(FormatDouble(value), ToChars(value)) << ToChars(value);
    }
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random),
                                        std::uniform_int_distribution<int>(-80, 80)(random));
        ASSERT_EQ(FormatDouble(value), ToChars(value)) << ToChars(value);
    }
}

TEST(FormatDouble, GivenDigitsAreThoseOfPrintfsGeneralForm) {
    EXPECT_EQ(FormatDouble(46000.123456789012345, 15), "46000.123456789");
    EXPECT_EQ(FormatDouble(0.5, 15), "0.5");
    EXPECT_EQ(FormatDouble(1e300, 15), "1e+300");
    EXPECT_EQ(FormatDouble(std::numeric_limits<double>::infinity()), "inf");
}

TEST(ParseDouble, TakesDecimalNumbersWholeAndNothingElse) {
    EXPECT_EQ(ParseDouble("1.5"), 1.5);
    EXPECT_EQ(ParseDouble("-2e3"), -2000.0);
    EXPECT_EQ(ParseDouble(".25"), 0.25);
    EXPECT_TRUE(std::isinf(*ParseDouble("inf")));
    EXPECT_TRUE(std::isnan(*ParseDouble("nan")));
    for (const char* bad : {"", " 1", "1 ", "+1", "1.5x", "0x10", "1e999", "--1", "-", "e5", "1,5"}) {
        EXPECT_FALSE(ParseDouble(bad).has_value()) << bad;
    }
}

} // namespace
} // namespace base
