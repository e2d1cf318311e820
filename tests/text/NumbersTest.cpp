// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace kv {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

struct IntCase {
    std::string text;
    int32_t expected;
};

TEST(Numbers, SaturatesToInt32)
{
    EXPECT_EQ(saturateToInt32(int64_t{kMax} + 1), kMax);
    EXPECT_EQ(saturateToInt32(int64_t{kMin} - 1), kMin);
    EXPECT_EQ(saturateToInt32(std::numeric_limits<int64_t>::min()), kMin);
    EXPECT_EQ(saturateToInt32(-5), -5);
}

TEST(Numbers, LeadingInt)
{
    const IntCase cases[] = {
        {"", 0},
        {"abc", 0},
        {"1234", 1234},
        {"  \t\r\n\v\f42x", 42},
        {"-17", -17},
        {"+17", 17},
        {"- 17", 0},
        {"--1", 0},
        {"12.9", 12},
        {"1,234", 1},
        {"\x81\x40"
         "100",
         0},  // full-width blank is not white space
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"99999999999999999999999", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-99999999999999999999999", kMin},
        {"00000000000000000000012", 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingInt(c.text), c.expected) << c.text;
}

TEST(Numbers, LeadingIntStopsAtTheViewsEnd)
{
    std::string text = "12345";
    EXPECT_EQ(leadingInt(std::string_view(text).substr(0, 2)), 12);
}

TEST(Numbers, LeadingDouble)
{
    const struct {
        std::string text;
        double expected;
    } cases[] = {
        {"", 0},
        {"x1", 0},
        {"2.5", 2.5},
        {"  -0.03,", -0.03},
        {"+.5", 0.5},
        {"5.", 5},
        {".", 0},
        {"-", 0},
        {"1e3", 1000},
        {"1E-2x", 0.01},
        {"1e", 1},
        {"1e+", 1},
        {"0x10", 0},
        {"inf", 0},
        {"2000000", 2000000},
        {"1e999", std::numeric_limits<double>::infinity()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingDouble(c.text), c.expected) << c.text;
}

TEST(Numbers, LeadingDoubleReadsOnlyTheView)
{
    std::string text = "1.25e3";
    EXPECT_EQ(leadingDouble(std::string_view(text).substr(0, 4)), 1.25);
}

TEST(Numbers, FoldStockCode)
{
    const IntCase cases[] = {
        {"1301", 1301}, {"0001", 1},     {"13a1", 1301}, {"130", 1300},
        {"", 0},        {"13012", 1301}, {"-130", 130},  {"9999", 9999},
    };
    for (const auto& c : cases)
        EXPECT_EQ(foldStockCode(c.text), c.expected) << c.text;
}

TEST(Numbers, FoldTradingUnit)
{
    const IntCase cases[] = {
        {"1000", 1000},   {"1000\r\n", 1000},    {"1000\n", 1000},
        {"1000 ", 10000}, {"1 0", 100},          {"", 0},
        {"\r\n", 0},      {"99999999999", kMax}, {std::string(64, '9'), kMax},
    };
    for (const auto& c : cases)
        EXPECT_EQ(foldTradingUnit(c.text), c.expected) << c.text;
}

TEST(Numbers, RowNumber)
{
    const IntCase cases[] = {
        {"1234", 1234},
        {"1,234", 10234},
        {"-5", 5},
        {"12 34", 12},
        {"12\r\n", 12},
        {"12\n3", 12},
        {"", 0},
        {"abc", 0},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {std::string(100, '9'), kMax},
        {std::string(63, '0') + "7", 7},
        {std::string(64, '0') + "7", 0},  // only the first 64 characters count
        {std::string("12\0"
                     "3",
                     4),
         12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rowNumber(c.text), c.expected) << c.text;
}

TEST(Numbers, RowNumberAsDouble)
{
    EXPECT_EQ(rowNumberAsDouble("12"), 12.0);
    EXPECT_EQ(rowNumberAsDouble("1,2 3"), 102.0);
    EXPECT_EQ(rowNumberAsDouble("99999999999"), 99999999999.0);
    EXPECT_EQ(rowNumberAsDouble(""), 0.0);
}

TEST(Numbers, FieldDate)
{
    const IntCase cases[] = {
        {"2004/01/05", 20040105}, {"2004/1/5", 20040105},      {"2004/1/5\r\n", 20040105},
        {" 2004/ 1/5", 20040105}, {"2004/12/31xyz", 20041231}, {"2004/1/", 20040100},
        {"2004/1", 20040100},     {"2004", 20040000},          {"", 0},
        {"9999/99/99", 99999999}, {"2004/01/0512", 20040105},  // only ten characters take part
        {"2004-01-05", 20040000}, {"99999999/1/1", kMax},      {"-9999999/1/1", kMin},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldDate(c.text), c.expected) << c.text;
}

TEST(Numbers, RowDate)
{
    const IntCase cases[] = {
        {"2004/01/05", 20040105},
        {"2004/1/5", 20040105},
        {"9999/99/99", 99999999},
        {"2004/1/5 x", 20040105},
        {"2004/1/5\r\n", 20040105},
        {"2004/01/0512", 20040105},  // only ten characters take part
        {"2004/1/15", 20040115},
        {"2004/1", 21040000},  // the month runs on to position 10 with zeros
        {"2004", 2147483647},  // the year does too and saturates
        {"", 0},
        {"2004/a1/5", 20040105},
        {"2004/1/1,5", 20040205},  // the comma counts as a zero digit
        {"9999999999", kMax},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rowDate(c.text), c.expected) << c.text;
}

TEST(Numbers, DateText)
{
    EXPECT_EQ(dateText(20040105), "2004/1/5");
    EXPECT_EQ(dateText(20041231), "2004/12/31");
    EXPECT_EQ(dateText(99999999), "9999/99/99");
    EXPECT_EQ(dateText(0), "0/0/0");
    EXPECT_EQ(fieldDate(dateText(20040105)), 20040105);
    EXPECT_EQ(rowDate(dateText(20040105)), 20040105);

    // The zero-padded form reads back to the same date, and odd values still give their digits.
    EXPECT_EQ(paddedDateText(20040105), "2004/01/05");
    EXPECT_EQ(paddedDateText(99999999), "9999/99/99");
    EXPECT_EQ(paddedDateText(0), "0000/00/00");
    EXPECT_EQ(paddedDateText(2147483647), "214748/36/47");
    EXPECT_EQ(paddedDateText(10203), "0001/02/03");
    EXPECT_EQ(paddedDateText(100000000), "10000/00/00");
    EXPECT_EQ(paddedDateText(-20040105), "-2004/-1/-5");
    EXPECT_EQ(rowDate(paddedDateText(20040105)), 20040105);
}

}  // namespace
}  // namespace kv
