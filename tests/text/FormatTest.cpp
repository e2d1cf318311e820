// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace kv {
namespace {

struct FixedCase {
    double value;
    int decimals;
    std::string expected;
};

TEST(Fixed, RoundsHalvesAwayFromZero)
{
    const FixedCase cases[] = {
        {0.5, 0, "1"},
        {1.5, 0, "2"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {2500002.5, 0, "2500003"},
        {0.125, 2, "0.13"},
        {-0.125, 2, "-0.13"},
        {0.375, 2, "0.38"},
        {1.25, 1, "1.3"},
        {4503599627370495.5, 0, "4503599627370496"},  // 2^52 - 0.5, past the fast range
        {1125899906842623.5, 0, "1125899906842624"},
        {9.5, 0, "10"},
        {99.995, 2, "100.00"},  // really 99.99499999999999744..., so no tie, but a carry check
        {999.5, 0, "1000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixed(c.value, c.decimals), c.expected) << c.value << " " << c.decimals;
}

TEST(Fixed, DecidesOnTheExactBinaryValue)
{
    const FixedCase cases[] = {
        {1.005, 2, "1.00"},  // 1.00499999999999989...
        {2.675, 2, "2.67"},  // 2.67499999999999982...
        {1.015, 2, "1.01"},  // 1.01499999999999990...
        {2.345, 2, "2.35"},  // 2.34500000000000019...
        {0.15, 1, "0.1"},    // 0.14999999999999999...
        {0.35, 1, "0.3"},    // 0.34999999999999997...
        {0.45, 1, "0.5"},    // 0.45000000000000001...
        {1234567.6, 0, "1234568"},
        {0.49999999999999994, 0, "0"},
        {0.1, 20, "0.10000000000000000555"},
        {1e23, 0, "99999999999999991611392"},  // exact value of the double
        {1e22, 2, "10000000000000000000000.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixed(c.value, c.decimals), c.expected) << c.value << " " << c.decimals;
}

TEST(Fixed, SignsAndSpecialValuesPrintLikeC)
{
    const FixedCase cases[] = {
        {-0.03, 6, "-0.030000"},
        {2.5, 6, "2.500000"},
        {0.0, 0, "0"},
        {-0.0, 6, "-0.000000"},
        {-0.4, 0, "-0"},
        {-0.004, 2, "-0.00"},
        {-1234.5678, 2, "-1234.57"},
        {std::numeric_limits<double>::infinity(), 2, "inf"},
        {-std::numeric_limits<double>::infinity(), 0, "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), 2, "nan"},
        {std::numeric_limits<double>::denorm_min(), 3, "0.000"},
        {std::numeric_limits<double>::max(), 0, fixed(std::numeric_limits<double>::max(), 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixed(c.value, c.decimals), c.expected) << c.value << " " << c.decimals;
    EXPECT_EQ(fixed(std::numeric_limits<double>::max(), 0).size(), 309u);
}

// The result windows' figures: groups of three, the yen sign before the digits and after the
// sign, no minus on a value that rounds to zero, no digits for a value that is not a number.
TEST(Fixed, GroupedFiguresOfTheResultWindows)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(groupedText(2200000, 0), "2,200,000");
    EXPECT_EQ(groupedText(999.995, 2), "1,000.00");
    EXPECT_EQ(groupedText(-123456.5, 0), "-123,457");
    EXPECT_EQ(groupedText(-0.004, 2), "0.00");
    EXPECT_EQ(yenText(1529229.4), "\\1,529,229");
    EXPECT_EQ(yenText(-288540), "-\\288,540");
    EXPECT_EQ(yenText(-0.4), "\\0");
    EXPECT_EQ(yenText(100), "\\100");
    EXPECT_EQ(signedPercentText(-14.434), "-14.43%");
    EXPECT_EQ(signedPercentText(1234.5), "1,234.50%");
    EXPECT_EQ(yenText(-inf), "----");
    EXPECT_EQ(signedPercentText(std::nan("")), "----");
    EXPECT_EQ(groupedText(1e20, 0), "100,000,000,000,000,000,000");
}

// Reference: glibc prints the exact binary value with enough digits; round that text by hand.
std::string exactReference(double value, int decimals)
{
    char buffer[1600];
    std::snprintf(buffer, sizeof buffer, "%.1100f", std::fabs(value));
    std::string text = buffer;
    size_t point = text.find('.');
    bool up = text[point + 1 + decimals] >= '5';
    std::string digits = text.substr(0, decimals == 0 ? point : point + 1 + decimals);
    for (size_t i = digits.size(); up && i-- > 0;) {
        if (digits[i] == '.')
            continue;
        if (digits[i] == '9') {
            digits[i] = '0';
            if (i == 0)
                digits.insert(0, "1");
        } else {
            ++digits[i];
            up = false;
        }
    }
    return (std::signbit(value) ? "-" : "") + digits;
}

TEST(Fixed, AgreesWithExactExpansionOnTiesAndNearTies)
{
    std::mt19937_64 random(12345);
    std::uniform_int_distribution<long long> whole(-100000000000LL, 100000000000LL);
    for (int i = 0; i < 8000; ++i) {
        int decimals = static_cast<int>(i % 10);
        double scale = std::pow(10.0, decimals);
        // Halves, their neighbours and plain values at every number of decimals.
        double base = (static_cast<double>(whole(random)) + 0.5) / scale;
        for (double value : {base, std::nextafter(base, 0.0), std::nextafter(base, 1e30), base * 1.37}) {
            ASSERT_EQ(fixed(value, decimals), exactReference(value, decimals))
                << "value " << exactReference(value, 40) << " decimals " << decimals;
        }
    }
}

TEST(Format, Directives)
{
    const struct {
        std::string fmt;
        std::string expected;
        std::initializer_list<FormatArg> args;
    } cases[] = {
        {"%d", "42", {42}},
        {"%d", "-9223372036854775808", {std::numeric_limits<long long>::min()}},
        {"%05d", "00042", {42}},
        {"%05d", "-0042", {-42}},
        {"%5d", "  -42", {-42}},
        {"%2d", "12345", {12345}},
        {"%02d/%02d", "01/05", {1, 5}},
        {"%s", "abc", {"abc"}},
        {"%s", "", {""}},
        {"%f", "2.500000", {2.5}},
        {"%.0f", "3", {2.5}},
        {"%.2f", "0.13", {0.125}},
        {"%.9f", "0.123456789", {0.123456789}},
        {"%%", "%", {}},
        {"%.2f\x81\x93", "12.35\x81\x93", {12.345}},  // full-width percent; 12.345 is 12.3449999...
        {"100%%", "100%", {}},
        {"%d %s %.1f %%", "7 x 0.3 %", {7, "x", 0.25}},
        {"\\%.0f", "\\5000000", {5000000.0}},
        {"\x83\x5C%d",
         "\x83\x5C"
         "1",
         {1}},
        {"no directive", "no directive", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(format(c.fmt, c.args), c.expected) << c.fmt;
}

TEST(Format, UnknownOrMismatchedDirectivesStayAsWritten)
{
    const struct {
        std::string fmt;
        std::string expected;
        std::initializer_list<FormatArg> args;
    } cases[] = {
        {"%x", "%x", {1}},         {"%", "%", {}},
        {"a%", "a%", {1}},         {"%.2d", "%.2d", {1}},
        {"%.10f", "%.10f", {1.0}}, {"%5s", "%5s", {"a"}},
        {"%d", "%d", {}},          {"%d %d", "1 %d", {1}},
        {"%d", "%d", {"text"}},    {"%s", "%s", {1}},
        {"%.0f", "%.0f", {1}},     {"%d|%s", "%d|b", {"a", "b"}},  // a mismatch still uses up its argument
    };
    for (const auto& c : cases)
        EXPECT_EQ(format(c.fmt, c.args), c.expected) << c.fmt;
}

TEST(Format, ArgumentTextIsNeverAFormat)
{
    EXPECT_EQ(format("%s:%d", {"50%d %s %%", 3}), "50%d %s %%:3");
    EXPECT_EQ(format("%s", {std::string("a\0b", 3)}), std::string("a\0b", 3));
}

}  // namespace
}  // namespace kv
