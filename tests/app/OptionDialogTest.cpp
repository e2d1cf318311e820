// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OptionDialog.h"
#include "resources/ControlIds.h"
#include "resources/Templates.h"
#include "settings/SettingsTable.h"
#include "settings/SettingsFile.h"
#include "support/FileSizeLimit.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace kv {
namespace {

using test::MainWindow;

const char* const kNumberPrompt = "数値を入力してください。";
const char* const kNotWritten =
    "ファイルオープンエラー：kvn.conf\r\nオプションファイルが作成できませんでした。";

class Options : public ::testing::Test {
protected:
    // Opens the options dialog with オプション and runs `lines` in it.
    void options(const std::vector<std::string>& lines)
    {
        w.clearMessages();
        w.platform.queueLines(lines);
        w.click(IDC_OPTIONS);
    }
    std::string conf() const { return w.folder.read("kvn.conf"); }
    bool dumped(const std::string& utf8Line) const
    {
        return w.out.str().find("\n" + utf8Line + "\n") != std::string::npos;
    }

    MainWindow w;
};

// The report names the settings from the settings table: each label the dialog shows is there,
// and each list's choices in the dialog's order.
TEST(OptionLabels, TheSettingsTableNamesTheSettingsAsTheDialogDoes)
{
    std::vector<std::string> captions;
    std::vector<std::vector<std::string>> lists;
    // The settings of kirvane.ini are shown in 詳細設定, the others in シミュレーション設定.
    for (const DialogTemplate* t : {&optionDialogTemplate(), &extendedOptionDialogTemplate()}) {
        for (const ControlTemplate& c : t->controls) {
            captions.push_back(toUtf8(c.caption));
            std::vector<std::string> items;
            for (const std::string& item : c.items)
                items.push_back(toUtf8(item));
            lists.push_back(items);
        }
    }
    for (const SettingDescription& s : settingsTable()) {
        const std::string name = s.name;
        if (name != "maxCommission" && name != "spareAmount" && name != "tradeOrder") {
            EXPECT_NE(std::find(captions.begin(), captions.end(), s.label), captions.end()) << name;
        }
        if (!s.choices[0])
            continue;
        std::vector<std::string> choices;
        for (const char* choice : s.choices) {
            if (choice)
                choices.push_back(choice);
        }
        EXPECT_NE(std::find(lists.begin(), lists.end(), choices), lists.end()) << name;
    }
}

TEST_F(Options, ShowsTheSettingsAsTheUserReadsThemAndOKRewritesTheSameValues)
{
    // A hand-written file in another spelling, with values the dialog does not show.
    MainWindow started(test::listedStocks().indexLines(), false);
    started.folder.write("kvn.conf", "1234567.5,0,2.5,0.07,0.1,123,2000,7,-0.03,1,1680,0.8,2,0,1,0,1,1");
    started.start();
    const SimulationSettings before = started.app->settings;
    started.platform.queueLines({"dump", "click OK"});
    started.click(IDC_OPTIONS);

    const std::string out = started.out.str();
    for (const char* line :
         {"1024\t1234567.5", "1025\t0", "1026\t2.5", "1027\t7", "1029\t10", "1030\t7", "1034\t-3", "1035\t80",
          "1037\t2000", "1028[2]*\tイートレード証券", "1032[1]*\t銘柄運用率設定：運用率/最大購入数まで購入",
          "1036[1]*\t仕掛優先：買→売", "1031[0]*\t単位株価の低い順", "1033\t0", "1038\t1"})
        EXPECT_NE(out.find(std::string("\n") + line + "\n"), std::string::npos) << line;
    EXPECT_EQ(started.app->settings, before);
    EXPECT_EQ(started.folder.read("kvn.conf"),
              "1234568,0,2.500000,0.070000,0.100000,123,2000,7,-0.030000,2,1680,0.800000,2,0,1,0,1,1");
    EXPECT_TRUE(started.messagesUtf8().empty());
}

// 詳細設定 shows kirvane.ini's settings with their notes; its OK writes that file alone (kvn.conf
// stays as it was), its cancel nothing, and a bad line of the file is named at start.
TEST_F(Options, TheDetailsOfKirvaneIniAreSetInADialogOfTheirOwn)
{
    const std::string before = conf();
    options({"click 1039", "dump", "select 1400 1", "type 1401 20", "click OK", "click 1039", "type 1401 5",
             "click Cancel", "click Cancel"});
    EXPECT_TRUE(dumped("1400[0]*\t売却ごと（損失は戻しません）"));
    EXPECT_TRUE(dumped("1401\t0"));
    EXPECT_EQ(w.app->settings.taxModel, 1);
    EXPECT_EQ(w.app->settings.undecidedHoldDays, 20);
    EXPECT_EQ(conf(), before);
    EXPECT_EQ(w.folder.read("kirvane.ini"), "[simulation]\ntaxModel = 1\nundecidedHoldDays = 20\n");

    MainWindow started(test::listedStocks().indexLines(), false);
    started.folder.write("kirvane.ini", "[simulation]\nundecidedHoldDays = many\n");
    started.start();
    EXPECT_EQ(started.app->settings.undecidedHoldDays, 0);
    const std::vector<std::string> messages = started.messagesUtf8();
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages[0].starts_with("kirvane.ini の 2 行目「undecidedHoldDays = many」")) << messages[0];
}

TEST_F(Options, OKStoresPercentagesTruncatedWholeNumbersAndChoicesAndTheWindowShowsTheAssets)
{
    options({"type 1024 1000000", "type 1026 3", "type 1027 25", "type 1029 20", "type 1034 -5",
             "type 1035 80", "type 1030 8", "type 1037 12345.9", "select 1028 1", "select 1032 1",
             "select 1036 1", "check 1033 0", "check 1038 1", "click OK"});
    const SimulationSettings& s = w.app->settings;
    EXPECT_EQ(s.capital, 1000000);
    EXPECT_EQ(s.leverage, 3);
    EXPECT_DOUBLE_EQ(s.marginMaintenanceRate, 0.25);
    EXPECT_DOUBLE_EQ(s.taxRate, 0.2);
    EXPECT_DOUBLE_EQ(s.unknownProfitRate, -0.05);
    EXPECT_DOUBLE_EQ(s.operatingRate, 0.8);
    EXPECT_EQ(s.maxStocks, 8);
    EXPECT_EQ(s.maxPurchaseAmount, 12345);
    EXPECT_EQ(s.schedule(), CommissionSchedule::NoCommission);
    EXPECT_EQ(s.operation(), OperationType::PerStock);
    EXPECT_TRUE(s.tradeOrder);
    EXPECT_FALSE(s.saveLog);
    EXPECT_TRUE(s.shortSellSystem);
    EXPECT_EQ(s.maxCommission, 3990);  // not the dialog's
    EXPECT_EQ(s.spareAmount, 300000);
    EXPECT_EQ(
        conf(),
        "1000000,500000,3.000000,0.250000,0.200000,300000,12345,8,-0.050000,1,3990,0.800000,1,0,1,0,1,1");
    EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\3000000");
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\1000000");
    EXPECT_TRUE(w.messagesUtf8().empty());

    // Negative amounts are taken as typed; the first order item is false again.
    options({"type 1037 -1", "select 1036 0", "click OK"});
    EXPECT_EQ(s.maxPurchaseAmount, -1);
    EXPECT_FALSE(s.tradeOrder);
    EXPECT_EQ(conf(), formatSettingsLine(s));
}

TEST_F(Options, CancelEscAndTheCloseBoxChangeNothing)
{
    const SimulationSettings before = w.app->settings;
    std::filesystem::remove(w.folder / "kvn.conf");  // so that any write would show
    for (const char* ending : {"click CANCEL", "close"}) {
        options(
            {"type 1024 1000000", "type 1026 3", "type 1034 -5", "select 1036 1", "check 1033 0", ending});
        EXPECT_EQ(w.app->settings, before) << ending;
        EXPECT_FALSE(w.folder.exists("kvn.conf")) << ending;
        EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\5000000");
        EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\2000000");
        EXPECT_EQ(w.platform.topDialog(), w.dialog.get());
    }
}

TEST_F(Options, ARefusedNumberKeepsTheDialogOpenButStoresAndWritesTheFieldsBeforeIt)
{
    OptionDialog dialog(*w.app, w.platform);
    w.platform.open(dialog);
    w.clearMessages();
    std::filesystem::remove(w.folder / "kvn.conf");
    w.run({"type 1024 2500000", "type 1026 4", "type 1034 .0", "type 1035 50", "select 1028 1", "click OK"});

    EXPECT_FALSE(dialog.ended());
    EXPECT_EQ(w.platform.topView()->focus(), IDC_OPT_UNKNOWN_RATE);
    // One press, one prompt.
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{kNumberPrompt});
    const SimulationSettings& s = w.app->settings;
    EXPECT_EQ(s.capital, 2500000);  // before the refused edit: stored
    EXPECT_EQ(s.leverage, 4);
    EXPECT_EQ(s.unknownProfitRate, -0.03);  // the refused edit and the ones after it: kept
    EXPECT_EQ(s.operatingRate, 1.0);
    EXPECT_EQ(s.commissionSchedule, 0);
    EXPECT_EQ(conf(), formatSettingsLine(s));

    w.run({"type 1034 -4", "click OK"});
    EXPECT_TRUE(dialog.ended());
    EXPECT_DOUBLE_EQ(s.unknownProfitRate, -0.04);
    EXPECT_DOUBLE_EQ(s.operatingRate, 0.5);
    EXPECT_EQ(s.commissionSchedule, 1);
    w.platform.close(dialog);

    // An emptied capital box: the first field already stops the taking, the file is rewritten
    // with what the settings held, and the dialog stays open on that box.
    OptionDialog again(*w.app, w.platform);
    w.platform.open(again);
    w.clearMessages();
    std::filesystem::remove(w.folder / "kvn.conf");
    w.run({"type 1024", "type 1026 9", "click OK"});
    EXPECT_FALSE(again.ended());
    EXPECT_EQ(w.platform.topView()->focus(), IDC_OPT_CAPITAL);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{kNumberPrompt});
    EXPECT_EQ(s.capital, 2500000);
    EXPECT_EQ(s.leverage, 4);
    EXPECT_EQ(conf(), formatSettingsLine(s));
    w.platform.close(again);
}

TEST_F(Options, AFailedSaveIsReportedAndLeavesTheOldFileWhole)
{
    const std::string old = conf();
    {
        test::FileSizeLimit limit(20);
        options({"type 1024 1000000", "click OK"});
    }
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{kNotWritten});
    EXPECT_EQ(w.platform.topDialog(), w.dialog.get());  // the dialog closed all the same
    EXPECT_EQ(w.app->settings.capital, 1000000);        // in effect until the program ends
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\1000000");
    EXPECT_EQ(conf(), old);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(w.folder.path()))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"index.txt", "kvn.conf"}));  // nothing left behind
}

// A value whose shown number is beyond the doubles shows "----"; an OK leaves it as read and
// never writes a text that reads back as another value ("inf" reads as 0).
TEST_F(Options, AValueBeyondTheDoublesShowsNoNumberAndIsNeverWrittenAsAnother)
{
    w.folder.write("kvn.conf", "2000000,500000,2.5,0.2,0.1,300000,50000000,5,1e308,0,3990,1,0,0,0,1,0,0");
    ASSERT_EQ(loadSettings(w.app->settings, w.folder / "kvn.conf"), SettingsLoad::Read);
    ASSERT_EQ(w.app->settings.unknownProfitRate, 1e308);
    const std::string old = conf();
    options({"dump", "click OK", "type 1024 1000000", "click OK", "click Cancel"});
    EXPECT_FALSE(w.out.str().find("inf") != std::string::npos) << w.out.str();
    EXPECT_EQ(w.messagesUtf8(), (std::vector<std::string>{kNumberPrompt, kNumberPrompt}));
    EXPECT_EQ(conf(), old);
    EXPECT_EQ(w.app->settings.unknownProfitRate, 1e308);
}

}  // namespace
}  // namespace kv
