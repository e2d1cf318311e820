// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ExtendedSettingsFile.h"
#include "settings/SettingByName.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "support/Deadline.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "text/LineReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <sys/stat.h>

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

// The names of the folder's entries: a write must leave no temporary file behind.
std::vector<std::string> entries(const test::TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SettingsFile, ExistingFileThatCannotBeReadIsKeptAndTheDefaultsApply)
{
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "kvn.conf");
    folder.write("kvn.conf/keep", "x");
    SimulationSettings s;
    s.capital = 1;
    int error = 0;
    EXPECT_EQ(loadSettings(s, folder / "kvn.conf", &error), SettingsLoad::Unreadable);
    EXPECT_EQ(error, EISDIR);
    EXPECT_EQ(systemErrorText(error), "Is a directory");
    EXPECT_EQ(s, SimulationSettings{});
    EXPECT_EQ(folder.read("kvn.conf/keep"), "x");
    EXPECT_EQ(entries(folder), std::vector<std::string>{"kvn.conf"});

    // Saving over it fails too, and leaves it whole.
    EXPECT_FALSE(saveSettings(s, folder / "kvn.conf"));
    EXPECT_EQ(folder.read("kvn.conf/keep"), "x");
    EXPECT_EQ(entries(folder), std::vector<std::string>{"kvn.conf"});
}

TEST(SettingsFile, WriteThatFailsOnAFullDiskLeavesTheOldFileOrNone)
{
    test::TempFolder folder;
    SimulationSettings s;
    s.capital = 42;
    int error = 0;
    {
        test::FileSizeLimit full(20);  // room for a part of the line only
        EXPECT_EQ(loadSettings(s, folder / "kvn.conf", &error), SettingsLoad::CreateFailed);
        EXPECT_EQ(error, EFBIG);
        EXPECT_EQ(s, SimulationSettings{});
        EXPECT_TRUE(entries(folder).empty());  // no file at all rather than a part of one
    }
    folder.write("kvn.conf", kDefaultLine);
    s.capital = 42;
    {
        test::FileSizeLimit full(20);
        EXPECT_FALSE(saveSettings(s, folder / "kvn.conf", &error));
        EXPECT_EQ(error, EFBIG);
    }
    EXPECT_EQ(folder.read("kvn.conf"), kDefaultLine);
    EXPECT_EQ(entries(folder), std::vector<std::string>{"kvn.conf"});
    EXPECT_TRUE(saveSettings(s, folder / "kvn.conf"));
    EXPECT_EQ(folder.read("kvn.conf").substr(0, 3), "42,");
    EXPECT_EQ(entries(folder), std::vector<std::string>{"kvn.conf"});
}

TEST(SettingsFile, SavingKeepsTheFilesPermissionsAndLinks)
{
    test::TempFolder folder;
    folder.write("real.conf", kDefaultLine);
    ::chmod((folder / "real.conf").c_str(), 0640);
    std::filesystem::create_symlink("real.conf", folder / "kvn.conf");
    SimulationSettings s;
    s.capital = 7;
    ASSERT_TRUE(saveSettings(s, folder / "kvn.conf"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "kvn.conf"));
    EXPECT_EQ(folder.read("real.conf").substr(0, 2), "7,");
    struct stat st {};
    ASSERT_EQ(::stat((folder / "real.conf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"kvn.conf", "real.conf"}));
}

TEST(SettingsFile, ADanglingLinkIsWrittenThroughAtTheFirstStart)
{
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "conf");
    std::filesystem::create_symlink("conf/real.conf", folder / "kvn.conf");
    SimulationSettings s;
    EXPECT_EQ(loadSettings(s, folder / "kvn.conf"), SettingsLoad::Created);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "kvn.conf"));
    EXPECT_EQ(folder.read("conf/real.conf"), kDefaultLine);

    // A link into a folder that is not there cannot be written through: it stays as it was.
    std::filesystem::remove(folder / "kvn.conf");
    std::filesystem::create_symlink("gone/real.conf", folder / "kvn.conf");
    EXPECT_EQ(loadSettings(s, folder / "kvn.conf"), SettingsLoad::CreateFailed);
    EXPECT_EQ(std::filesystem::read_symlink(folder / "kvn.conf"), "gone/real.conf");
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"conf", "kvn.conf"}));
}

TEST(SettingsFile, AFileWithASecondHardLinkIsWrittenInPlaceAndAFailedWriteTouchesNeither)
{
    test::TempFolder folder;
    folder.write("kvn.conf", kDefaultLine);
    std::filesystem::create_hard_link(folder / "kvn.conf", folder / "copy.conf");
    SimulationSettings s;
    s.capital = 7;
    {
        test::FileSizeLimit full(20);
        EXPECT_FALSE(saveSettings(s, folder / "kvn.conf"));
    }
    EXPECT_EQ(folder.read("copy.conf"), kDefaultLine);
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"copy.conf", "kvn.conf"}));

    ASSERT_TRUE(saveSettings(s, folder / "kvn.conf"));
    EXPECT_EQ(folder.read("copy.conf"), formatSettingsLine(s));
    EXPECT_EQ(std::filesystem::hard_link_count(folder / "kvn.conf"), 2u);
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"copy.conf", "kvn.conf"}));
}

TEST(SettingsFile, AFifoIsNeitherReadNorReplacedAndDevNullReadsAsEmpty)
{
    test::Deadline deadline(20);
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "kvn.conf").c_str(), 0600), 0);
    SimulationSettings s;
    s.capital = 1;
    int error = 0;
    // Refused without opening it, so that no writer is waited for.
    EXPECT_EQ(loadSettings(s, folder / "kvn.conf", &error), SettingsLoad::Unreadable);
    EXPECT_EQ(systemErrorText(error), "Not a regular file");
    EXPECT_EQ(s, SimulationSettings{});
    EXPECT_FALSE(saveSettings(s, folder / "kvn.conf"));
    EXPECT_EQ(std::filesystem::symlink_status(folder / "kvn.conf").type(), std::filesystem::file_type::fifo);
    EXPECT_EQ(entries(folder), std::vector<std::string>{"kvn.conf"});

    std::filesystem::remove(folder / "kvn.conf");
    std::filesystem::create_symlink("/dev/null", folder / "kvn.conf");
    EXPECT_EQ(loadSettings(s, folder / "kvn.conf"), SettingsLoad::Read);
    EXPECT_EQ(s, parseSettingsLine(""));
}

TEST(SettingByName, EveryNameSetsTheFieldOfItsFilePosition)
{
    // Name, value, and the file position (1-based) that must show it; commissionSchedule is
    // written at positions 10 and 13.
    struct Case {
        const char* name;
        const char* value;
        int position;
        const char* written;
    } cases[] = {
        {"capital", "123", 1, "123"},
        {"lossWithinThreeYears", "456", 2, "456"},
        {"leverage", "3.5", 3, "3.500000"},
        {"marginMaintenanceRate", "0.3", 4, "0.300000"},
        {"taxRate", "0.25", 5, "0.250000"},
        {"spareAmount", "789", 6, "789"},
        {"maxPurchaseAmount", "1000", 7, "1000"},
        {"maxStocks", "77", 8, "77"},
        {"unknownProfitRate", "-0.5", 9, "-0.500000"},
        {"commissionSchedule", "3", 10, "3"},
        {"maxCommission", "99", 11, "99"},
        {"operatingRate", "0.75", 12, "0.750000"},
        {"commissionSchedule", "3", 13, "3"},
        {"buyPriority", "4", 14, "4"},
        {"operationType", "5", 15, "5"},
        {"saveLog", "0", 16, "0"},
        {"tradeOrder", "1", 17, "1"},
        {"shortSellSystem", "1", 18, "1"},
    };
    // The settings of kirvane.ini have no place in the line (ExtendedSettings checks them).
    std::vector<std::string> names = settingNames();
    std::erase_if(names,
                  [](const std::string& n) { return settingNamed(n)->file == SettingFile::KirvaneIni; });
    EXPECT_EQ(names.size(), 17u);
    const std::string defaults = formatSettingsLine(SimulationSettings{});
    for (const Case& c : cases) {
        SimulationSettings s;
        ASSERT_TRUE(setSettingByName(s, c.name, c.value)) << c.name;
        std::string expected;
        int position = 1;
        for (std::string_view field : splitFields<18>(defaults).field) {
            expected += (position > 1 ? "," : "");
            bool schedule =
                std::string_view(c.name) == "commissionSchedule" && (position == 10 || position == 13);
            expected += position == c.position || schedule ? std::string_view(c.written) : field;
            ++position;
        }
        EXPECT_EQ(formatSettingsLine(s), expected) << c.name;
        names.erase(std::remove(names.begin(), names.end(), c.name), names.end());
    }
    EXPECT_TRUE(names.empty());  // every name is in the table
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

// kirvane.ini: values from the [simulation] section, each wrong line named once with its default
// in use; other sections, comments and CR LF ends pass.
TEST(ExtendedSettings, ReadsItsSectionAndNamesEachWrongLine)
{
    struct Case {
        const char* text;
        int32_t taxModel;
        int32_t holdDays;
        std::vector<const char*> problems;  // the start of each message, in order
    } cases[] = {
        {"# comment\r\n[other]\r\ntaxModel = 5\r\n[simulation]\r\n  taxModel=1 \r\nundecidedHoldDays = "
         "20\r\n",
         1,
         20,
         {}},
        {"[simulation]\ntaxModel = 2\nundecidedHoldDays = -1\n",
         0,
         0,
         {"kirvane.ini の 2 行目「taxModel = 2」: taxModel の値として使えません。既定値 0",
          "kirvane.ini の 3 行目「undecidedHoldDays = -1」"}},
        {"[simulation]\nundecidedHoldDays = 3x\ncapital = 5\nfoo = 1\ntaxModel\nundecidedHoldDays = 7\n",
         0,
         7,
         {"kirvane.ini の 2 行目", "kirvane.ini の 3 行目「capital = 5」: capital という設定はありません",
          "kirvane.ini の 4 行目", "kirvane.ini の 5 行目「taxModel」は「名前 = 値」の形ではありません"}},
        {"taxModel = 1\n", 0, 0, {}},  // outside the section: not this file's
    };
    for (const Case& c : cases) {
        SimulationSettings s;
        s.taxModel = 9;
        const std::vector<std::string> problems = parseExtendedSettings(c.text, s);
        EXPECT_EQ(s.taxModel, c.taxModel) << c.text;
        EXPECT_EQ(s.undecidedHoldDays, c.holdDays) << c.text;
        EXPECT_EQ(s.capital, SimulationSettings{}.capital) << c.text;
        ASSERT_EQ(problems.size(), c.problems.size()) << c.text;
        for (size_t i = 0; i < problems.size(); ++i)
            EXPECT_TRUE(toUtf8(problems[i]).starts_with(c.problems[i])) << toUtf8(problems[i]);
    }
}

// Written back: comments and unknown lines kept, values replaced where they stand, settings away
// from their default added to the section; never created for defaults only, kvn.conf untouched.
TEST(ExtendedSettings, WritesKeepWhatTheyDoNotKnow)
{
    SimulationSettings s;
    s.undecidedHoldDays = 20;
    EXPECT_EQ(
        formatExtendedSettings("# mine\n[simulation]\ntaxModel = 1 # old\nkeep = me\n[other]\nx = 1\n", s),
        "# mine\n[simulation]\ntaxModel = 0\nkeep = me\nundecidedHoldDays = 20\n[other]\nx = 1\n");
    EXPECT_EQ(formatExtendedSettings("# only a comment\n", s),
              "# only a comment\n\n[simulation]\nundecidedHoldDays = 20\n");
    EXPECT_EQ(formatExtendedSettings("", SimulationSettings{}), "");

    test::TempFolder folder;
    const std::filesystem::path conf = folder / "kvn.conf";
    ASSERT_TRUE(saveSettings(SimulationSettings{}, conf));
    EXPECT_FALSE(std::filesystem::exists(folder / "kirvane.ini"));
    const std::string line = folder.read("kvn.conf");
    s = SimulationSettings{};
    s.taxModel = 1;
    ASSERT_TRUE(saveSettings(s, conf));
    EXPECT_EQ(folder.read("kvn.conf"), line);
    EXPECT_EQ(folder.read("kirvane.ini"), "[simulation]\ntaxModel = 1\n");
    SimulationSettings read;
    std::vector<std::string> notes;
    EXPECT_EQ(loadSettings(read, conf, nullptr, &notes), SettingsLoad::Read);
    EXPECT_EQ(read, s);
    EXPECT_TRUE(notes.empty());
    folder.write("kirvane.ini", "[simulation]\ntaxModel = x\n");
    EXPECT_EQ(loadSettings(read, conf, nullptr, &notes), SettingsLoad::Read);
    EXPECT_EQ(read, SimulationSettings{});
    EXPECT_EQ(notes.size(), 1u);
}

}  // namespace
}  // namespace kv
