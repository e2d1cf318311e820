// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchOptions.h"

#include "settings/SettingByName.h"
#include "text/CommandLine.h"

#include <charconv>

namespace kv {

namespace {

std::optional<int> parseRow(const std::string& text)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

}  // namespace

std::string batchUsage()
{
    std::string names;
    for (const std::string& name : settingNames())
        names += (names.empty() ? "" : ", ") + name;
    return "使い方: kirvane-batch [--start-row N] [--end-row M] [--log FILE] [--equity FILE] "
           "[--set NAME=VALUE]... [--json] SIGNAL_FILE\n"
           "カレントフォルダーで SIGNAL_FILE をバックテストします (index.txt と kvn.conf "
           "はそこから読みます)。\n"
           "UTF-8 のファイルはコードページ 932 に変換して読みます。\n"
           "\n"
           "  --start-row N, --end-row M  実行する最初と最後のシグナル一覧の行 (0 から数えます)\n"
           "  --log FILE                  売買履歴を FILE に書き出します\n"
           "  --equity FILE               日ごとの総資産とドローダウンを FILE に CSV で書き出します\n"
           "  --set NAME=VALUE            この実行に限って設定を一つ変更します。NAME は次のいずれか:\n"
           "                              " +
        names +
        "\n"
        "  --json                      結果を一つの JSON オブジェクトで表示します\n"
        "  -h, --help                  この使い方を表示して終了します\n"
        "  --version                   バージョンを表示して終了します\n"
        "\n"
        "終了ステータス:\n"
        "  0  バックテストが最後まで進んだ\n"
        "  1  シグナルファイルを開けない、シグナルが一つもない、または日付が多すぎて読み込めない\n"
        "  2  コマンドラインの誤り、index.txt を読めない、ログが入力ファイルを上書きするか開けない、\n"
        "     行の指定や実行が拒否された、または --equity のファイルに書き込めない\n"
        "  3  結果は表示したが、ログまたは標準出力に書き込めなかった\n";
}

ParsedBatchArguments parseBatchArguments(const std::vector<std::string>& arguments)
{
    BatchOptions options;
    bool haveFile = false;
    bool optionsEnded = false;  // after "--" every argument is a file name
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (optionsEnded || !isOption(arg)) {
            if (haveFile)
                return {std::nullopt, "シグナルファイルは一つだけ指定できます: " + arg};
            options.signalFile = arg;
            haveFile = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--start-row" || arg == "--end-row") {
            std::optional<std::string> text = value();
            std::optional<int> row = text ? parseRow(*text) : std::nullopt;
            if (!row)
                return {std::nullopt, arg + " には 0 以上の行番号が必要です"};
            (arg == "--start-row" ? options.startRow : options.endRow) = *row;
        } else if (arg == "--log" || arg == "--equity") {
            std::optional<std::string> file = value();
            if (!file || file->empty())
                return {std::nullopt, arg + " にはファイル名が必要です"};
            (arg == "--log" ? options.logFile : options.equityFile) = *file;
        } else if (arg == "--set") {
            std::optional<std::string> assignment = value();
            size_t equals = assignment ? assignment->find('=') : std::string::npos;
            if (equals == std::string::npos)
                return {std::nullopt, "--set には NAME=VALUE が必要です"};
            std::string name = assignment->substr(0, equals);
            SimulationSettings probe;
            if (!setSettingByName(probe, name, ""))
                return {std::nullopt, "--set: " + name + " という設定はありません"};
            options.settings.emplace_back(name, assignment->substr(equals + 1));
        } else {
            return {std::nullopt, "不明なオプションです: " + arg};
        }
    }
    if (!haveFile)
        return {std::nullopt, "シグナルファイルが指定されていません"};
    return {std::move(options), {}};
}

}  // namespace kv
