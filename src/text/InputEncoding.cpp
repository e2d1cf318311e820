// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/InputEncoding.h"

#include "text/Cp932.h"

namespace kv {

namespace {

constexpr std::string_view kByteOrderMark{"\xEF\xBB\xBF"};
constexpr std::string_view kReplacement{"\x81\x48"};  // ？

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 character at `pos` (overlong forms, surrogates and code
// points past U+10FFFF are not), or 0 when there is none.
size_t utf8CharLength(std::string_view text, size_t pos)
{
    auto at = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    unsigned char b = at(0);
    size_t left = text.size() - pos;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return left >= 2 && isContinuation(at(1)) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (left < 3 || !isContinuation(at(1)) || !isContinuation(at(2)))
            return 0;
        if ((b == 0xE0 && at(1) < 0xA0) || (b == 0xED && at(1) >= 0xA0))
            return 0;
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (left < 4 || !isContinuation(at(1)) || !isContinuation(at(2)) || !isContinuation(at(3)))
            return 0;
        if ((b == 0xF0 && at(1) < 0x90) || (b == 0xF4 && at(1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

}  // namespace

InputEncoding detectInputEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kByteOrderMark))
        return InputEncoding::Utf8;
    // Code page 932 text almost always breaks UTF-8 within its first few Japanese characters:
    // its lead bytes 0x81..0x9F are UTF-8 continuation bytes, and a half-width katakana byte
    // rarely follows a UTF-8 lead byte in the way UTF-8 needs.
    bool multiByte = false;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t length = utf8CharLength(bytes, pos);
        if (length == 0)
            return InputEncoding::Cp932;
        multiByte = multiByte || length > 1;
        pos += length;
    }
    return multiByte ? InputEncoding::Utf8 : InputEncoding::Cp932;
}

InputText decodeInput(std::string bytes)
{
    InputText input;
    input.encoding = detectInputEncoding(bytes);
    if (input.encoding == InputEncoding::Cp932) {
        input.text = std::move(bytes);
        return input;
    }
    std::string_view utf8(bytes);
    if (utf8.starts_with(kByteOrderMark))
        utf8.remove_prefix(kByteOrderMark.size());
    input.text = toCp932(utf8, kReplacement, input.replacedCount);
    return input;
}

}  // namespace kv
