// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SimulatorApp.h"
#include "data/StockMasterFile.h"
#include "support/StockMaster.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "text/LineReader.h"

#include <gtest/gtest.h>

#include <memory>

namespace kv {
namespace {

std::unique_ptr<SimulatorApp> readMaster(const std::string& utf8Content)
{
    auto app = std::make_unique<SimulatorApp>();
    LineReader reader(toCp932(utf8Content));
    readStockMaster(reader, app->master);
    return app;
}

TEST(StockMaster, ReadsCodesNamesAndUnitsByTheirDigitRules)
{
    auto app = readMaster("1301,looks,like,1\r\n"  // header: skipped whatever it holds
                          "1301,極洋,東証1部,1000\r\n"
                          "0001,一号,x,100\r\n"
                          "13a2,文字入り,x,10\r\n"     // a letter counts as the digit 0
                          "130,三桁,x,1\r\n"           // three digits: 1300
                          "2001,空白単位,x,1000 \r\n"  // a trailing blank multiplies by ten
                          "3001,短い\r\n"              // fewer fields: unit 0
                          "4001,単位に字,x,1a0\n");
    EXPECT_EQ(app->master.stockName[1301], toCp932("極洋"));
    EXPECT_EQ(app->master.tradingUnit[1301], 1000);
    EXPECT_EQ(app->master.stockName[1], toCp932("一号"));
    EXPECT_EQ(app->master.tradingUnit[1], 100);
    EXPECT_EQ(app->master.stockName[1302], toCp932("文字入り"));
    EXPECT_EQ(app->master.tradingUnit[1302], 10);
    EXPECT_EQ(app->master.stockName[1300], toCp932("三桁"));
    EXPECT_EQ(app->master.tradingUnit[2001], 10000);
    EXPECT_EQ(app->master.tradingUnit[3001], 0);
    EXPECT_EQ(app->master.tradingUnit[4001], 100);
    EXPECT_TRUE(app->master.stockName[5000].empty());
    EXPECT_EQ(app->master.tradingUnit[5000], 0);
}

TEST(StockMaster, RepeatedCodeTakesTheLastLineAndBlanksBecomeFullWidth)
{
    auto app = readMaster("h\r\n1301,古い名前,x,100\r\n1301,新しい 名前,x,1000\r\n");
    EXPECT_EQ(app->master.stockName[1301], toCp932("新しい　名前"));
    EXPECT_EQ(app->master.tradingUnit[1301], 1000);
    EXPECT_EQ(app->master.highestCodeNamed(toCp932("古い名前")), 0);
}

TEST(StockMaster, LongNamesAndLinesAreCut)
{
    std::string longName(70, 'N');
    auto app =
        readMaster("h\n1301," + longName + ",x,100\n1302," + std::string(300, 'M') + "\n9999,next,x,1\n");
    EXPECT_EQ(app->master.stockName[1301], std::string(64, 'N'));
    EXPECT_EQ(app->master.stockName[1302], std::string(64, 'M'));
    EXPECT_EQ(app->master.stockName[9999], "next");  // the rest of the long line made no record
}

TEST(StockMaster, NameIndexGivesHighestAndLowestCodeAndNothingForEmptyNames)
{
    auto app = readMaster("h\n1000,同名,x,1\n7000,同名,x,1\n3000,同名,x,1\n");
    EXPECT_EQ(app->master.highestCodeNamed(toCp932("同名")), 7000);
    EXPECT_EQ(app->master.lowestCodeNamed(toCp932("同名")), 1000);
    EXPECT_EQ(app->master.highestCodeNamed(""), 0);
    EXPECT_EQ(app->master.lowestCodeNamed(toCp932("無名")), 0);
}

TEST(StockMaster, EmptyFileGivesAnEmptyMaster)
{
    auto app = std::make_unique<SimulatorApp>();
    test::listedStocks().enterInto(*app);
    LineReader reader("");
    readStockMaster(reader, app->master);
    EXPECT_EQ(app->master.tradingUnit[1301], 0);
    EXPECT_EQ(app->master.tradingUnit[7203], 0);
}

TEST(StockMasterLoad, ReadsTheFileAndKeepsItsFolderEitherWay)
{
    test::TempFolder folder;
    std::filesystem::path file = test::listedStocks().writeIndex(folder, "master.txt");
    auto app = std::make_unique<SimulatorApp>();
    std::optional<LineReader> reader = LineReader::open(file);
    EXPECT_EQ(loadStockMaster(*app, file, reader), StockMasterLoad::Read);
    EXPECT_EQ(app->master.tradingUnit[1301], 1000);
    EXPECT_EQ(app->master.highestCodeNamed(toCp932("トヨタ自動車")), 7203);
    EXPECT_EQ(app->dataFolder, folder.path());

    // A file that cannot be opened leaves the master as it was; the settings go beside it.
    test::TempFolder elsewhere;
    std::optional<LineReader> none;
    EXPECT_EQ(loadStockMaster(*app, elsewhere / "missing.txt", none), StockMasterLoad::CannotOpen);
    EXPECT_EQ(app->master.tradingUnit[1301], 1000);
    EXPECT_EQ(app->dataFolder, elsewhere.path());
}

}  // namespace
}  // namespace kv
