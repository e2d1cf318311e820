// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-sample-data [--bench | --years N] OUTDIR: writes OUTDIR/index.txt and
// OUTDIR/signals.csv. Without an option: a small working folder to try the program on; with
// --bench: a large stock master and signal file for timing the loader and the simulation; with
// --years: N years of signals shaped like a real file, for a long run.

#include "SampleData.h"
#include "text/CommandLine.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Shape {
    int stockCount;
    int rowCount;
    int firstDate;
    int lastDate;
    uint32_t seed;
};

constexpr Shape kSample{80, 400, 20040105, 20050630, 2004};
constexpr Shape kBench{3000, 250000, 20000104, 20091230, 2000};
constexpr int kMostYears = 30;

// N years from January 2004, about as many signals a year as the small sample has.
Shape yearsShape(int years)
{
    return {120, 280 * years, 20040105, (2003 + years) * 10000 + 1230, 2004};
}
bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "kirvane-sample-data: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

constexpr const char* kProgram = "kirvane-sample-data";

constexpr const char* kUsage =
    "使い方: kirvane-sample-data [--bench | --years N] OUTDIR\n"
    "OUTDIR に銘柄マスター index.txt とシグナルファイル signals.csv (コードページ 932) を書きます。\n"
    "同じ引数からはいつも同じファイルができます。\n"
    "\n"
    "  --bench     小さな作業フォルダーの代わりに、時間を測るための大きなファイル\n"
    "              (3,000 銘柄、250,000 行) を書きます\n"
    "  --years N   2004 年 1 月から N 年分 (1〜30) のシグナルを書きます (年に 280 行)。\n"
    "              日付は東証の営業日 (土日、祝日、12 月 31 日〜1 月 3 日を除く) です。\n"
    "              実際のファイルと同じく、判定不可（期間中）の行は最後の 2 週間だけにあります\n"
    "  -h, --help  この使い方を表示して終了します\n"
    "  --version   バージョンを表示して終了します\n"
    "\n"
    "終了ステータス:\n"
    "  0  書き終えた\n"
    "  1  フォルダーやファイルを作れない\n"
    "  2  コマンドラインの誤り\n";

int usageError(const std::string& problem)
{
    std::fputs(kv::usageErrorText(kProgram, problem).c_str(), stderr);
    return kv::kExitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (kv::findStandardOption(arguments)) {
    case kv::StandardOption::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case kv::StandardOption::Version:
        std::fputs(kv::versionText(kProgram).c_str(), stdout);
        return 0;
    case kv::StandardOption::None:
        break;
    }
    bool bench = false;
    int years = 0;
    bool optionsEnded = false;
    std::string outDir;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (!optionsEnded && arg == "--bench")
            bench = true;
        else if (!optionsEnded && arg == "--years") {
            const std::string value = i + 1 < arguments.size() ? arguments[++i] : std::string();
            if (value.empty() || value.size() > 2 ||
                value.find_first_not_of("0123456789") != std::string::npos || std::stoi(value) < 1 ||
                std::stoi(value) > kMostYears)
                return usageError("--years には 1 から 30 までの年数を指定してください: " + value);
            years = std::stoi(value);
        } else if (!optionsEnded && kv::isOption(arg))
            return usageError("不明なオプションです: " + arg);
        else if (!outDir.empty())
            return usageError("出力フォルダーは一つだけ指定できます: " + arg);
        else
            outDir = arg;
    }
    if (outDir.empty())
        return usageError("出力フォルダーが指定されていません");
    if (bench && years != 0)
        return usageError("--bench と --years は同時に指定できません");

    const Shape shape = years != 0 ? yearsShape(years) : bench ? kBench : kSample;
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "kirvane-sample-data: cannot create %s: %s\n", outDir.c_str(),
                     error.message().c_str());
        return 1;
    }

    std::vector<kv::SampleStock> stocks = kv::makeStocks(shape.stockCount, shape.seed);
    std::string master = kv::formatStockMaster(stocks);
    std::string signals =
        kv::makeSignalFile(stocks, shape.rowCount, shape.firstDate, shape.lastDate, shape.seed,
                           years != 0 ? kv::SignalEnds::OpenAtEnd : kv::SignalEnds::Anywhere,
                           years != 0 ? kv::SignalDays::BusinessDays : kv::SignalDays::Weekdays);

    std::filesystem::path dir(outDir);
    if (!writeFile(dir / "index.txt", master) || !writeFile(dir / "signals.csv", signals))
        return 1;

    std::printf("%s: %d stocks, %zu bytes\n", (dir / "index.txt").string().c_str(), shape.stockCount,
                master.size());
    std::printf("%s: %d signals from %d to %d, %zu bytes\n", (dir / "signals.csv").string().c_str(),
                shape.rowCount, shape.firstDate, shape.lastDate, signals.size());
    return 0;
}
