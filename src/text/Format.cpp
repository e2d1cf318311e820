// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

namespace kv {

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                                   1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
constexpr int kFastDecimals = 17;
// Below this the product value × 10^decimals is off by less than 1/8 from the exact one, so the
// integer it is truncated to is at most one away from the exact integer part.
constexpr double kFastLimit = 1125899906842624.0;  // 2^50
// Any double's exact decimal expansion has at most 1074 digits after the point.
constexpr int kExactDecimals = 1074;

void appendUnsigned(std::string& out, unsigned long long value, int minDigits = 1)
{
    char buffer[24];
    char* end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
        --minDigits;
    } while (value != 0 || minDigits > 0);
    out.append(p, static_cast<size_t>(end - p));
}

void appendInteger(std::string& out, long long value, int width, bool zeroPad)
{
    bool negative = value < 0;
    // -(value + 1) + 1 keeps the minimum value in range without any wrap-around.
    unsigned long long magnitude =
        negative ? static_cast<unsigned long long>(-(value + 1)) + 1 : static_cast<unsigned long long>(value);
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude);
    (void)ec;
    int length = static_cast<int>(end - digits) + (negative ? 1 : 0);
    int padding = width > length ? width - length : 0;
    if (!zeroPad)
        out.append(static_cast<size_t>(padding), ' ');
    if (negative)
        out += '-';
    if (zeroPad)
        out.append(static_cast<size_t>(padding), '0');
    out.append(digits, end);
}

// Rounds the exact decimal expansion of magnitude (not negative) to `decimals` digits, halves
// away from zero. Used where the fast path cannot decide.
void appendExact(std::string& out, double magnitude, int decimals)
{
    static thread_local char buffer[400 + kExactDecimals];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, kExactDecimals);
    (void)ec;
    char* point = static_cast<char*>(std::memchr(buffer, '.', static_cast<size_t>(end - buffer)));
    // Keep the integer digits, the point and `decimals` digits; the next digit decides.
    char* last = decimals == 0 ? point : point + decimals + 1;
    bool roundUp = last < end && (decimals == 0 ? point[1] : *last) >= '5';
    std::string digits(buffer, decimals == 0 ? point : last);
    if (roundUp) {
        size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '.')
                continue;
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
            if (i == 0)
                digits.insert(digits.begin(), '1');
        }
    }
    out += digits;
}

}  // namespace

void appendFixed(std::string& out, double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > kExactDecimals)
        decimals = kExactDecimals;
    // The sign is printed whenever it is set, -0.0 and values rounding to zero included.
    if (std::signbit(value))
        out += '-';
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (std::isinf(value)) {
        out += "inf";
        return;
    }
    double magnitude = std::fabs(value);
    if (decimals <= kFastDecimals) {
        double scale = kPowersOfTen[decimals];
        double scaled = magnitude * scale;
        if (scaled < kFastLimit) {
            double whole = std::floor(scaled);
            // The sign of the exact magnitude × scale − (whole + ½), which fma gives without an
            // intermediate rounding; a tie lands on zero and goes up.
            bool up = std::fma(magnitude, scale, -(whole + 0.5)) >= 0;
            auto rounded = static_cast<unsigned long long>(whole) + (up ? 1 : 0);
            auto unit = static_cast<unsigned long long>(scale);
            appendUnsigned(out, rounded / unit);
            if (decimals > 0) {
                out += '.';
                appendUnsigned(out, rounded % unit, decimals);
            }
            return;
        }
    }
    appendExact(out, magnitude, decimals);
}

std::string fixed(double value, int decimals)
{
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

std::string format(std::string_view fmt, std::initializer_list<FormatArg> args)
{
    std::string out;
    out.reserve(fmt.size() + 16);
    const FormatArg* arg = args.begin();
    size_t pos = 0;
    while (pos < fmt.size()) {
        size_t percent = fmt.find('%', pos);
        if (percent == std::string_view::npos) {
            out.append(fmt.substr(pos));
            break;
        }
        out.append(fmt.substr(pos, percent - pos));
        size_t p = percent + 1;
        auto at = [&](size_t i) { return i < fmt.size() ? fmt[i] : '\0'; };
        if (at(p) == '%') {
            out += '%';
            pos = p + 1;
            continue;
        }

        // Recognise %d, %0Nd, %Nd, %s, %f and %.Nf.
        FormatArg::Kind wanted;
        bool zeroPad = false;
        int width = 0;
        int decimals = 6;
        if (at(p) == '.' && at(p + 1) >= '0' && at(p + 1) <= '9' && at(p + 2) == 'f') {
            wanted = FormatArg::Kind::Real;
            decimals = at(p + 1) - '0';
            p += 3;
        } else {
            if (at(p) == '0') {
                zeroPad = true;
                ++p;
            }
            size_t widthStart = p;
            while (at(p) >= '0' && at(p) <= '9' && width < 1000) {
                width = width * 10 + (at(p) - '0');
                ++p;
            }
            bool hasWidth = zeroPad || p > widthStart;
            char conversion = at(p);
            if (conversion == 'd') {
                wanted = FormatArg::Kind::Integer;
            } else if (!hasWidth && conversion == 's') {
                wanted = FormatArg::Kind::Text;
            } else if (!hasWidth && conversion == 'f') {
                wanted = FormatArg::Kind::Real;
            } else {
                // Not a directive: the '%' is an ordinary character.
                out += '%';
                pos = percent + 1;
                continue;
            }
            ++p;
        }

        // A directive takes its argument even when the kind does not match, so that the
        // directives after it still meet their own arguments.
        const FormatArg* current = arg != args.end() ? arg++ : nullptr;
        if (current == nullptr || current->kind != wanted) {
            out.append(fmt.substr(percent, p - percent));
        } else if (wanted == FormatArg::Kind::Integer) {
            appendInteger(out, current->integer, width, zeroPad);
        } else if (wanted == FormatArg::Kind::Text) {
            out.append(current->text);
        } else {
            appendFixed(out, current->real, decimals);
        }
        pos = p;
    }
    return out;
}

namespace {

const std::string_view kNoFigure = "----";

// The sign ("-" or ""), and the digits of `value` rounded to `decimals` with a comma between
// each group of three whole digits.
std::pair<std::string, std::string> signAndGroupedDigits(double value, int decimals)
{
    std::string plain = fixed(value, decimals);
    std::string sign;
    if (!plain.empty() && plain[0] == '-') {
        sign = "-";
        plain.erase(0, 1);
    }
    if (plain.find_first_not_of("0.") == std::string::npos)
        sign.clear();
    size_t wholeEnd = plain.find('.');
    if (wholeEnd == std::string::npos)
        wholeEnd = plain.size();
    std::string grouped;
    grouped.reserve(plain.size() + wholeEnd / 3);
    for (size_t i = 0; i < wholeEnd; ++i) {
        if (i > 0 && (wholeEnd - i) % 3 == 0)
            grouped += ',';
        grouped += plain[i];
    }
    grouped.append(plain, wholeEnd, std::string::npos);
    return {std::move(sign), std::move(grouped)};
}

}  // namespace

std::string groupedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return std::string(kNoFigure);
    auto [sign, digits] = signAndGroupedDigits(value, decimals);
    return sign + digits;
}

std::string yenText(double amount)
{
    if (!std::isfinite(amount))
        return std::string(kNoFigure);
    auto [sign, digits] = signAndGroupedDigits(amount, 0);
    return sign + '\\' + digits;
}

std::string signedPercentText(double percent)
{
    if (!std::isfinite(percent))
        return std::string(kNoFigure);
    auto [sign, digits] = signAndGroupedDigits(percent, 2);
    return sign + digits + '%';
}

}  // namespace kv
