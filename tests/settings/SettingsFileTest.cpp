#include "settings/SettingsFile.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kv {
namespace {

constexpr const char* kDefaultLine =
    "2000000,500000,2.500000,0.200000,0.100000,300000,50000000,5,-0.030000,0,3990,1.000000,0,0,0,1,0,0";

TEST(SettingsLine, DefaultsWriteTheKnownLineAndReadBack)
{
    SimulationSettings defaults;
    EXPECT_EQ(formatSettingsLine(defaults), kDefaultLine);
    EXPECT_EQ(parseSettingsLine(kDefaultLine), defaults);
}

TEST(SettingsLine, WritesRoundedAmountsAndSixDecimalRates)
{
    SimulationSettings s;
    s.capital = 1234567.6;
    s.lossWithinThreeYears = 2.5;   // halves away from zero
    s.operatingRate = 0.8;
    s.unknownProfitRate = -0.05;
    s.saveLog = false;
    s.tradeOrder = true;
    s.shortSellSystem = true;
    s.commissionSchedule = 2;
    s.maxCommission = 1680;
    EXPECT_EQ(formatSettingsLine(s),
              "1234568,3,2.500000,0.200000,0.100000,300000,50000000,5,-0.050000,2,1680,0.800000,2,0,0,0,1,1");
    EXPECT_DOUBLE_EQ(parseSettingsLine(formatSettingsLine(s)).operatingRate, 0.8);
}

TEST(SettingsLine, ReadsEveryPositionLeniently)
{
    // Position 13 wins over position 10; seventeen positions leave the short-sell flag false.
    SimulationSettings s = parseSettingsLine(
        "1000000, 5,3,0.25,0.2,1,2,3,-0.1,1,0,0.5,2,0,1,0,1");
    EXPECT_EQ(s.capital, 1000000);
    EXPECT_EQ(s.lossWithinThreeYears, 5);   // leading blanks skipped
    EXPECT_EQ(s.leverage, 3);
    EXPECT_EQ(s.commissionSchedule, 2);
    EXPECT_EQ(s.operationType, 1);
    EXPECT_FALSE(s.saveLog);
    EXPECT_TRUE(s.tradeOrder);
    EXPECT_FALSE(s.shortSellSystem);

    SimulationSettings empty = parseSettingsLine("");
    EXPECT_EQ(empty.capital, 0);
    EXPECT_EQ(empty.maxStocks, 0);
    EXPECT_FALSE(empty.saveLog);

    SimulationSettings junk = parseSettingsLine("abc,12abc,99999999999,x");
    EXPECT_EQ(junk.capital, 0);
    EXPECT_EQ(junk.lossWithinThreeYears, 12);
    EXPECT_EQ(junk.spareAmount, 0);
}

TEST(SettingsFile, FirstStartCreatesTheFileAndSaysSo)
{
    test::TempFolder folder;
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    SimulationSettings s;
    s.capital = 1;
    loadSettings(s, folder / "kvn.conf", platform);
    EXPECT_EQ(s, SimulationSettings{});
    EXPECT_EQ(folder.read("kvn.conf"), kDefaultLine);   // no line break at the end
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(toUtf8(platform.messages()[0]), "初回起動：オプションファイルを作成します。");
}

TEST(SettingsFile, ExistingFileReplacesTheDefaultsAndIsNotRewritten)
{
    test::TempFolder folder;
    folder.write("kvn.conf", "");
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    SimulationSettings s;
    loadSettings(s, folder / "kvn.conf", platform);
    EXPECT_EQ(s.capital, 0);   // an empty file sets every field to 0
    EXPECT_EQ(s.leverage, 0);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(folder.read("kvn.conf"), "");
}

TEST(SettingsFile, UnwritableFileIsReportedAndTheSettingsStay)
{
    test::TempFolder folder;
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    SimulationSettings s;
    s.capital = 42;
    EXPECT_FALSE(saveSettings(s, folder / "no-such-folder" / "kvn.conf", platform));
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(toUtf8(platform.messages()[0]),
              "ファイルオープンエラー：kvn.conf\r\nオプションファイルが作成できませんでした。");
    EXPECT_TRUE(saveSettings(s, folder / "kvn.conf", platform));
    EXPECT_EQ(folder.read("kvn.conf").substr(0, 3), "42,");
}

}  // namespace
}  // namespace kv
