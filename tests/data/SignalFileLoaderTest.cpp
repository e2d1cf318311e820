// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SignalFileLoader.h"

#include "data/SimulatorApp.h"
#include "support/StockMaster.h"
#include "text/Cp932.h"
#include "text/LineReader.h"
#include "data/SignalRows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

const std::string kHeader = "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス";

// A stock master of a few names (one of them under two codes) and a loader run over UTF-8 rows.
class SignalLoad : public ::testing::Test {
protected:
    SignalLoad()
    {
        test::StockMaster({{1301, "極洋", 1000},
                           {5, "五番", 100},
                           {7000, "同名", 10},
                           {7001, "同名", 1},
                           {2000, "日本　商事", 100}})  // the stock master has already widened its blanks
            .enterInto(*app);
    }

    SignalLoadResult load(const std::vector<std::string>& utf8Rows, bool withHeader = true)
    {
        std::string bytes = withHeader ? toCp932(kHeader) + "\r\n" : "";
        for (const std::string& row : utf8Rows)
            bytes += toCp932(row) + "\r\n";
        return loadBytes(bytes);
    }

    SignalLoadResult loadBytes(std::string bytes)
    {
        LineReader reader(std::move(bytes));
        return loadSignalFile(reader, app->master, app->tallies, list);
    }

    std::string line(int i) const { return toUtf8(std::string(list.text(i))); }

    // A slot the file did not reach reads as unused: date 0, nothing tallied.
    int32_t slotDate(size_t slot) const
    {
        return slot < app->tallies.slotDate.size() ? app->tallies.slotDate[slot] : 0;
    }
    SignalTally dateTally(size_t slot) const
    {
        return slot < app->tallies.dateTally.size() ? app->tallies.dateTally[slot] : SignalTally{};
    }

    std::unique_ptr<SimulatorApp> app = std::make_unique<SimulatorApp>();
    SignalRows list;
};

TEST_F(SignalLoad, HeaderOnlyOrEmptyFileListsNothing)
{
    for (bool withHeader : {true, false}) {
        list.append("earlier", app->master);
        app->tallies.overallTally.signalCount = 3;
        app->tallies.slotDate.assign(1, 20040105);
        app->tallies.stockTally[9999].signalCount = 1;
        app->tallies.dateTally.assign(kDateSlotCount, SignalTally{});
        app->tallies.dateTally[kDateSlotCount - 1].unknownCount = 1;
        SignalLoadResult r = load({}, withHeader);
        EXPECT_EQ(r.rowCount, 0);
        EXPECT_EQ(list.count(), 0);
        EXPECT_EQ(app->tallies.overallTally.signalCount, 0);
        EXPECT_EQ(slotDate(0), 0);
        EXPECT_EQ(app->tallies.stockTally[9999].signalCount, 0);
        EXPECT_EQ(dateTally(kDateSlotCount - 1).unknownCount, 0);
    }
}

TEST_F(SignalLoad, NamesFindTheirCode)
{
    load({
        "同名,2004/01/05,100,○,2004/01/06,110,a",  // under two codes: the higher one
        "極洋,2004/01/05,100,○,2004/01/06,110,b",
        "未上場,2004/01/05,100,×,2004/01/06,90,c",     // no such stock: code 0, not 1301
        ",2004/01/05,100,×,2004/01/06,90,d",           // an empty name matches nothing
        "日本 商事,2004/01/05,100,×,2004/01/06,90,e",  // the blank widened before the look-up
    });
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(line(0), "7001 同名 2004/01/05 100 ○ 2004/01/06 110 a\r\n 1");
    EXPECT_EQ(line(1).substr(0, 5), "1301 ");
    EXPECT_EQ(line(2), "0000 未上場 2004/01/05 100 × 2004/01/06 90 c\r\n 0");
    EXPECT_EQ(line(3).substr(0, 6), "0000  ");
    EXPECT_EQ(line(4), "2000 日本　商事 2004/01/05 100 × 2004/01/06 90 e\r\n 100");
    EXPECT_EQ(app->tallies.stockTally[7001].successCount, 1);
    EXPECT_EQ(app->tallies.stockTally[7000].signalCount, 0);
    EXPECT_EQ(app->tallies.stockTally[1301].signalCount, 1);
    EXPECT_EQ(app->tallies.stockTally[0].failureCount, 2);
    EXPECT_EQ(app->tallies.stockTally[2000].failureCount, 1);
}

TEST_F(SignalLoad, DateSlotsFollowTheFileOrder)
{
    load({
        "極洋,2005/01/04,100,○,2005/01/05,110,a",
        "極洋,2005/1/4,100,×,2005/01/05,90,b",  // the same date written otherwise
        "五番,2005/01/05,100,？,2005/01/06,100,c",
        "五番,2005/01/04,100,○,2005/01/06,120,d",  // a date that comes back opens a new slot
    });
    EXPECT_EQ(slotDate(0), 20050104);
    EXPECT_EQ(slotDate(1), 20050105);
    EXPECT_EQ(slotDate(2), 20050104);
    EXPECT_EQ(slotDate(3), 0);
    EXPECT_EQ(dateTally(0).signalCount, 2);
    EXPECT_EQ(dateTally(1).unknownCount, 1);
    EXPECT_EQ(dateTally(2).successCount, 1);
    EXPECT_NEAR(dateTally(2).successReturnSum, 0.2, 1e-12);
}

TEST_F(SignalLoad, UnexecutedRowsTakeASlotButAreNeitherTalliedNorListed)
{
    SignalLoadResult r = load({
        "極洋,2004/01/05,250,○,2004/01/14,270,a",
        "五番,2004/01/06,約定せず,○,2004/01/14,270,b",
    });
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(r.lastDateText, "2004/01/05");
    EXPECT_EQ(slotDate(1), 20040106);
    EXPECT_EQ(dateTally(1).signalCount, 0);
    EXPECT_EQ(app->tallies.overallTally.signalCount, 1);
    EXPECT_EQ(app->tallies.stockTally[5].signalCount, 0);

    // Only unexecuted rows: nothing listed, but the slot is still opened.
    r = load({"五番,2004/01/07,約定せず,○,2004/01/14,270,b"});
    EXPECT_EQ(r.rowCount, 0);
    EXPECT_EQ(slotDate(0), 20040107);
}

TEST_F(SignalLoad, UndeterminableRowsEndOnTheFarDateAtTheirBuyPrice)
{
    load({
        "極洋,2004/01/05,782,？,2004/01/07,800,判定不可（データ不足）",
        "極洋,2004/01/05,782,？,2004/01/07,800,データ不足",
        "極洋,2004/01/05,782,○,2004/01/07,800,判定不可",       // only with the mark ？
        "極洋,2004/01/05,782,？(注),2004/01/07,800,判定不可",  // exactly ？
    });
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(line(0), "1301 極洋 2004/01/05 782 ？ 9999/99/99 782 判定不可（データ不足）\r\n 1000");
    EXPECT_EQ(line(1), "1301 極洋 2004/01/05 782 ？ 2004/01/07 800 データ不足\r\n 1000");
    EXPECT_EQ(line(2), "1301 極洋 2004/01/05 782 ○ 2004/01/07 800 判定不可\r\n 1000");
    EXPECT_EQ(line(3), "1301 極洋 2004/01/05 782 ？(注) 2004/01/07 800 判定不可\r\n 1000");
    EXPECT_EQ(app->tallies.overallTally.unknownCount, 2);
    EXPECT_NEAR(app->tallies.overallTally.successReturnSum, 800.0 / 782 - 1, 1e-12);
    EXPECT_EQ(app->tallies.overallTally.failureReturnSum, 0);
}

TEST_F(SignalLoad, ReturnsGoToTheOverallStockAndSlotTallies)
{
    load({"極洋,2004/01/05,250,○,2004/01/14,270,+8%", "五番,2004/01/05,0,○,2004/01/14,270,zero"});
    SignalTally firstDay = dateTally(0);
    for (const SignalTally* t : {&app->tallies.overallTally, &app->tallies.stockTally[1301], &firstDay})
        EXPECT_NEAR(t->successReturnSum, 0.08, 1e-12);
    // A buy price of 0 is counted and listed, but adds nothing to a sum.
    EXPECT_EQ(app->tallies.overallTally.successCount, 2);
    EXPECT_EQ(app->tallies.stockTally[5].successReturnSum, 0);
    EXPECT_EQ(list.count(), 2);
}

TEST_F(SignalLoad, BlanksLengthsAndMissingFields)
{
    const std::string longName(70, 'N');
    const std::string tail(300, 'x');
    load({
        "極洋,2004/01/05,250,○",                                          // fewer than seven fields
        longName + ",2004/01/05,250,○,2004/01/06,260,p",                  // fields keep 64 bytes
        "極洋,2004/01/05,250,○,2004/01/06,260,a b" + tail,                // cut at 255 bytes
        "極洋,2004/01/05,250,○,2004/01/06,260," + std::string(120, ' '),  // widened, then cut
    });
    ASSERT_EQ(list.count(), 4);  // the rest of the long line is no row of its own
    EXPECT_EQ(line(0), "1301 極洋 2004/01/05 250 ○\r\n    1000");  // the last column keeps the line end
    EXPECT_EQ(line(1), "0000 " + longName.substr(0, 64) + " 2004/01/05 250 ○ 2004/01/06 260 p\r\n 0");
    std::string prefix = "極洋,2004/01/05,250,○,2004/01/06,260,";
    size_t prefixBytes = toCp932(prefix).size();
    EXPECT_EQ(line(2), "1301 極洋 2004/01/05 250 ○ 2004/01/06 260 a　b" + tail.substr(0, 64 - 4) + " 1000");
    // 120 blanks become 240 bytes; the line keeps 255 bytes, the field its first 64.
    ASSERT_LT(prefixBytes, 255u - 64);
    std::string blanks;
    for (int i = 0; i < 32; ++i)
        blanks += "　";
    EXPECT_EQ(line(3), "1301 極洋 2004/01/05 250 ○ 2004/01/06 260 " + blanks + " 1000");
}

// Each row a new date: the 250,001st date slot does not exist.
std::string rowsOfDistinctDates(int count)
{
    std::string bytes = "header\r\n";
    for (int i = 0; i < count; ++i)
        bytes += "x," + std::to_string(1000 + i / 1000) + "/" + std::to_string(i / 20 % 50 + 1) + "/" +
            std::to_string(i % 20 + 1) + ",100,x,,,\r\n";
    return bytes;
}

TEST_F(SignalLoad, TooManyDateSlotsStopTheLoad)
{
    SignalLoadResult r = loadBytes(rowsOfDistinctDates(kDateSlotCount));
    EXPECT_EQ(r.rowCount, kDateSlotCount);
    EXPECT_FALSE(r.tooManyDates);
    EXPECT_EQ(slotDate(kDateSlotCount - 1), 12495020);

    r = loadBytes(rowsOfDistinctDates(kDateSlotCount + 1));
    EXPECT_TRUE(r.tooManyDates);
    EXPECT_EQ(r.rowCount, kDateSlotCount);  // the row without a slot was not listed
    EXPECT_EQ(list.count(), kDateSlotCount);
}

}  // namespace
}  // namespace kv
