// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every conversion from text to a number that the program's files and rows use. Each rule is
// lenient (text without a number gives 0) and saturates at the int32 limits instead of
// overflowing.

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// Clamps a 64-bit value into int32.
int32_t saturateToInt32(int64_t value);

// atoi-like: leading white space skipped, an optional sign, then decimal digits up to the first
// other character; 0 when there is no digit.
int32_t leadingInt(std::string_view text);

// atof-like: leading white space skipped, then the longest decimal floating-point number
// (sign, digits, point, exponent); 0 when there is none.
double leadingDouble(std::string_view text);

// Stock code of an index.txt record: the first four characters, each taken alone as a decimal
// digit (anything else, or a missing character, counts as 0): "13a1" gives 1301, "130" 1300.
int32_t foldStockCode(std::string_view field);

// Trading unit of an index.txt record: characters up to the first CR, LF or the end, each a
// decimal digit or 0 for any other character ("1000 " gives 10000).
int32_t foldTradingUnit(std::string_view field);

// Number of a list-row token: the first 64 characters up to a space, CR or LF, every
// non-digit counting as the digit 0 ("1,234" gives 10234).
int32_t rowNumber(std::string_view token);

// Truncates toward zero; values beyond the int32 limits give the nearest limit, and NaN gives 0.
int32_t truncateToInt32(double value);

// The same rule accumulated in double (the lot count of a holdings row).
double rowNumberAsDouble(std::string_view token);

// Date of a signal-file field "y/m/d": year, month and day are the texts before, between and
// after the first two '/', within the first ten characters, each read with leadingInt.
// Gives year × 10000 + month × 100 + day.
int32_t fieldDate(std::string_view field);

// Date of a list-row token: year and month are folded digit by digit up to their '/' (one
// character is skipped after each), the day up to a space, CR, LF or the token's end, all within
// the first ten characters; non-digits count as 0. "2004/01/05" and "2004/1/5" give 20040105.
int32_t rowDate(std::string_view token);

// "%d/%d/%d" of a yyyymmdd date: 20040105 gives "2004/1/5".
std::string dateText(int32_t yyyymmdd);

// "%04d/%02d/%02d" of a yyyymmdd date: 20040105 gives "2004/01/05".
std::string paddedDateText(int32_t yyyymmdd);

}  // namespace kv
