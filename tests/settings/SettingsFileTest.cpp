#include "settings/SettingsFile.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

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
    s.lossWithinThreeYears = 2.5;  // halves away from zero
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
    SimulationSettings s = parseSettingsLine("1000000, 5,3,0.25,0.2,1,2,3,-0.1,1,0,0.5,2,0,1,0,1");
    EXPECT_EQ(s.capital, 1000000);
    EXPECT_EQ(s.lossWithinThreeYears, 5);  // leading blanks skipped
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
    SimulationSettings s;
    s.capital = 1;
    EXPECT_EQ(loadSettings(s, folder / "kvn.conf"), SettingsLoad::Created);
    EXPECT_EQ(s, SimulationSettings{});
    EXPECT_EQ(folder.read("kvn.conf"), kDefaultLine);  // no line break at the end

    s.capital = 1;
    EXPECT_EQ(loadSettings(s, folder / "no-such-folder" / "kvn.conf"), SettingsLoad::CreateFailed);
    EXPECT_EQ(s, SimulationSettings{});  // the defaults are in use all the same
}

TEST(SettingsFile, ExistingFileReplacesTheDefaultsAndIsNotRewritten)
{
    test::TempFolder folder;
    folder.write("kvn.conf", "");
    SimulationSettings s;
    EXPECT_EQ(loadSettings(s, folder / "kvn.conf"), SettingsLoad::Read);
    EXPECT_EQ(s.capital, 0);  // an empty file sets every field to 0
    EXPECT_EQ(s.leverage, 0);
    EXPECT_EQ(folder.read("kvn.conf"), "");
}

TEST(SettingsFile, UnwritableFileIsReportedAndTheSettingsStay)
{
    test::TempFolder folder;
    SimulationSettings s;
    s.capital = 42;
    EXPECT_FALSE(saveSettings(s, folder / "no-such-folder" / "kvn.conf"));
    EXPECT_EQ(s.capital, 42);
    EXPECT_TRUE(saveSettings(s, folder / "kvn.conf"));
    EXPECT_EQ(folder.read("kvn.conf").substr(0, 3), "42,");
}

TEST(SettingsFile, SaveReplacesTheFileWholeKeepingItsPermissions)
{
    namespace fs = std::filesystem;
    test::TempFolder folder;
    folder.write("kvn.conf", "an old line that is longer than the new one, and then some more of it");
    fs::permissions(folder / "kvn.conf", fs::perms::owner_read | fs::perms::owner_write);
    SimulationSettings s;
    ASSERT_TRUE(saveSettings(s, folder / "kvn.conf"));
    EXPECT_EQ(folder.read("kvn.conf"), formatSettingsLine(s));
    EXPECT_EQ(fs::status(folder / "kvn.conf").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(CodedSettings, CodesReadAsNamedChoices)
{
    // Positions 13 to 17 of the line: schedule, priority, operation type, log, order.
    struct Case {
        const char* codes;
        CommissionSchedule schedule;
        BuyPriority priority;
        OperationType operation;
        TradeOrder order;
    } cases[] = {
        {"0,0,0,1,0", CommissionSchedule::Kabudotcom, BuyPriority::LowestLotCost, OperationType::PerDay,
         TradeOrder::SellFirst},
        {"1,1,1,1,1", CommissionSchedule::NoCommission, BuyPriority::ListOrder, OperationType::PerStock,
         TradeOrder::BuyFirst},
        // Other codes: list order for any priority but 0, per day for any type but 1, buying
        // first for any order but 0.
        {"3,2,2,1,5", CommissionSchedule::Taikom, BuyPriority::ListOrder, OperationType::PerDay,
         TradeOrder::BuyFirst},
        {"2,-1,-1,1,-1", CommissionSchedule::Etrade, BuyPriority::ListOrder, OperationType::PerDay,
         TradeOrder::BuyFirst},
    };
    for (const Case& c : cases) {
        SimulationSettings s = parseSettingsLine(
            std::string("2000000,500000,2.5,0.2,0.1,300000,50000000,5,-0.03,0,3990,1,") + c.codes);
        EXPECT_EQ(s.schedule(), c.schedule) << c.codes;
        EXPECT_EQ(s.priority(), c.priority) << c.codes;
        EXPECT_EQ(s.operation(), c.operation) << c.codes;
        EXPECT_EQ(s.order(), c.order) << c.codes;
    }

    // Choosing by name stores the codes the file keeps.
    SimulationSettings s;
    s.setSchedule(CommissionSchedule::Etrade);
    s.setPriority(BuyPriority::ListOrder);
    s.setOperation(OperationType::PerStock);
    s.setOrder(TradeOrder::BuyFirst);
    EXPECT_EQ(
        formatSettingsLine(s),
        "2000000,500000,2.500000,0.200000,0.100000,300000,50000000,5,-0.030000,2,3990,1.000000,2,1,1,1,1,0");
}

}  // namespace
}  // namespace kv
