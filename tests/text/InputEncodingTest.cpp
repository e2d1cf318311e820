// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/InputEncoding.h"

#include "text/Cp932.h"
#include "text/LineReader.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kQuestion = "\x81\x48";  // ？

TEST(InputEncoding, ByteOrderMarkOrMultiByteUtf8MeansUtf8)
{
    struct Case {
        const char* what;
        std::string bytes;
        InputEncoding expected;
    };
    const Case cases[] = {
        {"empty", "", InputEncoding::Cp932},
        {"ASCII", "name,date\r\n1301,x,y,1000\r\n", InputEncoding::Cp932},
        {"ASCII after a mark", kBom + "name,date\r\n", InputEncoding::Utf8},
        {"the mark alone", kBom, InputEncoding::Utf8},
        {"Japanese UTF-8", "銘柄,シグナル日付\r\n極洋,2004/01/05\r\n", InputEncoding::Utf8},
        {"one multi-byte character at the end", "a,b\r\nc,d,○", InputEncoding::Utf8},
        {"a four-byte character", "a,\xF0\x9F\x98\x80\r\n", InputEncoding::Utf8},
        {"UTF-8 cut inside its last character", "極洋\r\n\xE6\xA5", InputEncoding::Cp932},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detectInputEncoding(c.bytes), c.expected) << c.what;
}

TEST(InputEncoding, CodePage932IsNeverTakenForUtf8)
{
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"half-width katakana", "\xB1\xB2\xB3\r\n"},                        // ｱｲｳ
        {"half-width katakana with a sound mark", "\xC3\xDE\xB0\xC0\r\n"},  // ﾃﾞｰﾀ
        {"an overlong-looking pair", "\xC0\xAF"},                           // ﾀｯ
        {"表 with its 0x5C second byte", "\x95\x5C,1000\r\n"},
        {"ソ with its 0x5C second byte", "\x83\x5C\x83\x74\x83\x67\r\n"},          // ソフト
        {"a kanji whose bytes look like a short UTF-8 form", "\xE0\x9F\x81\x40"},  // 燹　
        {"a kanji whose bytes look like a UTF-16 surrogate", "\xED\xA0\x81\x40"},  // 恝　
        {"a mixed signal row", "\x8B\xC9\x97\x6D,2004/01/05,500,\x81\x9B,2004/01/07,520,+4.0%\r\n"},
        {"a full-width blank after ASCII",
         "1301,a\x81\x40"
         "b,x,1000\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detectInputEncoding(c.bytes), InputEncoding::Cp932) << c.what;
        InputText input = decodeInput(c.bytes);
        EXPECT_EQ(input.text, c.bytes) << c.what;
        EXPECT_EQ(input.replacedCount, 0u) << c.what;
    }
}

TEST(InputEncoding, Utf8BecomesCodePage932WithoutTheMark)
{
    struct Case {
        const char* what;
        std::string utf8;
        std::string cp932;
    };
    const Case cases[] = {
        {"marks and line ends", "極洋,○\r\n×,？\r\n", toCp932("極洋,○\r\n×,？\r\n")},
        {"0x5C second bytes", "表,ソフト\\", "\x95\x5C,\x83\x5C\x83\x74\x83\x67\\"},
        {"half-width katakana", "ｱｲｳ", "\xB1\xB2\xB3"},
        {"約定せず and 判定不可", "約定せず,判定不可",
         std::string(kNotExecuted) + "," + std::string(kUndeterminable)},
        {"the yen sign, as the code page shows 0x5C", "¥500", "\\500"},
        {"the JIS forms of wave dash and minus", "〜−", "\x81\x60\x81\x7C"},
    };
    for (const Case& c : cases) {
        for (const std::string& prefix : {std::string(), kBom}) {
            InputText input = decodeInput(prefix + c.utf8);
            EXPECT_EQ(input.encoding, InputEncoding::Utf8) << c.what;
            EXPECT_EQ(input.text, c.cp932) << c.what;
            EXPECT_EQ(input.replacedCount, 0u) << c.what;
        }
    }
    // ASCII behind the mark loses only the mark.
    EXPECT_EQ(decodeInput(kBom + "a,b\r\n").text, "a,b\r\n");
    EXPECT_EQ(decodeInput(kBom).text, "");
}

TEST(InputEncoding, EachCharacterTheCodePageLacksBecomesOneQuestionMark)
{
    InputText input = decodeInput("Café,\xF0\x9F\x98\x80\xF0\x9F\x98\x80,한\r\n");
    EXPECT_EQ(input.text, "Caf" + kQuestion + "," + kQuestion + kQuestion + "," + kQuestion + "\r\n");
    EXPECT_EQ(input.replacedCount, 4u);

    // After a byte-order mark, broken sequences are replaced and counted the same way: a stray
    // continuation byte, a lead byte cut short by ASCII, and one cut off by the end of the file.
    input = decodeInput(kBom +
                        "a\x80"
                        "b\xE6\xA5"
                        "c,極\xE6");
    EXPECT_EQ(input.text, "a" + kQuestion + "b" + kQuestion + "c," + toCp932("極") + kQuestion);
    EXPECT_EQ(input.replacedCount, 3u);

    // Single bytes that become two-byte marks make the text longer than the file, and the
    // text after them must still find room.
    std::string kanji;
    for (int i = 0; i < 500; ++i)
        kanji += "株";
    input = decodeInput(kBom + std::string(1000, '\xFF') + kanji);
    EXPECT_EQ(input.replacedCount, 1000u);
    std::string marks;
    for (int i = 0; i < 1000; ++i)
        marks += kQuestion;
    EXPECT_EQ(input.text, marks + toCp932(kanji));
}

TEST(InputEncoding, LineAndFieldLimitsCountTheConvertedBytes)
{
    // 100 kanji: 300 bytes of UTF-8 but 200 of code page 932, so the line stays whole.
    std::string kanji;
    for (int i = 0; i < 100; ++i)
        kanji += "株";
    LineReader reader(decodeInput("h\r\n" + kanji + "\r\n").text);
    reader.next();
    std::optional<std::string_view> line = reader.next();
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, toCp932(kanji) + "\r\n");

    // A name of 40 kanji is cut at 64 converted bytes: 32 kanji, not 21 and a broken one.
    std::string name;
    for (int i = 0; i < 40; ++i)
        name += "株";
    std::string converted = decodeInput("1301," + name + ",x,100\r\n").text;
    Fields<4> fields = splitFields<4>(converted);
    EXPECT_EQ(fields[1], toCp932(name).substr(0, 64));
    EXPECT_EQ(fields[1].size(), 64u);
    EXPECT_EQ(fields[3], "100\r\n");
}

}  // namespace
}  // namespace kv
