// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

struct Pair {
    std::string cp932;
    std::string utf8;
};

// Texts that have one form in each encoding and must convert both ways.
const Pair kRoundTrips[] = {
    {"", ""},
    {"abc 123,", "abc 123,"},
    {"\x81\x9B", "○"},
    {"\x81\x7E", "×"},
    {"\x81\x48", "？"},
    {"\x83\x5C\x83\x74\x83\x67", "ソフト"},  // 0x5C as the second byte of ソ
    {"\x96\xF1\x92\xE8\x82\xB9\x82\xB8", "約定せず"},
    {"\x94\xBB\x92\xE8\x95\x73\x89\xC2", "判定不可"},
    {"\x81\x40", "　"},
    {"\xB1\xB2", "ｱｲ"},  // half-width katakana, one byte each
    {"\\%.0f", "\\%.0f"},
    {"\x81\x9B(\x8C\x8B\x89\xCA\x82\xCD\x91\xB9\x8E\xB8)", "○(結果は損失)"},
    {"a\r\nb", "a\r\nb"},
};

TEST(Cp932, ConvertsBothWays)
{
    for (const auto& pair : kRoundTrips) {
        EXPECT_EQ(toUtf8(pair.cp932), pair.utf8) << pair.utf8;
        EXPECT_EQ(toCp932(pair.utf8), pair.cp932) << pair.utf8;
    }
}

TEST(Cp932, MarkConstantsMatchTheirCharacters)
{
    EXPECT_EQ(toCp932("○"), kMarkSuccess);
    EXPECT_EQ(toCp932("×"), kMarkFailure);
    EXPECT_EQ(toCp932("？"), kMarkUnknown);
    EXPECT_EQ(toCp932("約定せず"), kNotExecuted);
    EXPECT_EQ(toCp932("判定不可"), kUndeterminable);
    EXPECT_EQ(toCp932("　"), kFullWidthBlank);
}

TEST(Cp932, DisplayShowsOnlySingleByte5CAsYen)
{
    const Pair cases[] = {
        {"\\5000000", "¥5000000"},
        {"\x83\x5C", "ソ"},
        {"\x83\x5C\\", "ソ¥"},
        {"\\\x83\x5C\\", "¥ソ¥"},
        {"a\\b", "a¥b"},
        {"\xB1\\", "ｱ¥"},             // a single-byte katakana is no lead byte
        {"\x85\\", "\xEF\xBF\xBD¥"},  // unassigned pair: its ASCII second byte stands alone
        // The edges of the lead-byte ranges 0x81-0x9F and 0xE0-0xFC.
        {"\x9F\x5C", "歃"},
        {"\xE0\x5C", "濬"},
        {"\xFC\x4B\\", "黑¥"},
        {"\xA0\\", "\xEF\xBF\xBD¥"},
        {"\xDF\\", "ﾟ¥"},
        {"\xFD\\", "\xEF\xBF\xBD¥"},
    };
    for (const auto& pair : cases)
        EXPECT_EQ(toDisplayUtf8(pair.cp932), pair.utf8) << pair.utf8;
}

TEST(Cp932, YenSignConvertsBackToByte5C)
{
    EXPECT_EQ(toCp932(toDisplayUtf8("\\1,000\x83\x5C")), "\\1,000\x83\x5C");
}

TEST(Cp932, InvalidBytesBecomeReplacementAndConversionGoesOn)
{
    const std::string fffd = "\xEF\xBF\xBD";
    const Pair cases[] = {
        {"\x80", fffd},
        {"a\xA0"
         "b",
         "a" + fffd + "b"},
        {"\xFD\xFE\xFF", fffd + fffd + fffd},
        {"\x81", fffd},  // lead byte cut off by the end
        {"ab\x83", "ab" + fffd},
        {"\x81 x", fffd + " x"},            // ASCII after a lead byte is kept
        {"\x81\xFD\x81\x9B", fffd + "○"},   // invalid pair dropped whole
        {"\x85\xA0\x81\x9B", fffd + "○"},   // unassigned pair
        {"\x85\x40\x81\x9B", fffd + "@○"},  // unassigned pair, ASCII second byte kept
    };
    for (const auto& pair : cases) {
        EXPECT_EQ(toUtf8(pair.cp932), pair.utf8) << pair.utf8;
        EXPECT_EQ(toDisplayUtf8(pair.cp932), pair.utf8) << pair.utf8;
    }
}

TEST(Cp932, UnconvertibleCharactersBecomeQuestionMarks)
{
    const Pair cases[] = {
        {"?", "😀"},
        {"a?b",
         "a\xFF"
         "b"},                                  // not UTF-8 at all
        {"?\x81\x9B", "\xE3\x81\xE2\x97\x8B"},  // broken sequence, then ○
        {"x?", "x\xE2\x97"},                    // sequence cut off by the end
        {"\x81\x9B?\x81\x7E", "○한×"},
    };
    for (const auto& pair : cases)
        EXPECT_EQ(toCp932(pair.utf8), pair.cp932) << pair.utf8;
}

TEST(Cp932, LongTextsConvertWhole)
{
    std::string cp932;
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        cp932 += "\x83\x5C\\a";
        utf8 += "ソ\\a";
    }
    EXPECT_EQ(toUtf8(cp932), utf8);
    EXPECT_EQ(toCp932(utf8), cp932);
}

TEST(Cp932, EscapesLineBreaks)
{
    EXPECT_EQ(escapeLineBreaks("a\r\nb\nc\rd"), "a\\r\\nb\\nc\\rd");
    EXPECT_EQ(escapeLineBreaks("\x83\x5C"), "\x83\x5C");
}

}  // namespace
}  // namespace kv
