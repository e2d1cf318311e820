// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SignalListLine.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

using Tokens = std::array<std::string, kListTokenCount>;

SignalRowTexts rowOf(std::string_view name, std::string_view performance)
{
    return {name, "2004/01/05", "250", "\x81\x9B", "2004/01/14", "270", performance};
}

TEST(SignalListLine, CodeIsFourDigitsAndTheUnitPlain)
{
    std::string line = "left over from an earlier row";
    buildListLine(line, 5, rowOf("abc", "+8.0%"), 1000);
    EXPECT_EQ(line, "0005 abc 2004/01/05 250 \x81\x9B 2004/01/14 270 +8.0% 1000");
    // Row text is never read as a format.
    buildListLine(line, 0, rowOf("%s%d%n", "%.2f%%\r\n"), 0);
    EXPECT_EQ(line, "0000 %s%d%n 2004/01/05 250 \x81\x9B 2004/01/14 270 %.2f%%\r\n 0");
    buildListLine(line, 9999, rowOf("x", "p"), 10000);
    EXPECT_EQ(line, "9999 x 2004/01/05 250 \x81\x9B 2004/01/14 270 p 10000");
}

TEST(SignalListLine, SplitGivesTheNineTokensBack)
{
    std::string line;
    SignalRowTexts row{"a\x81\x40"
                       "b",
                       "2004/01/05",
                       "",
                       "\x81\x48",
                       "2004/01/07",
                       "",
                       "perf\r\n"};
    buildListLine(line, 42, row, 100);
    Tokens tokens;
    splitListLine(line, tokens);
    EXPECT_EQ(tokens,
              (Tokens{"0042",
                      "a\x81\x40"
                      "b",
                      "2004/01/05", "", "\x81\x48", "2004/01/07", "", "perf\r\n", "100"}));
    EXPECT_EQ(listToken(line, 2), "2004/01/05");
    EXPECT_EQ(listToken(line, 3), "");
    EXPECT_EQ(listToken(line, 8), "100");
    EXPECT_EQ(listToken(line, 9), "");
}

TEST(SignalListLine, SplitOfShortAndLongLines)
{
    struct Case {
        std::string line;
        Tokens expected;
    };
    const std::string longName(64, 'n');
    const std::string longPerformance(64, 'p');
    const Case cases[] = {
        {"", {}},
        {"0001 name", {"0001", "name"}},
        {"0001 name 2004/1/5 ", {"0001", "name", "2004/1/5", ""}},
        // A holdings row: the lots after the unit are not a detail token.
        {"0001 n d 100 m e 110 p 1000 12", {"0001", "n", "d", "100", "m", "e", "110", "p", "1000"}},
        // Longer than 255 bytes: kept whole, no token cut.
        {"0001 " + longName + " d b m e s " + longPerformance + longPerformance + longPerformance + " 7",
         {"0001", longName, "d", "b", "m", "e", "s", longPerformance + longPerformance + longPerformance,
          "7"}},
    };
    for (const Case& c : cases) {
        Tokens tokens;
        tokens.fill("stale");  // what an earlier selection left must not survive
        splitListLine(c.line, tokens);
        EXPECT_EQ(tokens, c.expected) << c.line;
    }
}

}  // namespace
}  // namespace kv
