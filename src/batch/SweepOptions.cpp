// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/SweepOptions.h"

#include "sweep/SweepFigures.h"
#include "sweep/SweepRunner.h"
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

// "I:S", two whole numbers of months from 1 to kMaxWalkForwardMonths.
std::optional<SweepOptions::Months> parseWalkForward(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const std::optional<int> in = parseCount<int>(text.substr(0, colon), 1);
    const std::optional<int> out = parseCount<int>(text.substr(colon + 1), 1);
    if (!in || !out || *in > kMaxWalkForwardMonths || *out > kMaxWalkForwardMonths)
        return std::nullopt;
    return SweepOptions::Months{*in, *out};
}

// The options a walk-forward cannot take: it picks one combination per window from the whole
// grid, so a shard of it, a hold-out date or the first K lines would mean nothing.
std::string walkForwardConflict(const SweepOptions& options)
{
    if (!options.walkForward)
        return {};
    if (options.shards != 1)
        return "--walk-forward は --shard と一緒には指定できません (窓ごとに格子全体から選ぶため)";
    if (options.holdoutFrom)
        return "--walk-forward は --holdout-from と一緒には指定できません";
    if (options.top)
        return "--walk-forward は --top と一緒には指定できません";
    return {};
}

}  // namespace

std::string sweepUsage()
{
    return "使い方: kirvane-sweep [--jobs N] [--shard I/N] [--start-row N] [--end-row M] [--set "
           "NAME=VALUE]...\n"
           "         [--holdout-from YYYY/MM/DD | --walk-forward I:S]\n"
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
        "  --holdout-from YYYY/MM/DD   各組合せを、この日付以降の最初の行より前 (is…) と、その行からあと\n"
        "                              (oos…) とで別々に実行します (--sort は is… の数値で並べます)\n"
        "  --walk-forward I:S          ウォークフォワード: 最初の行の日付から S か月ずつずらした窓ごとに、\n"
        "                              I か月 (最適化期間) で格子全体を実行して --sort の数値\n"
        "                              (ないときは finalAssets) がいちばんよい組合せを選び、続く S か月\n"
        "                              (検証期間、oos…) で実行します。窓ごとに 1 行、最後に全体の集計\n"
        "                              (--shard、--holdout-from、--top とは一緒に使えません)\n"
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
        "  1  シグナルファイルを開けない (FIFO や大きすぎるファイルも)、シグナルが一つもない、\n"
        "     日付が多すぎて読み込めない、または実行中のエラー (メモリー不足など)\n"
        "  2  コマンドラインの誤り (--vary がない場合も)、index.txt を読めない、\n"
        "     行の指定が拒否された、または --walk-forward の窓が一つもできない\n"
        "  3  結果は出したが、標準出力に書き込めなかった\n";
}

ParsedSweepArguments parseSweepArguments(const std::vector<std::string>& arguments)
{
    using Refusal = std::optional<std::string>;
    using Value = std::optional<std::string>;
    SweepOptions options;
    std::vector<SweepAxis> axes;
    const std::vector<ToolOption> own = {
        {"--jobs",
         [&](const Value& text) -> Refusal {
             options.jobs = text ? parseCount<int>(*text, 1) : std::nullopt;
             return options.jobs ? Refusal() : "--jobs には 1 以上のスレッド数が必要です";
         }},
        {"--top",
         [&](const Value& text) -> Refusal {
             options.top = text ? parseCount<uint64_t>(*text, 1) : std::nullopt;
             return options.top ? Refusal() : "--top には 1 以上の行数が必要です";
         }},
        {"--shard",
         [&](const Value& text) -> Refusal {
             size_t slash = text ? text->find('/') : std::string::npos;
             std::optional<uint64_t> shard, shards;
             if (slash != std::string::npos) {
                 shard = parseCount<uint64_t>(text->substr(0, slash), 0);
                 shards = parseCount<uint64_t>(text->substr(slash + 1), 1);
             }
             if (!shard || !shards || *shard >= *shards)
                 return "--shard には 0 <= I < N となる I/N が必要です" +
                     (text ? ": " + *text : std::string());
             options.shard = *shard;
             options.shards = *shards;
             return std::nullopt;
         }},
        {"--holdout-from",
         [&](const Value& text) -> Refusal {
             options.holdoutFrom = text ? parseHoldoutDate(*text) : std::nullopt;
             return options.holdoutFrom
                 ? Refusal()
                 : "--holdout-from には YYYY/MM/DD の日付が必要です" + (text ? ": " + *text : std::string());
         }},
        {"--walk-forward",
         [&](const Value& text) -> Refusal {
             options.walkForward = text ? parseWalkForward(*text) : std::nullopt;
             return options.walkForward ? Refusal()
                                        : "--walk-forward には I:S (最適化する月数と検証する月数、どちらも 1 から " +
                     std::to_string(kMaxWalkForwardMonths) + " までの整数) が必要です" +
                     (text ? ": " + *text : std::string());
         }},
        {"--sort",
         [&](const Value& field) -> Refusal {
             if (!field || !sweepFigureByName(*field))
                 return "--sort には次のいずれかが必要です: " + joined(sweepFigureNames()) +
                     (field ? "（" + *field + " という数値はありません）" : std::string());
             options.sortField = *field;
             return std::nullopt;
         }},
        {"--vary",
         [&](const Value& assignment) -> Refusal {
             size_t equals = assignment ? assignment->find('=') : std::string::npos;
             if (equals == std::string::npos)
                 return "--vary には NAME=VALUES が必要です";
             std::string name = assignment->substr(0, equals);
             for (const SweepAxis& axis : axes) {
                 if (axis.name == name)
                     return "--vary " + name + " が二度指定されています";
             }
             ParsedAxis parsed = parseAxis(name, assignment->substr(equals + 1));
             if (!parsed.axis)
                 return parsed.error;
             axes.push_back(std::move(*parsed.axis));
             return std::nullopt;
         }},
    };
    auto refuse = [](std::string error) { return ParsedSweepArguments{std::nullopt, std::move(error)}; };
    if (std::string error = parseRunArguments(arguments, options, SetValueCheck::Exact, own); !error.empty())
        return refuse(std::move(error));
    if (axes.empty())
        return refuse("--vary が指定されていません");
    if (std::string error = walkForwardConflict(options); !error.empty())
        return refuse(std::move(error));
    options.grid = SweepGrid(std::move(axes));
    if (options.grid.size() > kMaxCombinations)
        return refuse("--vary の値の組合せが " + std::to_string(kMaxCombinations) + " を超えます");
    return {std::move(options), {}};
}

}  // namespace kv
