// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchOptions.h"

#include "settings/SettingByName.h"

namespace kv {

std::string batchUsage()
{
    std::string names;
    for (const std::string& name : settingNames())
        names += (names.empty() ? "" : ", ") + name;
    return "使い方: kirvane-batch [--start-row N] [--end-row M] [--log FILE] [--equity FILE] "
           "[--trades FILE] [--report FILE] [--set NAME=VALUE]... [--json] SIGNAL_FILE\n"
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
    std::string error =
        parseRunArguments(arguments, options, SetValueCheck::Lenient,
                          {file(options.logFile, "--log"), file(options.equityFile, "--equity"),
                           file(options.tradesFile, "--trades"), file(options.reportFile, "--report")});
    if (!error.empty())
        return {std::nullopt, std::move(error)};
    return {std::move(options), {}};
}

}  // namespace kv
