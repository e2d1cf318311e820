// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchOptions.h"

#include "settings/SettingByName.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace kv {

std::string batchUsage()
{
    std::string names;
    for (const std::string& name : settingNames())
        names += (names.empty() ? "" : ", ") + name;
    return "使い方: kirvane-batch [--start-row N] [--end-row M] [--log FILE] [--equity FILE] "
           "[--trades FILE] [--report FILE] [--set NAME=VALUE]... [--json]\n"
           "                     [--monte-carlo N [--mc-seed S] [--mc-order permute|bootstrap]] SIGNAL_FILE\n"
           "カレントフォルダーで SIGNAL_FILE をバックテストします (index.txt と kvn.conf "
           "はそこから読みます)。\n"
           "UTF-8 のファイルはコードページ 932 に変換して読みます。\n"
           "\n"
           "  --start-row N, --end-row M  実行する最初と最後のシグナル一覧の行 (0 から数えます)\n"
           "  --log FILE                  売買履歴を FILE に書き出します\n"
           "  --equity FILE               日ごとの総資産とドローダウンを FILE に CSV で書き出します\n"
           "  --trades FILE               取引一覧 (売却ごとに一行) を FILE に CSV で書き出します\n"
           "  --report FILE               設定・成績・グラフ・取引一覧・統計のレポートを FILE に HTML "
           "で書き出します\n"
           "  --set NAME=VALUE            この実行に限って設定を一つ変更します。NAME は次のいずれか:\n"
           "                              " +
        names +
        "\n"
        "  --json                      結果を一つの JSON オブジェクトで表示します\n"
        "  --monte-carlo N             取引の順序を入れ替えた N 通りの経路 (モンテカルロ) で、最終資産と\n"
        "                              最大ドローダウンの分布を求めます (N は 1 から 1000000)\n"
        "  --mc-seed S                 モンテカルロの乱数の種 (0 以上の整数、既定 1)\n"
        "  --mc-order permute|bootstrap  permute は全取引の並べ替え (既定)、bootstrap は復元抽出\n"
        "  -h, --help                  この使い方を表示して終了します\n"
        "  --version                   バージョンを表示して終了します\n"
        "\n"
        "終了ステータス:\n"
        "  0  バックテストが最後まで進んだ\n"
        "  1  シグナルファイルを開けない (FIFO や大きすぎるファイルも)、シグナルが一つもない、\n"
        "     日付が多すぎて読み込めない、または実行中のエラー (メモリー不足など)\n"
        "  2  コマンドラインの誤り、index.txt を読めない、出力ファイル (--log, --equity, --trades, --report) "
        "が入力\n"
        "     ファイルやほかの出力と同じか通常のファイルでない、ログを開けない、行の指定や実行が拒否\n"
        "     された、または --equity か --trades のファイルに書き込めない\n"
        "  3  結果は表示したが、ログ、--report のファイルまたは標準出力に書き込めなかった\n";
}

ParsedBatchArguments parseBatchArguments(const std::vector<std::string>& arguments)
{
    BatchOptions options;
    auto file = [](std::optional<std::filesystem::path>& target, const char* name) {
        return ToolOption{
            name, [&target, name](const std::optional<std::string>& value) -> std::optional<std::string> {
                if (!value || value->empty())
                    return std::string(name) + " にはファイル名が必要です";
                target = *value;
                return std::nullopt;
            }};
    };
    // The Monte Carlo's three options, checked together once all are read.
    std::optional<int64_t> paths;
    std::optional<uint64_t> seed;
    std::optional<MonteCarloOrder> order;
    auto whole = [](const std::optional<std::string>& text, auto& target, auto lowest, auto highest) {
        std::remove_reference_t<decltype(*target)> value{};
        if (!text)
            return false;
        auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
        if (ec != std::errc() || end != text->data() + text->size() || value < lowest || value > highest)
            return false;
        target = value;
        return true;
    };
    auto shown = [](const std::optional<std::string>& text) { return text ? ": " + *text : std::string(); };
    const ToolOption monteCarlo{
        "--monte-carlo", [&](const std::optional<std::string>& text) -> std::optional<std::string> {
            if (whole(text, paths, int64_t{1}, kMaxMonteCarloPaths))
                return std::nullopt;
            return "--monte-carlo には 1 から " + std::to_string(kMaxMonteCarloPaths) +
                " までの経路の数が必要です" + shown(text);
        }};
    const ToolOption mcSeed{
        "--mc-seed", [&](const std::optional<std::string>& text) -> std::optional<std::string> {
            if (whole(text, seed, uint64_t{0}, std::numeric_limits<uint64_t>::max()))
                return std::nullopt;
            return "--mc-seed には 0 から 18446744073709551615 までの整数が必要です" + shown(text);
        }};
    const ToolOption mcOrder{"--mc-order",
                             [&](const std::optional<std::string>& text) -> std::optional<std::string> {
                                 order = text ? monteCarloOrderNamed(*text) : std::nullopt;
                                 if (order)
                                     return std::nullopt;
                                 return "--mc-order には permute か bootstrap が必要です" + shown(text);
                             }};
    std::string error =
        parseRunArguments(arguments, options, SetValueCheck::Lenient,
                          {file(options.logFile, "--log"), file(options.equityFile, "--equity"),
                           file(options.tradesFile, "--trades"), file(options.reportFile, "--report"),
                           monteCarlo, mcSeed, mcOrder});
    if (error.empty() && !paths && (seed || order))
        error = "--mc-seed と --mc-order は --monte-carlo N と一緒に指定します";
    if (!error.empty())
        return {std::nullopt, std::move(error)};
    if (paths) {
        options.monteCarlo.emplace();
        options.monteCarlo->paths = *paths;
        options.monteCarlo->seed = seed.value_or(1);
        options.monteCarlo->order = order.value_or(MonteCarloOrder::Permute);
    }
    return {std::move(options), {}};
}

}  // namespace kv
