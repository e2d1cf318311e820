// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's printf-style texts. The format is always a literal of the program and the
// arguments are values: no text of a row or file is ever read as a format. "%.Nf" rounds halves
// away from zero on the exact binary value (glibc's printf rounds ties to even).
//
// Supported directives: %d %s %f %.Nf %0Nd %Nd %%; the byte 0x5C is an ordinary character.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kv {

class FormatArg {
public:
    FormatArg(int v) : kind(Kind::Integer), integer(v) {}
    FormatArg(long v) : kind(Kind::Integer), integer(v) {}
    FormatArg(long long v) : kind(Kind::Integer), integer(v) {}
    FormatArg(double v) : kind(Kind::Real), real(v) {}
    FormatArg(std::string_view v) : kind(Kind::Text), text(v) {}
    FormatArg(const std::string& v) : kind(Kind::Text), text(v) {}
    FormatArg(const char* v) : kind(Kind::Text), text(v) {}

    enum class Kind { Integer, Real, Text };
    Kind kind;
    long long integer = 0;
    double real = 0;
    std::string_view text;
};

// Formats fmt (code page 932 bytes) with args. A directive without a matching argument, or
// whose argument has the wrong kind, is written as it stands; a mismatched directive still uses
// up its argument. Any other '%' is an ordinary character.
std::string format(std::string_view fmt, std::initializer_list<FormatArg> args);

// Appends value with `decimals` digits after the point, halves rounded away from zero.
void appendFixed(std::string& out, double value, int decimals);

// value with `decimals` digits after the point, halves rounded away from zero.
std::string fixed(double value, int decimals);

// The figures of Kirvane's own result windows and report, with thousands separators:
// groupedText(2200000, 0) is "2,200,000", yenText(-288540) is "-\\288,540" (the code page 932
// yen sign), signedPercentText(-14.434) is "-14.43%". Halves round away from zero; a value that
// rounds to zero carries no minus sign; a value that is not finite gives "----".
std::string groupedText(double value, int decimals);
std::string yenText(double amount);
std::string signedPercentText(double percent);

}  // namespace kv
