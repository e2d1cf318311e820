// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace kv {

namespace {

constexpr std::string_view kReplacement{"\xEF\xBF\xBD"};  // U+FFFD
constexpr std::string_view kYen{"\xC2\xA5"};              // U+00A5

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// One descriptor per direction and thread: opening is far dearer than converting, and a
// descriptor must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as possible into out (which must have room for all of it).
    // Returns 0 when all was converted, otherwise the errno that stopped it; in and out are
    // advanced past what was converted.
    int run(const char*& in, size_t& inLeft, char*& out, size_t& outLeft)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        size_t result = iconv(cd, &src, &inLeft, &out, &outLeft);
        in = src;
        return result == static_cast<size_t>(-1) ? errno : 0;
    }

private:
    iconv_t cd;
};

Converter& fromCp932()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& toCp932Converter()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

// End of the run starting at `begin` that holds no single-byte 0x5C (when yen is set), walking
// character by character so that a 0x5C trail byte never ends a run.
size_t runEnd(std::string_view text, size_t begin, bool yen)
{
    size_t i = begin;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        if (yen && b == 0x5C)
            break;
        i += (isLeadByte(b) && i + 1 < text.size()) ? 2 : 1;
    }
    return i;
}

std::string decode(std::string_view cp932, bool yen)
{
    std::string out;
    if (isAscii(cp932)) {
        if (!yen)
            return std::string(cp932);
        out.reserve(cp932.size());
        for (char c : cp932) {
            if (c == '\\')
                out += kYen;
            else
                out += c;
        }
        return out;
    }

    Converter& converter = fromCp932();
    // Every code page 932 byte becomes at most three UTF-8 bytes, U+FFFD and ¥ included.
    out.resize(cp932.size() * 3);
    char* dst = out.data();
    size_t dstLeft = out.size();
    auto put = [&](std::string_view s) {
        for (char c : s)
            *dst++ = c;
        dstLeft -= s.size();
    };

    size_t pos = 0;
    while (pos < cp932.size()) {
        if (yen && cp932[pos] == '\\') {
            put(kYen);
            ++pos;
            continue;
        }
        size_t end = runEnd(cp932, pos, yen);
        const char* src = cp932.data() + pos;
        size_t srcLeft = end - pos;
        int error = converter.valid() ? converter.run(src, srcLeft, dst, dstLeft) : EILSEQ;
        pos = static_cast<size_t>(src - cp932.data());
        if (error == 0)
            continue;
        put(kReplacement);
        if (error == EINVAL) {
            // A lead byte cut off by the end of the text.
            pos = end;
            continue;
        }
        // An invalid pair loses both bytes unless its second byte is ASCII, which is read again
        // on its own (a 0x5C there is a yen sign of its own).
        auto b = static_cast<unsigned char>(cp932[pos]);
        bool pairWithAsciiTrail = pos + 1 < cp932.size() && static_cast<unsigned char>(cp932[pos + 1]) < 0x80;
        pos += (isLeadByte(b) && pos + 1 < cp932.size() && !pairWithAsciiTrail) ? 2 : 1;
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

// Bytes to drop at an unconvertible point: a whole sequence, or a broken one up to where it
// breaks, so that each unconvertible character or broken sequence gives one '?'.
size_t utf8SkipLength(std::string_view text, size_t pos)
{
    auto b = static_cast<unsigned char>(text[pos]);
    size_t length = b < 0xC2 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 1;
    size_t i = 1;
    while (i < length && pos + i < text.size() && (static_cast<unsigned char>(text[pos + i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

}  // namespace

std::string toCp932(std::string_view utf8)
{
    size_t replaced = 0;
    return toCp932(utf8, "?", replaced);
}

std::string toCp932(std::string_view utf8, std::string_view replacement, size_t& replaced)
{
    replaced = 0;
    if (isAscii(utf8))
        return std::string(utf8);

    Converter& converter = toCp932Converter();
    // A code page 932 form is never longer than its UTF-8 form; only a replacement longer than
    // the bytes it stands for makes the text grow, and then the buffer grows with it.
    std::string out(utf8.size() + replacement.size(), '\0');
    size_t used = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char* src = utf8.data() + pos;
        size_t srcLeft = utf8.size() - pos;
        char* dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        int error = converter.valid() ? converter.run(src, srcLeft, dst, dstLeft) : EILSEQ;
        pos = static_cast<size_t>(src - utf8.data());
        used = static_cast<size_t>(dst - out.data());
        if (error == 0)
            break;
        if (error == E2BIG) {
            out.resize(out.size() + out.size() / 2 + replacement.size());
            continue;
        }
        if (out.size() - used < replacement.size())
            out.resize(out.size() + out.size() / 2 + replacement.size());
        out.replace(used, replacement.size(), replacement);
        used += replacement.size();
        ++replaced;
        pos += error == EINVAL ? utf8.size() - pos : utf8SkipLength(utf8, pos);
    }
    out.resize(used);
    return out;
}

std::string toUtf8(std::string_view cp932)
{
    return decode(cp932, false);
}

std::string toDisplayUtf8(std::string_view cp932)
{
    return decode(cp932, true);
}

std::string escapeLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

}  // namespace kv
