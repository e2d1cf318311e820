// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ToolMain.h"
#include "data/SimulatorApp.h"
#include "support/FileSizeLimit.h"
#include "support/StockMaster.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>
#include <sstream>
#include <string>
#include <vector>

namespace kv {
namespace {

TEST(BatchArguments, ReadsEveryOptionAndRejectsMistakes)
{
    ParsedBatchArguments p =
        parseBatchArguments({"--start-row", "3", "--end-row", "9", "--log", "out.csv", "--equity", "days.csv",
                             "--trades", "trades.csv", "--set", "leverage=3", "--json", "s.csv"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->startRow, 3);
    EXPECT_EQ(p.options->endRow, 9);
    EXPECT_EQ(p.options->logFile, std::filesystem::path("out.csv"));
    EXPECT_EQ(p.options->equityFile, std::filesystem::path("days.csv"));
    EXPECT_EQ(p.options->tradesFile, std::filesystem::path("trades.csv"));
    EXPECT_TRUE(p.options->json);
    EXPECT_EQ(p.options->signalFile, std::filesystem::path("s.csv"));
    ASSERT_EQ(p.options->settings.size(), 1u);
    EXPECT_EQ(p.options->settings[0].first, "leverage");

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {},
             {"--start-row", "x", "s.csv"},
             {"--start-row", "-1", "s.csv"},
             {"--set", "nosuch=1", "s.csv"},
             {"--set", "leverage", "s.csv"},
             {"--frobnicate", "s.csv"},
             {"a.csv", "b.csv"},
             {"--log"},
             {"s.csv", "--equity"},
             {"s.csv", "--trades"},
             {"--monte-carlo", "0", "s.csv"},
             {"--monte-carlo", "1000001", "s.csv"},
             {"--monte-carlo", "12x", "s.csv"},
             {"--monte-carlo", "10", "--mc-seed", "-1", "s.csv"},
             {"--monte-carlo", "10", "--mc-seed", "18446744073709551616", "s.csv"},
             {"--monte-carlo", "10", "--mc-order", "shuffle", "s.csv"},
             {"--mc-seed", "3", "s.csv"},
             {"s.csv", "--monte-carlo"}}) {
        EXPECT_FALSE(parseBatchArguments(bad).options) << (bad.empty() ? "(none)" : bad[0]);
    }

    // The Monte Carlo's defaults, and the largest seed.
    p = parseBatchArguments({"--monte-carlo", "1000000", "s.csv"});
    ASSERT_TRUE(p.options && p.options->monteCarlo) << p.error;
    EXPECT_EQ(p.options->monteCarlo->paths, 1000000);
    EXPECT_EQ(p.options->monteCarlo->seed, 1u);
    EXPECT_EQ(p.options->monteCarlo->order, MonteCarloOrder::Permute);
    p = parseBatchArguments(
        {"--mc-order", "bootstrap", "--mc-seed", "18446744073709551615", "--monte-carlo", "5", "s.csv"});
    ASSERT_TRUE(p.options && p.options->monteCarlo) << p.error;
    EXPECT_EQ(p.options->monteCarlo->seed, 18446744073709551615u);
    EXPECT_EQ(p.options->monteCarlo->order, MonteCarloOrder::Bootstrap);
    EXPECT_FALSE(parseBatchArguments({"s.csv"}).options->monteCarlo);

    // Row 0 is a row like any other; a log name is kept exactly as given.
    p = parseBatchArguments({"--start-row", "0", "--end-row", "0", "--log", "trades", "s.csv"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->startRow, 0);
    EXPECT_EQ(p.options->endRow, 0);
    EXPECT_EQ(p.options->logFile, std::filesystem::path("trades"));
}

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::listedStocks().writeIndex(folder);
        folder.writeLines("signals.csv",
                          {
                              "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
                              "極洋,2004/01/05,500,○,2004/01/06,520,+4%",
                              "トヨタ自動車,2004/01/06,3000,×,2004/01/08,2900,-3%",
                              "極洋,2004/01/07,510,？,2004/01/09,530,判定不可",
                          });
    }

    int run(std::vector<std::string> arguments)
    {
        out.str("");
        err.str("");
        ParsedBatchArguments p = parseBatchArguments(arguments);
        EXPECT_TRUE(p.options) << p.error;
        return runBatch(*p.options, folder.path(), out, err, false);
    }

    test::TempFolder folder;
    std::ostringstream out, err;
};

TEST_F(BatchRun, JsonResultReadsBackAndTheLogHasThirteenFieldsPerLine)
{
    ASSERT_EQ(run({"--json", "--log", (folder / "out.csv").string(), (folder / "signals.csv").string()}), 0)
        << err.str();
    nlohmann::json result = nlohmann::json::parse(out.str());
    EXPECT_EQ(result["rows"], 3);
    EXPECT_EQ(result["startRow"], 0);
    EXPECT_EQ(result["endRow"], 2);
    // The second day's purchase uses up the buying power, so the third day buys nothing.
    EXPECT_EQ(result["run"]["purchases"], 2);
    EXPECT_EQ(result["run"]["sales"], 2);
    EXPECT_EQ(result["run"]["holdingsValue"], 0.0);
    EXPECT_FALSE(result.contains("loadWarnings"));  // only a file with doubtful rows has the key
    EXPECT_NE(err.str().find("初回起動：オプションファイルを作成します。"), std::string::npos);

    std::istringstream log(folder.read("out.csv"));
    std::string line;
    int lines = 0;
    while (std::getline(log, line)) {
        ++lines;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 12) << line;
        EXPECT_EQ(line.back(), '\r');
    }
    EXPECT_EQ(lines, 5);  // header, two purchases, two sales
    // The settings file keeps log saving as it was; nothing of the run is saved.
    EXPECT_EQ(
        folder.read("kvn.conf"),
        "2000000,500000,2.500000,0.200000,0.100000,300000,50000000,5,-0.030000,0,3990,1.000000,0,0,0,1,0,0");
}

TEST_F(BatchRun, MonteCarloAddsItsObjectItsLinesAndItsSectionOnly)
{
    const std::string signals = (folder / "signals.csv").string();
    ASSERT_EQ(run({"--json", signals}), 0) << err.str();
    const nlohmann::ordered_json plain = nlohmann::ordered_json::parse(out.str());
    ASSERT_EQ(run({"--json", "--monte-carlo", "50", "--mc-seed", "9", "--mc-order", "bootstrap", signals}), 0)
        << err.str();
    nlohmann::ordered_json with = nlohmann::ordered_json::parse(out.str());
    const nlohmann::ordered_json mc = with["monteCarlo"];
    with.erase("monteCarlo");
    EXPECT_EQ(with, plain);  // nothing else changes

    std::vector<std::string> keys;
    for (const auto& [key, value] : mc.items())
        keys.push_back(key);
    EXPECT_EQ(keys,
              (std::vector<std::string>{"paths", "seed", "order", "trades", "finalAssets",
                                        "maxDrawdownPercent", "lossProbabilityPercent",
                                        "drawdownAtLeastPercent", "ruinProbabilityPercent",
                                        "actualMaxDrawdownPercent", "pathsWithSmallerDrawdownPercent"}));
    for (const char* percentiles : {"finalAssets", "maxDrawdownPercent"}) {
        std::vector<std::string> names;
        for (const auto& [key, value] : mc[percentiles].items()) {
            names.push_back(key);
            EXPECT_TRUE(value.is_number()) << percentiles << " " << key;
        }
        EXPECT_EQ(names, (std::vector<std::string>{"p5", "p25", "p50", "p75", "p95"})) << percentiles;
    }
    std::vector<std::string> levels;
    for (const auto& [key, value] : mc["drawdownAtLeastPercent"].items())
        levels.push_back(key);
    EXPECT_EQ(levels, (std::vector<std::string>{"20", "30", "50"}));
    EXPECT_EQ(mc["paths"], 50);
    EXPECT_EQ(mc["seed"], 9);
    EXPECT_EQ(mc["order"], "bootstrap");
    EXPECT_EQ(mc["trades"], 2);

    ASSERT_EQ(run({signals}), 0) << err.str();
    const std::string summary = out.str();
    ASSERT_EQ(run({"--monte-carlo", "50", "--report", (folder / "r.html").string(), signals}), 0)
        << err.str();
    EXPECT_NE(out.str().find("モンテカルロ: 50 経路 (permute、シード 1、取引 2 回)"), std::string::npos)
        << out.str();
    EXPECT_GT(out.str().size(), summary.size());
    EXPECT_NE(folder.read("r.html").find("<section id=\"monte-carlo\">"), std::string::npos);
    EXPECT_NE(folder.read("r.html").find("\"monteCarlo\":{\"paths\":50"), std::string::npos);
}

TEST_F(BatchRun, DoubtfulRowsAreCountedOnStandardErrorAndInTheJson)
{
    folder.writeLines(
        "odd.csv",
        {"header", "極洋,2004/01/05,500.5,○,2004/01/06,520,+4%", "", "未上場,2004/01/06,5e2,×,2004-1-8,2,x"});
    ASSERT_EQ(run({"--json", (folder / "odd.csv").string()}), 0) << err.str();
    EXPECT_NE(err.str().find(
                  "注意：価格に数字以外を含む行 2、日付に数字以外を含む行 1、銘柄が見つからない行 1、空行 1"),
              std::string::npos)
        << err.str();
    const nlohmann::json warnings = nlohmann::json::parse(out.str())["loadWarnings"];
    EXPECT_EQ(warnings["nonDigitPrices"]["lines"], nlohmann::json::array({2, 4}));
    EXPECT_EQ(warnings["emptyLines"]["count"], 1);
    EXPECT_EQ(warnings["unknownNames"]["lines"], nlohmann::json::array({4}));

    // Rows cut short: bought or sold at 0 on 0/0/0 unless counted. A 判定不可 row needs no end.
    std::string bytes = "header\n"
                        "極洋,2004/01/05,500\n"
                        "極洋,2004/01/05,500,○,,520,+4%\n"
                        "極洋,,500,○,2004/01/06,520,+4%\n"
                        "極洋,2004/01/05,,○,2004/01/06,520,+4%\n"
                        "極洋,2004/01/05,500,○,2004/01/06,,+4%\n"
                        "極洋,2004/01/05,500,？,,,判定不可\n"
                        "極洋,2004/01/05,500,○,2004/01/06,520,+4%";
    bytes += '\0';
    bytes += "\n";
    folder.write("short.csv", bytes);
    ASSERT_EQ(run({"--json", (folder / "short.csv").string()}), 0) << err.str();
    EXPECT_NE(err.str().find("項目が足りない行 6"), std::string::npos) << err.str();
    const nlohmann::json shortRows = nlohmann::json::parse(out.str())["loadWarnings"]["shortRows"];
    EXPECT_EQ(shortRows["count"], 6);
    EXPECT_EQ(shortRows["lines"], nlohmann::json::array({2, 3, 4, 5, 6}));  // the first five
}

TEST_F(BatchRun, SettingsAndWindowChangeOnlyThisRun)
{
    ASSERT_EQ(run({"--json", "--set", "capital=1000000", "--set", "commissionSchedule=1", "--start-row", "1",
                   "--end-row", "1", (folder / "signals.csv").string()}),
              0)
        << err.str();
    nlohmann::json result = nlohmann::json::parse(out.str());
    EXPECT_EQ(result["startRow"], 1);
    EXPECT_EQ(result["endRow"], 1);
    EXPECT_EQ(result["run"]["purchases"], 1);
    // 1,000,000 × 2.5 buys 8 lots of 100 at 3000; sold at 2900: a loss of 80,000, no commission.
    EXPECT_EQ(result["run"]["totalAssets"], 920000.0);
    EXPECT_FALSE(folder.exists("out.csv"));
    EXPECT_EQ(folder.read("kvn.conf").substr(0, 8), "2000000,");
}

TEST_F(BatchRun, RefusalsMissingMasterAndEmptyFilesEndWithTheirStatus)
{
    EXPECT_EQ(run({"--start-row", "2", "--end-row", "1", (folder / "signals.csv").string()}), 2);
    EXPECT_NE(err.str().find("終了日が開始日より前です。"), std::string::npos);

    EXPECT_EQ(run({"--start-row", "7", (folder / "signals.csv").string()}), 2);
    EXPECT_NE(err.str().find("リストから開始銘柄を選択してください。"), std::string::npos);

    folder.writeLines("empty.csv", {"銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス"});
    EXPECT_EQ(run({"--json", (folder / "empty.csv").string()}), 1);
    EXPECT_EQ(out.str(), "{\"rows\": 0}\n");
    EXPECT_NE(err.str().find("シミュレーションファイルまたはindex.txtがありません。"), std::string::npos);

    std::filesystem::remove(folder / "index.txt");
    EXPECT_EQ(run({(folder / "signals.csv").string()}), 2);
    EXPECT_NE(err.str().find("index.txt"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

TEST_F(BatchRun, ReadableSummaryNamesTheWindowAndTheFigures)
{
    ASSERT_EQ(run({"--start-row", "0", "--end-row", "0", (folder / "signals.csv").string()}), 0) << err.str();
    // Row 0 alone: 9 lots of 極洋 bought at 500 (commission 3,990) and sold at 520; the profit
    // line counts the loss carried from the last three years.
    // The run results and the simple totals of the statistics follow; their own tests check them.
    const std::string run = "シグナル: 3 行\n"
                            "期間: 0 行目 (2004/1/5) から 0 行目 (2004/1/5) まで\n"
                            "購入: 1 回  売却: 1 回  ステップ: 4\n"
                            "総資産: 2176010 円\n"
                            "運用資産: 5170025 円\n"
                            "現在利益: -320000 円\n";
    EXPECT_EQ(out.str().substr(0, run.size()), run);
    EXPECT_NE(out.str().find("\n単純集計\n", run.size()), std::string::npos);
}

// Occurrences of a text in the messages written to standard error.
int countOf(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(BatchRun, FoldersWhereFilesAreExpectedFailLikeFilesThatCannotBeOpened)
{
    std::filesystem::create_directory(folder / "folder.csv");
    EXPECT_EQ(run({(folder / "folder.csv").string()}), 1);
    EXPECT_NE(err.str().find("ファイルをオープンできません"), std::string::npos);
    EXPECT_NE(err.str().find("folder.csv cannot be read"), std::string::npos);
    EXPECT_TRUE(out.str().empty());

    // kvn.conf that cannot be read: said so with the reason, the run goes on with the defaults,
    // and the folder stays.
    std::filesystem::remove(folder / "kvn.conf");
    std::filesystem::create_directory(folder / "kvn.conf");
    EXPECT_EQ(run({(folder / "signals.csv").string()}), 0);
    EXPECT_NE(err.str().find("ファイルオープンエラー：kvn.conf\r\nIs a directory"), std::string::npos);
    EXPECT_NE(out.str().find("購入: 2 回"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "kvn.conf"));

    std::filesystem::remove(folder / "index.txt");
    std::filesystem::create_directory(folder / "index.txt");
    EXPECT_EQ(run({(folder / "signals.csv").string()}), 2);
    EXPECT_NE(err.str().find("index.txt cannot be read in " + folder.path().string() + " (Is a directory"),
              std::string::npos);
}

TEST_F(BatchRun, OutputsOntoAnInputOrOntoEachOtherAreRefusedBeforeAnythingIsWritten)
{
    // kvn.conf is no input yet: the refusal must come before the first start would create it.
    for (const char* option : {"--log", "--equity", "--trades", "--report"}) {
        ASSERT_EQ(run({option, (folder / "kvn.conf").string(), (folder / "signals.csv").string()}), 2)
            << option;
        EXPECT_FALSE(folder.exists("kvn.conf")) << option;
    }
    // A link to a file not there yet is that file: kvn.conf before the first start, another output.
    std::filesystem::create_symlink("kvn.conf", folder / "conf-link.html");
    std::filesystem::create_symlink("a.csv", folder / "b-link.html");
    for (const char* option : {"--log", "--equity", "--trades", "--report"}) {
        EXPECT_EQ(run({option, (folder / "conf-link.html").string(), (folder / "signals.csv").string()}), 2)
            << option;
        EXPECT_FALSE(folder.exists("kvn.conf")) << option;
        EXPECT_EQ(run({"--log", (folder / "a.csv").string(), option, (folder / "b-link.html").string(),
                       (folder / "signals.csv").string()}),
                  std::string(option) == "--log" ? 0 : 2)
            << option;  // twice --log: the last one counts
        if (std::string(option) != "--log") {
            EXPECT_FALSE(folder.exists("a.csv")) << option;
        }
        std::filesystem::remove(folder / "a.csv");
        std::filesystem::remove(folder / "kvn.conf");
    }
    folder.write("kvn.conf", "1,2,3");
    std::filesystem::create_symlink(folder / "index.txt", folder / "master-link.txt");
    std::filesystem::create_hard_link(folder / "signals.csv", folder / "signals-link.csv");
    std::filesystem::create_directory(folder / "sub");
    const std::string index = folder.read("index.txt");
    const std::string signals = folder.read("signals.csv");

    test::WorkingDirectory here(folder.path());
    for (const char* option : {"--log", "--equity", "--trades", "--report"}) {
        for (const std::string& output :
             {std::string("./signals.csv"), (folder / "signals-link.csv").string(),
              (folder / "master-link.txt").string(), std::string("index.txt"),
              (folder / "sub" / ".." / "kvn.conf").string()}) {
            EXPECT_EQ(run({option, output, "signals.csv"}), 2) << option << ' ' << output;
            EXPECT_NE(err.str().find("would overwrite the input"), std::string::npos)
                << option << ' ' << output;
            EXPECT_TRUE(out.str().empty()) << option << ' ' << output;
        }
    }
    EXPECT_EQ(folder.read("index.txt"), index);
    EXPECT_EQ(folder.read("signals.csv"), signals);
    EXPECT_EQ(folder.read("kvn.conf"), "1,2,3");

    // One file for two outputs, under any spelling; /dev/null may take every one.
    EXPECT_EQ(run({"--log", "same.csv", "--equity", "sub/../same.csv", "signals.csv"}), 2);
    EXPECT_NE(err.str().find("is the same file as the log"), std::string::npos) << err.str();
    EXPECT_TRUE(out.str().empty());
    EXPECT_FALSE(folder.exists("same.csv"));
    EXPECT_EQ(run({"--equity", "same.csv", "--trades", "./same.csv", "signals.csv"}), 2);
    EXPECT_NE(err.str().find("the trade list ./same.csv is the same file as the equity file"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(run({"--log", "/dev/null", "--equity", "/dev/null", "--trades", "/dev/null", "signals.csv"}), 0)
        << err.str();
    // /dev/full twice is no "same file" either: the run goes on and says that both writes failed.
    EXPECT_EQ(run({"--equity", "/dev/full", "--trades", "/dev/full", "signals.csv"}), 2);
    EXPECT_NE(out.str().find("最終資産: "), std::string::npos) << err.str();
    const std::string failed = "error: /dev/full cannot be written\n";
    EXPECT_TRUE(err.str().ends_with("\n" + failed + failed)) << err.str();
}

TEST_F(BatchRun, LogIsWrittenWhereTheCommandLineSaysAndItsFailuresHaveTheirStatus)
{
    // No extension is added to the name given.
    ASSERT_EQ(run({"--log", (folder / "trades").string(), (folder / "signals.csv").string()}), 0)
        << err.str();
    EXPECT_TRUE(folder.exists("trades"));
    EXPECT_FALSE(folder.exists("trades.csv"));

    // A log that cannot be opened: nothing loaded, nothing run, nothing printed.
    EXPECT_EQ(
        run({"--log", (folder / "no-such-folder" / "log.csv").string(), (folder / "signals.csv").string()}),
        2);
    EXPECT_NE(err.str().find("cannot be opened: No such file or directory"), std::string::npos);
    EXPECT_EQ(err.str().find("シミュレーション終了！"), std::string::npos);
    EXPECT_TRUE(out.str().empty());

    // A log whose writes fail: said once, the run ends and its result is printed, status 3.
    EXPECT_EQ(run({"--json", "--log", "/dev/full", (folder / "signals.csv").string()}), 3);
    EXPECT_EQ(countOf(err.str(), "ログファイルに書き込めません。"), 1);
    EXPECT_EQ(countOf(err.str(), "シミュレーション終了！"), 1);
    EXPECT_EQ(nlohmann::json::parse(out.str())["run"]["purchases"], 2);
}

TEST_F(BatchRun, UnconvertibleCharactersAreToldAndAFileWithTooManyDatesFails)
{
    folder.write("utf8.csv",
                 "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス\r\n"
                 "極洋,2004/01/05,500,○,2004/01/06,520,+4%😀\r\n");
    EXPECT_EQ(run({"--json", (folder / "utf8.csv").string()}), 0) << err.str();
    EXPECT_NE(err.str().find("（UTF-8 から変換できず「？」にした文字：1）"), std::string::npos) << err.str();
    EXPECT_EQ(nlohmann::json::parse(out.str())["run"]["purchases"], 1);

    // The window ends the program with status 0 on such a file; the back-test did not run.
    std::string bytes = "header\r\n";
    for (int i = 0; i <= kDateSlotCount; ++i)
        bytes += "x," + std::to_string(1000 + i / 1000) + "/" + std::to_string(i / 20 % 50 + 1) + "/" +
            std::to_string(i % 20 + 1) + ",100,x,,,\r\n";
    folder.write("large.csv", bytes);
    EXPECT_EQ(run({"--json", (folder / "large.csv").string()}), 1);
    EXPECT_NE(err.str().find("ファイルが大きすぎるため終了します。"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

// 1,000 yen at leverage 2.5 buys 25 lots of 100 shares at 1 yen, sold the next day at 1,000:
// +2,497,500, taxed 10 % above the carried 500,000. The assets grow about 2,300-fold in one day,
// and a CAGR over 1/365.25 years overflows.
TEST_F(BatchRun, AFigureBeyondTheDoublesIsNull)
{
    folder.writeLines("huge.csv",
                      {
                          "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
                          "トヨタ自動車,2004/01/05,1,○,2004/01/06,1000,+99900%",
                          "トヨタ自動車,2004/01/06,999999,○,2004/01/07,1000000,+0%",
                      });
    const std::vector<std::string> settings = {"--set", "capital=1000", "--set", "commissionSchedule=1"};
    std::vector<std::string> arguments = settings;
    arguments.insert(arguments.end(), {"--json", (folder / "huge.csv").string()});
    ASSERT_EQ(run(arguments), 0) << err.str();
    const nlohmann::json results = nlohmann::json::parse(out.str())["results"];
    EXPECT_EQ(results["finalAssets"], 2298750.0);
    EXPECT_TRUE(results["cagrPercent"].is_null());
    EXPECT_EQ(results["totalReturnPercent"], 229775.0);

    arguments = settings;
    arguments.push_back((folder / "huge.csv").string());
    ASSERT_EQ(run(arguments), 0) << err.str();
    EXPECT_NE(out.str().find("総収益率: 229775.00%  年率収益率: ----\n"), std::string::npos) << out.str();
}

TEST_F(BatchRun, AnEquityFileOrTradeListThatCannotBeWrittenEndsWithStatusTwo)
{
    EXPECT_EQ(run({"--equity", (folder / "none" / "days.csv").string(), (folder / "signals.csv").string()}),
              2);
    EXPECT_NE(err.str().find("cannot be written"), std::string::npos);
    EXPECT_NE(out.str().find("最終資産: "), std::string::npos);  // the summary came first
    // A trade list fails the same way; the day points are written all the same.
    EXPECT_EQ(run({"--equity", (folder / "days.csv").string(), "--trades", "/dev/full",
                   (folder / "signals.csv").string()}),
              2);
    EXPECT_NE(err.str().find("/dev/full cannot be written"), std::string::npos) << err.str();
    EXPECT_TRUE(folder.exists("days.csv"));

    // The sample's day points fill more than the C library's 4 KB buffer; a full disk fails
    // every write, whichever write it is.
    test::TempFolder sample;
    for (const char* name : {"index.txt", "signals.csv"})
        std::filesystem::copy_file(std::filesystem::path(KV_SAMPLE_DIR) / name, sample / name);
    ParsedBatchArguments p =
        parseBatchArguments({"--equity", "/dev/full", (sample / "signals.csv").string()});
    out.str("");
    err.str("");
    EXPECT_EQ(runBatch(*p.options, sample.path(), out, err, false), 2);
    EXPECT_NE(err.str().find("/dev/full cannot be written"), std::string::npos) << err.str();
    ParsedBatchArguments written =
        parseBatchArguments({"--equity", (sample / "days.csv").string(), (sample / "signals.csv").string()});
    EXPECT_EQ(runBatch(*written.options, sample.path(), out, err, false), 0);
    EXPECT_GT(sample.read("days.csv").size(), 4096u);
}

// Whatever escapes a run (memory that ran out above all) ends it with a message and status 1.
TEST(BatchMain, AnExceptionEndsTheRunWithAMessageAndStatusOne)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(runReportingExceptions([]() -> int { throw std::bad_alloc(); }), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: not enough memory\n");
}

// The fields of a CSV line (code page 932 bytes, no quoting).
std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> result;
    size_t pos = 0;
    for (;;) {
        size_t comma = line.find(',', pos);
        result.push_back(line.substr(pos, comma - pos));
        if (comma == std::string::npos)
            return result;
        pos = comma + 1;
    }
}

std::vector<std::string> csvLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF";
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

// The sample's run: the results of the JSON agree with the trade log written in the same run,
// read back line by line, and with the day points written beside it.
TEST(SampleRun, ResultsAgreeWithTheTradeLogReadBack)
{
    test::TempFolder folder;
    for (const char* name : {"index.txt", "signals.csv"})
        std::filesystem::copy_file(std::filesystem::path(KV_SAMPLE_DIR) / name, folder / name);
    std::ostringstream out, err;
    ParsedBatchArguments p = parseBatchArguments(
        {"--json", "--log", (folder / "log.csv").string(), "--equity", (folder / "days.csv").string(),
         "--trades", (folder / "trades.csv").string(), (folder / "signals.csv").string()});
    ASSERT_EQ(runBatch(*p.options, folder.path(), out, err, false), 0) << err.str();
    const nlohmann::json results = nlohmann::json::parse(out.str())["results"];

    const std::string sale = toCp932("売却");
    const std::string purchase = toCp932("購入");
    int sales = 0;
    int wins = 0;
    double grossSum = 0;
    double commissions = 0;
    double tax = 0;
    double lastAssets = 0;
    const std::vector<std::string> log = csvLines(folder.read("log.csv"));
    ASSERT_GT(log.size(), 10u);
    for (size_t i = 1; i < log.size(); ++i) {
        const std::vector<std::string> f = fields(log[i]);
        ASSERT_EQ(f.size(), 13u) << log[i];
        const double amount = leadingDouble(f[7]);  // 差引益 of a sale, minus the commission of a purchase
        if (f[0] == sale) {
            ++sales;
            wins += amount > 0;
            grossSum += amount;
            tax += amount - leadingDouble(f[10]);
        } else {
            ASSERT_EQ(f[0], purchase) << log[i];
            commissions -= amount;
        }
        lastAssets = leadingDouble(f[12]);
    }
    EXPECT_EQ(results["trades"], sales);
    EXPECT_EQ(results["wins"], wins);
    EXPECT_EQ(results["grossProfit"].get<double>() - results["grossLoss"].get<double>(), grossSum);
    EXPECT_EQ(results["totalCommission"], commissions);
    // The log rounds every after-tax profit to the yen.
    EXPECT_NEAR(results["totalTax"].get<double>(), tax, 0.5 * sales);
    EXPECT_NEAR(results["finalAssets"].get<double>(), lastAssets, 0.5);
    EXPECT_EQ(results["expectancy"].get<double>(), grossSum / sales);

    // Every sale counts in one month and one year.
    for (const char* table : {"months", "years"}) {
        int trades = 0;
        int won = 0;
        for (const auto& period : results[table]) {
            trades += period["trades"].get<int>();
            won += period["wins"].get<int>();
        }
        EXPECT_EQ(trades, sales) << table;
        EXPECT_EQ(won, wins) << table;
    }

    // The day points as CSV: one line per day of the JSON, same dates and assets.
    const std::vector<std::string> days = csvLines(folder.read("days.csv"));
    ASSERT_EQ(days.size(), results["days"].size() + 1);
    EXPECT_EQ(days[0], toCp932("日付,総資産,ドローダウン,ドローダウン率"));
    for (size_t i = 1; i < days.size(); ++i) {
        const nlohmann::json& day = results["days"][i - 1];
        const std::vector<std::string> f = fields(days[i]);
        ASSERT_EQ(f.size(), 4u);
        EXPECT_EQ(f[0], day["date"].get<std::string>());
        EXPECT_NEAR(leadingDouble(f[1]), day["assets"].get<double>(), 0.5);
        EXPECT_NEAR(leadingDouble(f[3]), day["drawdownPercent"].get<double>(), 0.005);
    }
    EXPECT_EQ(results["days"].back()["assets"], results["finalAssets"]);

    // The trade list: a line per sale, in the log's order (tests/e2e/check-trades.py compares
    // them field by field).
    const std::vector<std::string> trades = csvLines(folder.read("trades.csv"));
    ASSERT_EQ(trades.size(), static_cast<size_t>(sales) + 1);
    EXPECT_EQ(trades[0],
              toCp932("コード,銘柄名,購入日,売却日,保有日数,株数,購入金額,売却金額,手数料,差引益,税引き益,"
                      "利益率,決済"));
    size_t trade = 1;
    for (size_t i = 1; i < log.size(); ++i) {
        const std::vector<std::string> f = fields(log[i]);
        if (f[0] != sale)
            continue;
        const std::vector<std::string> t = fields(trades[trade++]);
        ASSERT_EQ(t.size(), 13u);
        EXPECT_EQ(t[1], f[2]);
        EXPECT_EQ(t[9], f[7]);
    }
}

TEST_F(BatchRun, EmptySettingsFileIsReadAsZerosWithAWarningAndInfiniteFiguresAreNullOrDashes)
{
    folder.write("kvn.conf", "");
    EXPECT_EQ(run({"--json", (folder / "signals.csv").string()}), 0) << err.str();
    EXPECT_EQ(countOf(err.str(), "holds no value: every setting reads as 0"), 1);
    EXPECT_EQ(nlohmann::json::parse(out.str())["run"]["purchases"], 0);
    EXPECT_EQ(folder.read("kvn.conf"), "");

    folder.write("kvn.conf", "2000000,500000,2.5,0.2,0.1,300000,50000000,5,-0.03,0,3990,1,0,0,0,1,0,0");
    ASSERT_EQ(
        run({"--json", "--set", "capital=1e308", "--set", "leverage=10", (folder / "signals.csv").string()}),
        0)
        << err.str();
    EXPECT_EQ(err.str().find("holds no value"), std::string::npos);
    nlohmann::json result = nlohmann::json::parse(out.str());
    EXPECT_TRUE(result["run"]["operatingAssets"].is_null()) << out.str();
    EXPECT_TRUE(result["run"]["totalAssets"].is_number());
    // The readable summary says the same.
    ASSERT_EQ(run({"--set", "capital=1e308", "--set", "leverage=10", (folder / "signals.csv").string()}), 0);
    EXPECT_NE(out.str().find("運用資産: ---- 円"), std::string::npos) << out.str();
}

// A write that fails keeps the old file whole and leaves no part of the new one; an output that
// another run holds is refused before anything runs.
TEST_F(BatchRun, AFailedWriteKeepsTheOldFileAndALockedOutputIsRefused)
{
    ASSERT_EQ(run({(folder / "signals.csv").string()}), 0);  // kvn.conf made
    auto files = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    folder.write("out", "old");
    const std::vector<std::string> before = files();
    struct Case {
        const char* option;
        int failed;  // the status of a write that fails
    };
    for (const Case& c : {Case{"--equity", 2}, Case{"--trades", 2}, Case{"--report", 3}}) {
        folder.write("out", "old");
        {
            test::FileSizeLimit full(100);
            EXPECT_EQ(run({c.option, (folder / "out").string(), (folder / "signals.csv").string()}), c.failed)
                << c.option;
        }
        EXPECT_EQ(folder.read("out"), "old") << c.option;
        EXPECT_EQ(files(), before) << c.option;  // no temporary file left

        const int held = ::open((folder / "out").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(held, 0);
        ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
        EXPECT_EQ(run({c.option, (folder / "out").string(), (folder / "signals.csv").string()}), 2)
            << c.option;
        EXPECT_NE(err.str().find("他の実行が書き込み中です：" + (folder / "out").string()), std::string::npos)
            << err.str();
        EXPECT_TRUE(out.str().empty());
        EXPECT_EQ(folder.read("out"), "old");
        ::close(held);
    }
    // The log is written in place, under the same lock.
    folder.write("log.csv", "old");
    const int held = ::open((folder / "log.csv").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(run({"--log", (folder / "log.csv").string(), (folder / "signals.csv").string()}), 2);
    EXPECT_EQ(folder.read("log.csv"), "old");
    ::close(held);
}

// SIGINT, SIGTERM or SIGHUP stops the run at a whole step: the log ends with whole lines, no
// result of a part of the run is printed, and the status is 128 + the signal.
TEST_F(BatchRun, ASignalStopsTheRunWithWholeLogLines)
{
    const std::string log = (folder / "log.csv").string();
    const std::string signals = (folder / "signals.csv").string();
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        auto interruptedRun = [&] {
            catchInterruptions();
            std::raise(signal);
            ParsedBatchArguments p = parseBatchArguments({"--log", log, signals});
            std::ostringstream printed, told;
            const int status = runBatch(*p.options, folder.path(), printed, told, false);
            std::_Exit(printed.str().empty() ? status : 1);
        };
        EXPECT_EXIT(interruptedRun(), ::testing::ExitedWithCode(128 + signal), "") << signal;
        const std::string written = folder.read("log.csv");
        EXPECT_FALSE(written.empty());
        EXPECT_TRUE(written.ends_with("\r\n")) << written;
    }
}

TEST_F(BatchRun, NoFigureForPeopleIsInfinite)
{
    ASSERT_EQ(run({"--set", "unknownProfitRate=1e308", "--report", (folder / "r.html").string(),
                   (folder / "signals.csv").string()}),
              0)
        << err.str();
    EXPECT_NE(out.str().find("単純平均利益: ----"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("inf"), std::string::npos) << out.str();
    const std::string page = folder.read("r.html");
    EXPECT_EQ(page.find("inf"), std::string::npos);
    EXPECT_NE(page.find("<dt>不明時の利益率</dt><dd>----</dd>"), std::string::npos);
}

}  // namespace
}  // namespace kv
