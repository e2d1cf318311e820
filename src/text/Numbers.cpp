// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Numbers.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace kv {

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The C locale's white space, whatever locale the process has set.
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Digit value of a character, 0 for anything that is not a digit.
int digitOrZero(char c)
{
    return isDigit(c) ? c - '0' : 0;
}

// value × 10 + digit for a non-negative value, kept at the int32 maximum once it gets there.
int64_t foldDigit(int64_t value, int digit)
{
    value = value * 10 + digit;
    return value > kInt32Max ? kInt32Max : value;
}

char charAt(std::string_view text, size_t pos)
{
    return pos < text.size() ? text[pos] : '\0';
}

bool endsRowToken(char c)
{
    return c == '\0' || c == ' ' || c == '\r' || c == '\n';
}

constexpr size_t kRowTokenLength = 64;
constexpr size_t kDateLength = 10;

// strtod reads the decimal point of LC_NUMERIC, which a GUI toolkit may set from the user's
// environment; the files always use '.'.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

}  // namespace

int32_t saturateToInt32(int64_t value)
{
    if (value > kInt32Max)
        return static_cast<int32_t>(kInt32Max);
    if (value < kInt32Min)
        return static_cast<int32_t>(kInt32Min);
    return static_cast<int32_t>(value);
}

int32_t leadingInt(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulate the magnitude up to one past the int32 maximum, so that the minimum still fits.
    int64_t magnitude = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > kInt32Max + 1)
            magnitude = kInt32Max + 1;
    }
    return saturateToInt32(negative ? -magnitude : magnitude);
}

double leadingDouble(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    size_t begin = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    size_t digits = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos)
        ++digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        for (; pos < text.size() && isDigit(text[pos]); ++pos)
            ++digits;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only with at least one digit ("1e" is the number 1).
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && isDigit(text[exponent])) {
            while (exponent < text.size() && isDigit(text[exponent]))
                ++exponent;
            pos = exponent;
        }
    }
    // strtod needs a terminated copy; it gets only the number, so it never reads past the view
    // nor takes hexadecimal or "inf" forms.
    std::string number(text.substr(begin, pos - begin));
    return strtod_l(number.c_str(), nullptr, cLocale());
}

int32_t foldStockCode(std::string_view field)
{
    int32_t code = 0;
    for (size_t pos = 0; pos < 4; ++pos)
        code = code * 10 + digitOrZero(charAt(field, pos));
    return code;
}

int32_t foldTradingUnit(std::string_view field)
{
    int64_t unit = 0;
    for (char c : field) {
        if (c == '\r' || c == '\n')
            break;
        unit = foldDigit(unit, digitOrZero(c));
    }
    return static_cast<int32_t>(unit);
}

int32_t rowNumber(std::string_view token)
{
    int64_t value = 0;
    for (size_t pos = 0; pos < kRowTokenLength && !endsRowToken(charAt(token, pos)); ++pos)
        value = foldDigit(value, digitOrZero(token[pos]));
    return static_cast<int32_t>(value);
}

double rowNumberAsDouble(std::string_view token)
{
    double value = 0;
    for (size_t pos = 0; pos < kRowTokenLength && !endsRowToken(charAt(token, pos)); ++pos)
        value = value * 10 + digitOrZero(token[pos]);
    return value;
}

int32_t fieldDate(std::string_view field)
{
    std::string_view head = field.substr(0, kDateLength);
    size_t firstSlash = head.find('/');
    std::string_view year = head.substr(0, firstSlash);
    std::string_view month;
    std::string_view day;
    if (firstSlash != std::string_view::npos) {
        std::string_view rest = head.substr(firstSlash + 1);
        size_t secondSlash = rest.find('/');
        month = rest.substr(0, secondSlash);
        if (secondSlash != std::string_view::npos)
            day = rest.substr(secondSlash + 1);
    }
    int64_t date = int64_t{leadingInt(year)} * 10000 + int64_t{leadingInt(month)} * 100 + leadingInt(day);
    return saturateToInt32(date);
}

int32_t rowDate(std::string_view token)
{
    // Year and month run on past the token's end: missing characters count as zeros, exactly as
    // a row of empty cells does.
    size_t pos = 0;
    auto foldUpToSlash = [&] {
        int64_t value = 0;
        for (; pos < kDateLength && charAt(token, pos) != '/'; ++pos)
            value = foldDigit(value, digitOrZero(charAt(token, pos)));
        ++pos;
        return value;
    };
    int64_t year = foldUpToSlash();
    int64_t month = foldUpToSlash();
    int64_t day = 0;
    for (; pos < kDateLength && !endsRowToken(charAt(token, pos)); ++pos)
        day = foldDigit(day, digitOrZero(token[pos]));
    return saturateToInt32(year * 10000 + month * 100 + day);
}

std::string dateText(int32_t yyyymmdd)
{
    int32_t year = yyyymmdd / 10000;
    int32_t month = (yyyymmdd % 10000) / 100;
    int32_t day = yyyymmdd % 100;
    return std::to_string(year) + '/' + std::to_string(month) + '/' + std::to_string(day);
}

std::string paddedDateText(int32_t yyyymmdd)
{
    // A date of a year up to 9999 digit by digit, without printf: a long run's trade list writes
    // two a line.
    if (yyyymmdd >= 0 && yyyymmdd <= 99999999) {
        char digits[10];
        int32_t rest = yyyymmdd;
        for (int i : {9, 8, 6, 5, 3, 2, 1, 0}) {
            digits[i] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        digits[4] = digits[7] = '/';
        return std::string(digits, sizeof digits);
    }
    char text[48];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", static_cast<int>(yyyymmdd / 10000),
                  static_cast<int>((yyyymmdd % 10000) / 100), static_cast<int>(yyyymmdd % 100));
    return text;
}

int32_t truncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace kv
