// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OptimisationDialog.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "resources/ControlIds.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::MainWindow;

// The position of a setting in the first axis's box (the second box has （なし） first).
int settingIndex(const std::string& name)
{
    int index = 0;
    for (const SettingDescription& setting : settingsTable()) {
        if (!setting.optimisable)
            continue;
        if (setting.name == name)
            return index;
        ++index;
    }
    ADD_FAILURE() << name << " is not offered";
    return -1;
}

int figureIndex(const std::string& name)
{
    const std::vector<std::string> names = sweepFigureNames();
    return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
}

// The sample folder's signals loaded in the main window, and the optimisation window opened over
// them, driven by control id.
class OptimisationWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* file : {"index.txt", "signals.csv"})
            std::filesystem::copy_file(std::filesystem::path(KV_SAMPLE_DIR) / file, w.folder / file);
        w.start();
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
        w.click(IDC_LOAD);
        w.clearMessages();
        window = std::make_unique<OptimisationDialog>(*w.app, w.platform, w.dialog->loadedSignals,
                                                      w.dialog->engine.startRow(), w.dialog->engine.endRow());
        w.platform.open(*window);
    }
    void TearDown() override { w.platform.close(*window); }

    // Chooses the axes, typed as the user types them ("FROM:TO:STEP" into the three boxes, or a
    // list), and lets the count follow.
    struct Axis {
        std::string setting;  // empty: （なし） on the second axis
        std::string values;
    };
    void choose(const Axis& down, const Axis& across, const std::string& figure = "finalAssets")
    {
        const Axis axes[2] = {down, across};
        for (int a = 0; a < 2; ++a) {
            const int id = a == 0 ? IDC_OPTIM_SETTING1 : IDC_OPTIM_SETTING2;
            const int choice = axes[a].setting.empty() ? 0 : settingIndex(axes[a].setting) + a;
            w.run({"select " + std::to_string(id) + " " + std::to_string(choice)});
            std::string parts[3];
            const bool range = axes[a].values.find(':') != std::string::npos;
            if (range) {
                std::istringstream in(axes[a].values);
                for (std::string& part : parts)
                    std::getline(in, part, ':');
            }
            for (int p = 0; p < 3; ++p)
                w.run({"type " + std::to_string(id + 1 + p) + " " + parts[p]});
            w.run({"type " + std::to_string(id + 4) + " " + (range ? "" : axes[a].values)});
        }
        w.run({"select " + std::to_string(IDC_OPTIM_FIGURE) + " " + std::to_string(figureIndex(figure))});
        window->onTimer(kOptimisationTimerEvent);
    }
    std::string text(int id) const { return toUtf8(w.platform.viewOf(*window)->text(id)); }

    // The figures kirvane-batch gives for the run with these settings on the same files.
    nlohmann::json batchFigures(const std::map<std::string, std::string>& set)
    {
        std::vector<std::string> arguments{"--json"};
        for (const auto& [name, value] : set)
            arguments.insert(arguments.end(), {"--set", name + "=" + value});
        arguments.push_back((w.folder / "signals.csv").string());
        ParsedBatchArguments parsed = parseBatchArguments(arguments);
        EXPECT_TRUE(parsed.options);
        std::ostringstream out, err;
        EXPECT_EQ(runBatch(*parsed.options, w.folder.path(), out, err, false), 0) << err.str();
        return nlohmann::json::parse(out.str())["results"];
    }

    MainWindow w{std::vector<std::string>{}, false};
    std::unique_ptr<OptimisationDialog> window;
};

TEST_F(OptimisationWindow, TheCountFollowsTheBoxesAndRefusalsNameTheirReason)
{
    struct Case {
        Axis down, across;
        const char* count;  // the count line, or the start of the refusal
    };
    const Case cases[] = {
        {{"operatingRate", "0.5:1:0.25"}, {"maxStocks", "3,5,8"}, "組合せ数：9　並列数："},
        {{"operatingRate", "0.1:0.3:0.1"}, {"", ""}, "組合せ数：3　並列数："},
        {{"operatingRate", "0.5"}, {"maxStocks", "1:3:1"}, "組合せ数：3　並列数："},
        // The window's largest grid runs; one more combination is for kirvane-sweep.
        {{"operatingRate", "0.0001:1:0.0001"}, {"", ""}, "組合せ数：10,000　並列数："},
        {{"maxStocks", "1:100:1"}, {"operatingRate", "0.01:1:0.01"}, "組合せ数：10,000　並列数："},
        {{"operatingRate", "0:1:0.0001"}, {"", ""}, "組合せが 10,001 あります。"},
        {{"maxStocks", "1:101:1"}, {"operatingRate", "0.01:1:0.01"}, "組合せが 10,100 あります。"},
        // Each refusal names the box and what is wrong with its text.
        {{"operatingRate", "0.5:1:10."}, {"", ""}, "縦軸の刻み「10.」は数値ではありません"},
        {{"operatingRate", "0.5,x"}, {"", ""}, "縦軸の値「x」は数値ではありません"},
        {{"operatingRate", "0.5,,1"}, {"", ""}, "縦軸の値の一覧に空の値があります"},
        {{"operatingRate", "0.5"}, {"maxStocks", "1:a:1"}, "横軸の終了「a」は数値ではありません"},
        {{"operatingRate", "0.5"}, {"maxStocks", "1.5:3:1"}, "横軸の開始「1.5」は整数ではありません"},
        {{"maxStocks", "1:3:0.5"}, {"", ""}, "縦軸の刻み「0.5」は整数ではありません"},
        {{"operatingRate", "1:0.5:0.1"}, {"", ""}, "縦軸の刻みの向きでは終了に届きません"},
        {{"operatingRate", "0.5:1:0"}, {"", ""}, "縦軸の刻みが 0 です"},
        {{"operatingRate", "0.5:1:"}, {"", ""}, "縦軸の刻みを入れてください。"},
        {{"operatingRate", ""}, {"", ""}, "縦軸の値を入れてください。"},
        {{"operatingRate", "0.5,1"}, {"operatingRate", "0.2"}, "縦軸と横軸に同じ設定は選べません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.down.values + " / " + c.across.setting + " " + c.across.values);
        choose(c.down, c.across);
        const std::string count = text(IDC_OPTIM_COUNT);
        const bool refused = count.find("組合せ数：") != 0;
        if (refused && std::string(c.count).find("組合せが") != 0)
            EXPECT_EQ(count, c.count);
        else
            EXPECT_EQ(count.substr(0, std::string(c.count).size()), c.count) << count;
        // 開始 refuses in a message what the count line says, and runs nothing.
        w.clearMessages();
        if (refused) {
            w.click(IDC_OPTIM_START);
            EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{count});
            EXPECT_EQ(window->sweep(), nullptr);
        }
    }
    // The largest grid runs whole.
    choose({"maxStocks", "1:100:1"}, {"operatingRate", "0.01:1:0.01"});
    w.clearMessages();
    w.click(IDC_OPTIM_START);
    ASSERT_NE(window->sweep(), nullptr);
    EXPECT_EQ(window->resultsTable.rowCount(), 10'000);
    for (const std::string& m : w.messagesUtf8())
        ADD_FAILURE() << m;
}

// The table ranks the combinations by the chosen figure, best first, as separate runs of
// kirvane-batch with each combination's settings order them; the cells hold the values.
TEST_F(OptimisationWindow, TheTableRanksTheGridAsSeparateRunsDo)
{
    const std::vector<std::string> rates{"0.5", "1"};
    const std::vector<std::string> stocks{"1", "3", "5"};
    struct Run {
        std::string rate, stocks;
        nlohmann::json figures;
    };
    std::vector<Run> runs;
    for (const std::string& rate : rates)
        for (const std::string& n : stocks)
            runs.push_back({rate, n, batchFigures({{"operatingRate", rate}, {"maxStocks", n}})});

    struct Ranking {
        const char* figure;
        bool smallerFirst;
    };
    for (const Ranking ranking : {Ranking{"finalAssets", false}, Ranking{"maxDrawdownPercent", true}}) {
        SCOPED_TRACE(ranking.figure);
        std::vector<Run> expected = runs;
        std::stable_sort(expected.begin(), expected.end(), [&](const Run& a, const Run& b) {
            const double x = a.figures[ranking.figure].get<double>();
            const double y = b.figures[ranking.figure].get<double>();
            return ranking.smallerFirst ? x < y : x > y;
        });
        choose({"operatingRate", "0.5,1"}, {"maxStocks", "1,3,5"}, ranking.figure);
        EXPECT_EQ(text(IDC_OPTIM_COUNT).find("組合せ数：6　"), 0u);
        w.click(IDC_OPTIM_START);
        ASSERT_NE(window->sweep(), nullptr);
        ASSERT_EQ(window->resultsTable.rowCount(), 6);
        for (int r = 0; r < 6; ++r) {
            SCOPED_TRACE(r);
            EXPECT_EQ(toUtf8(window->resultsTable.cell(r, 0).text), expected[static_cast<size_t>(r)].rate);
            EXPECT_EQ(toUtf8(window->resultsTable.cell(r, 1).text), expected[static_cast<size_t>(r)].stocks);
        }
        // The best is outlined in the heatmap: its cell is where its values meet.
        const Run& best = expected.front();
        const int row = static_cast<int>(std::find(rates.begin(), rates.end(), best.rate) - rates.begin());
        const int column =
            static_cast<int>(std::find(stocks.begin(), stocks.end(), best.stocks) - stocks.begin());
        EXPECT_TRUE(window->heatmap.outlined(row, column));
    }
    EXPECT_TRUE(w.messagesUtf8().empty());
}

// One setting shows the ranking figure against its values as a line, with a hold-out two lines,
// in the maps' place; two settings show the map, with a hold-out the pair.
TEST_F(OptimisationWindow, OneSettingShowsALineAndTwoTheMaps)
{
    HeadlessView& view = *w.platform.viewOf(*window);
    struct Case {
        Axis across;
        const char* holdout;
        bool chart, outOfSample;
        size_t lines;
    };
    const Case cases[] = {
        {{"", ""}, "", true, false, 1},
        {{"", ""}, "2005/01/04", true, false, 2},
        {{"maxStocks", "1,3"}, "", false, false, 0},
        {{"maxStocks", "1,3"}, "2005/01/04", false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.across.setting) + " " + c.holdout);
        w.run({"type " + std::to_string(IDC_OPTIM_HOLDOUT) + " " + c.holdout});
        choose({"operatingRate", "0.5,0.75,1"}, c.across, "maxDrawdownPercent");
        w.click(IDC_OPTIM_START);
        EXPECT_EQ(view.visible(IDC_OPTIM_CHART), c.chart);
        EXPECT_EQ(view.visible(IDC_OPTIM_HEATMAP), !c.chart);
        EXPECT_EQ(view.visible(IDC_OPTIM_HEATMAP_OOS), c.outOfSample);
        if (!c.chart)
            continue;
        ASSERT_EQ(window->figureChart.series().size(), c.lines);
        EXPECT_EQ(window->figureChart.xTexts(), (std::vector<std::string>{"0.5", "0.75", "1"}));
        // The line holds each value's figure as the table shows it: a drawdown as a fall.
        for (int r = 0; r < window->resultsTable.rowCount(); ++r) {
            const std::string value = toUtf8(window->resultsTable.cell(r, 0).text);
            const size_t x = static_cast<size_t>(
                std::find(window->figureChart.xTexts().begin(), window->figureChart.xTexts().end(), value) -
                window->figureChart.xTexts().begin());
            ASSERT_LT(x, 3u);
            EXPECT_NEAR(window->figureChart.series()[0].values[x], -*window->resultsTable.cell(r, 5).key,
                        1e-9);
        }
    }
}

// A double-click on a row or a cell asks, and only yes stores that combination in kvn.conf.
TEST_F(OptimisationWindow, ADoubleClickStoresTheCombinationOnlyAfterYes)
{
    choose({"operatingRate", "0.4,0.7"}, {"maxStocks", "2,6"});
    w.click(IDC_OPTIM_START);
    ASSERT_EQ(window->resultsTable.rowCount(), 4);
    const std::filesystem::path conf = w.folder / "kvn.conf";
    const std::string before = w.folder.read("kvn.conf");

    auto stored = [&] {
        SimulationSettings s;
        EXPECT_EQ(loadSettings(s, conf), SettingsLoad::Read);
        return std::pair{s.operatingRate, s.maxStocks};
    };
    // いいえ leaves the settings and the file as they were. The question names the values.
    w.platform.queueQuestionAnswer(false);
    w.run({"activate " + std::to_string(IDC_OPTIM_HEATMAP) + " 0 1"});
    EXPECT_EQ(w.messagesUtf8(),
              std::vector<std::string>{"運用率 0.4、最大購入銘柄数 6 をオプションに反映しますか？"});
    EXPECT_EQ(w.folder.read("kvn.conf"), before);

    // The first row of the table; then a heatmap cell (row 1: 0.7, column 0: 2).
    const double rate = std::stod(toUtf8(window->resultsTable.cell(0, 0).text));
    const int stocks = std::stoi(toUtf8(window->resultsTable.cell(0, 1).text));
    w.run({"activate " + std::to_string(IDC_OPTIM_TABLE) + " 0"});
    EXPECT_EQ(stored(), (std::pair{rate, stocks}));
    EXPECT_EQ(w.app->settings.operatingRate, rate);
    w.run({"activate " + std::to_string(IDC_OPTIM_HEATMAP) + " 1 0"});
    EXPECT_EQ(stored(), (std::pair{0.7, 2}));
    EXPECT_EQ(w.messagesUtf8().size(), 3u);

    // A coded setting is named by its choice.
    choose({"tradeOrder", "1"}, {"", ""});
    w.click(IDC_OPTIM_START);
    w.clearMessages();
    w.platform.queueQuestionAnswer(false);
    w.run({"activate " + std::to_string(IDC_OPTIM_TABLE) + " 0"});
    EXPECT_EQ(w.messagesUtf8(),
              std::vector<std::string>{"売買の順序 仕掛優先：買→売 をオプションに反映しますか？"});
}

}  // namespace
}  // namespace kv
