// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/SweepOptions.h"

#include "batch/SweepFigures.h"
#include "settings/SettingByName.h"

#include <charconv>

namespace kv {

namespace {

// A whole number of at least `least`, written as digits only.
template <typename Number>
std::optional<Number> parseCount(const std::string& text, Number least)
{
    Number value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text[0] == '+' || text[0] == '-' || ec != std::errc() ||
        end != text.data() + text.size() || value < least)
        return std::nullopt;
    return value;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

std::string sweepUsage()
{
    return "使い方: kirvane-sweep [--jobs N] [--shard I/N] [--start-row N] [--end-row M] [--set "
           "NAME=VALUE]...\n"
           "         --vary NAME=V1,V2,... | --vary NAME=FROM:TO:STEP ... [--sort FIELD] [--top K] [--json]\n"
           "         SIGNAL_FILE\n"
           "カレントフォルダーで SIGNAL_FILE を --vary の値のすべての組合せについてバックテストします\n"
           "(index.txt と kvn.conf はそこから読みます)。最後の --vary がいちばん速く変わります。\n"
           "\n"
           "  --vary NAME=V1,V2,...       一つの設定の値\n"
           "  --vary NAME=FROM:TO:STEP    FROM, FROM+STEP, ... TO まで (ちょうど届けば TO も)\n"
           "  --set NAME=VALUE            すべての組合せに共通の設定\n"
           "                              NAME は次のいずれか: " +
        joined(settingNames()) +
        "\n"
        "  --start-row N, --end-row M  各実行の最初と最後のシグナル一覧の行 (0 から数えます)\n"
        "  --jobs N                    ワーカースレッドの数 (既定: コアごとに一つ)\n"
        "  --shard I/N                 番号を N で割った余りが I の組合せだけを実行します\n"
        "  --sort FIELD                次の数値のよい順に並べます: " +
        joined(sweepFigureNames()) +
        "\n"
        "                              (maxDrawdownPercent は小さい順、ほかは大きい順。値のない行は最後)\n"
        "  --top K                     最初の K 行だけを表示します\n"
        "  --json                      CSV の代わりに 1 行に一つの JSON オブジェクトを表示します\n"
        "  -h, --help                  この使い方を表示して終了します\n"
        "  --version                   バージョンを表示して終了します\n"
        "\n"
        "終了ステータス:\n"
        "  0  すべての組合せを実行した\n"
        "  1  シグナルファイルを開けない、シグナルが一つもない、日付が多すぎて読み込めない、\n"
        "     または実行中のエラー\n"
        "  2  コマンドラインの誤り、index.txt を読めない、または行の指定が拒否された\n";
}

ParsedSweepArguments parseSweepArguments(const std::vector<std::string>& arguments)
{
    SweepOptions options;
    std::vector<SweepAxis> axes;
    bool haveFile = false;
    auto refuse = [](std::string error) { return ParsedSweepArguments{std::nullopt, std::move(error)}; };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--start-row" || arg == "--end-row") {
            std::optional<std::string> text = value();
            std::optional<int> row = text ? parseCount<int>(*text, 0) : std::nullopt;
            if (!row)
                return refuse(arg + " needs a row number (0 or more)");
            (arg == "--start-row" ? options.startRow : options.endRow) = *row;
        } else if (arg == "--jobs") {
            std::optional<std::string> text = value();
            std::optional<int> jobs = text ? parseCount<int>(*text, 1) : std::nullopt;
            if (!jobs)
                return refuse("--jobs needs a number of threads (1 or more)");
            options.jobs = *jobs;
        } else if (arg == "--top") {
            std::optional<std::string> text = value();
            std::optional<uint64_t> top = text ? parseCount<uint64_t>(*text, 1) : std::nullopt;
            if (!top)
                return refuse("--top needs a number of lines (1 or more)");
            options.top = *top;
        } else if (arg == "--shard") {
            std::optional<std::string> text = value();
            size_t slash = text ? text->find('/') : std::string::npos;
            std::optional<uint64_t> shard, shards;
            if (slash != std::string::npos) {
                shard = parseCount<uint64_t>(text->substr(0, slash), 0);
                shards = parseCount<uint64_t>(text->substr(slash + 1), 1);
            }
            if (!shard || !shards || *shard >= *shards)
                return refuse("--shard needs I/N with 0 <= I < N" +
                              (text ? ", not '" + *text + "'" : std::string()));
            options.shard = *shard;
            options.shards = *shards;
        } else if (arg == "--sort") {
            std::optional<std::string> field = value();
            if (!field || !sweepFigureByName(*field))
                return refuse("--sort needs one of " + joined(sweepFigureNames()) +
                              (field ? ", not '" + *field + "'" : std::string()));
            options.sortField = *field;
        } else if (arg == "--set" || arg == "--vary") {
            std::optional<std::string> assignment = value();
            size_t equals = assignment ? assignment->find('=') : std::string::npos;
            if (equals == std::string::npos)
                return refuse(arg + (arg == "--set" ? " needs NAME=VALUE" : " needs NAME=VALUES"));
            std::string name = assignment->substr(0, equals);
            std::string text = assignment->substr(equals + 1);
            if (arg == "--set") {
                if (std::optional<std::string> refusal = refuseSettingValue(name, text))
                    return refuse("--set " + *assignment + ": " + *refusal);
                options.settings.emplace_back(name, text);
                continue;
            }
            for (const SweepAxis& axis : axes) {
                if (axis.name == name)
                    return refuse("--vary " + name + " is given twice");
            }
            ParsedAxis parsed = parseAxis(name, text);
            if (!parsed.axis)
                return refuse(parsed.error);
            axes.push_back(std::move(*parsed.axis));
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return refuse("不明なオプションです: " + arg);
        } else if (haveFile) {
            return refuse("シグナルファイルは一つだけ指定できます: " + arg);
        } else {
            options.signalFile = arg;
            haveFile = true;
        }
    }
    if (!haveFile)
        return refuse("シグナルファイルが指定されていません");
    options.grid = SweepGrid(std::move(axes));
    if (options.grid.size() > kMaxCombinations)
        return refuse("the --vary values make more than " + std::to_string(kMaxCombinations) +
                      " combinations");
    return {std::move(options), {}};
}

}  // namespace kv
