// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/HtmlReport.h"

#include "data/SignalRows.h"
#include "data/SimulatorApp.h"
#include "report/ChartSvg.h"
#include "report/HtmlText.h"
#include "report/MonteCarloJson.h"
#include "report/ResultsJson.h"
#include "report/StatisticsJson.h"
#include "settings/SettingsTable.h"
#include "sim/CapitalUseText.h"
#include "sim/ResultFigureTable.h"
#include "sim/Backtest.h"
#include "sim/TradeColumns.h"
#include "stats/FigureSet.h"
#include "stats/Rankings.h"
#include "stats/TallyFigures.h"
#include "stats/TotalsText.h"
#include "text/ColourScale.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"
#include "text/Sha256.h"
#include "text/Version.h"

#include <array>
#include <cmath>
#include <ctime>
#include <optional>

namespace kv {

namespace {

const char* const kNoValue = "----";

// The page's look, for the screen and for A4 paper: tables are not cut inside a row, their
// headings repeat on every page, and the chart stays whole on one page.
const char* const kStyle = R"(
:root{--gain:#1a7f45;--loss:#c0392b;--line:#d0d4da;--soft:#f4f6f8;--ink:#1d232b}
*{box-sizing:border-box}
body{margin:0 auto;max-width:1100px;padding:24px;font:14px/1.5 "Noto Sans CJK JP","Hiragino Sans","Yu Gothic",Meiryo,sans-serif;color:var(--ink)}
h1{font-size:24px;margin:0 0 4px}
h2{font-size:18px;border-bottom:2px solid var(--ink);padding-bottom:2px;margin:28px 0 10px}
h3{font-size:15px;margin:16px 0 6px}
.sub{color:#555;margin:0 0 8px}
dl.ids{display:grid;grid-template-columns:max-content 1fr;gap:2px 12px;margin:0;font-size:12px}
dl.ids dt{color:#555}dl.ids dd{margin:0;font-family:monospace;word-break:break-all}
table{border-collapse:collapse;font-size:13px}
th,td{border:1px solid var(--line);padding:3px 8px}
thead th{background:var(--soft);white-space:nowrap}
td.n,th.n{text-align:right;font-variant-numeric:tabular-nums}
tbody th{text-align:left;font-weight:normal;background:var(--soft)}
.pos{color:var(--gain)}.neg{color:var(--loss)}
.cards{display:grid;grid-template-columns:repeat(auto-fit,minmax(136px,1fr));gap:10px;margin-bottom:14px}
.card{border:1px solid var(--line);border-radius:6px;padding:8px;background:var(--soft)}
.card .label{font-size:11px;color:#555;white-space:nowrap}.card .value{font-size:20px;font-weight:bold;white-space:nowrap}
dl.pairs{display:grid;grid-template-columns:repeat(auto-fill,minmax(320px,1fr));gap:0 24px;margin:0}
dl.pairs div{display:flex;justify-content:space-between;gap:12px;border-bottom:1px solid var(--line);padding:3px 2px}
dl.pairs dt{color:#555;white-space:nowrap}dl.pairs dd{margin:0;text-align:right;font-variant-numeric:tabular-nums}
.columns{display:flex;flex-wrap:wrap;gap:24px;align-items:flex-start}
svg.chart{width:100%;height:auto;display:block}
svg.chart .grid line{stroke:#e3e6ea;stroke-width:1}
svg.chart text{font-size:12px;fill:#555}
svg.chart text.y{text-anchor:end;dominant-baseline:middle}
svg.chart text.x{text-anchor:middle}
svg.chart text.panel{font-size:13px;fill:var(--ink)}
svg.chart path.assets{fill:none;stroke:#1f5fa8;stroke-width:1.6;stroke-linejoin:round}
svg.chart path.drawdown{fill:rgba(192,57,43,.35);stroke:var(--loss);stroke-width:1}
svg.chart .points rect{fill:transparent}
svg.chart .points rect:hover{fill:rgba(31,95,168,.15)}
table.heatmap td{text-align:right;min-width:58px;font-variant-numeric:tabular-nums}
table.sortable thead th{cursor:pointer;user-select:none}
table.sortable thead th[aria-sort=ascending]::after{content:" ▲"}
table.sortable thead th[aria-sort=descending]::after{content:" ▼"}
.scroll{overflow-x:auto}
.note{color:#555;font-size:12px}
footer{margin-top:32px;color:#777;font-size:12px}
@page{size:A4;margin:12mm}
@media print{
 body{max-width:none;padding:0;font-size:11px}
 table{font-size:10px}th,td{padding:1px 4px}
 h2{break-after:avoid}
 tr,.card,dl.pairs div,#chart,table.heatmap{break-inside:avoid}
 dl.pairs{grid-template-columns:repeat(3,1fr)}
 thead{display:table-header-group}
 .scroll{overflow:visible}
 .hint{display:none}
 *{-webkit-print-color-adjust:exact;print-color-adjust:exact}
}
)";

// Sorts a table.sortable by the heading clicked: numbers as numbers, texts (dates, names) as
// texts; a second click reverses. Without script the table reads as it is, in sale order.
const char* const kScript = R"(
(function(){
function key(cell,text){var t=cell.textContent;if(text)return t;var v=parseFloat(t.replace(/[,¥%]/g,''));return isNaN(v)?-Infinity:v;}
document.querySelectorAll('table.sortable').forEach(function(table){
 var heads=table.tHead.rows[0].cells;
 Array.prototype.forEach.call(heads,function(th,col){
  th.tabIndex=0;
  var sort=function(){
   var down=th.getAttribute('aria-sort')==='ascending';
   var text=th.hasAttribute('data-text');
   var body=table.tBodies[0];
   var rows=Array.prototype.map.call(body.rows,function(r,i){return {r:r,i:i,k:key(r.cells[col],text)};});
   rows.sort(function(a,b){var c=text?a.k.localeCompare(b.k,'ja'):(a.k<b.k?-1:a.k>b.k?1:0);return (down?-c:c)||a.i-b.i;});
   Array.prototype.forEach.call(heads,function(h){h.removeAttribute('aria-sort');});
   th.setAttribute('aria-sort',down?'descending':'ascending');
   var f=document.createDocumentFragment();rows.forEach(function(x){f.appendChild(x.r);});body.appendChild(f);
  };
  th.addEventListener('click',sort);
  th.addEventListener('keydown',function(e){if(e.key==='Enter'||e.key===' '){e.preventDefault();sort();}});
 });
});
})();
)";

std::optional<double> finite(std::optional<double> value)
{
    return value && std::isfinite(*value) ? value : std::nullopt;
}

std::string yen(std::optional<double> amount)
{
    return finite(amount) ? escapeHtml(toDisplayUtf8(yenText(*amount))) : kNoValue;
}

std::string percent(std::optional<double> value)
{
    return finite(value) ? signedPercentText(*value) : kNoValue;
}

std::string count(int64_t n)
{
    return groupedText(static_cast<double>(n), 0);
}

std::string toneClass(FigureTone tone)
{
    return tone == FigureTone::Gain ? "n pos" : tone == FigureTone::Loss ? "n neg" : "n";
}

// The class of an amount coloured by its sign: gains green, losses red.
std::string tone(std::optional<double> value)
{
    return toneClass(signTone(value));
}

// A decimal as short as it reads exactly to four places: 2.5, 20, -3.
std::string shortDecimal(double value)
{
    std::string text = fixed(value, 4);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

// A setting as the options dialog shows it: its choice's text, yes or no, an amount in yen as
// the report writes every amount, or the number in the dialog's unit.
std::string settingText(const SimulationSettings& settings, const SettingDescription& s)
{
    const double value = settingValue(settings, s);
    if (std::string_view(s.unit) == "円")
        return yen(value);
    if (s.choices[0]) {
        const int32_t code = truncateToInt32(value);
        if (code >= 0 && code < static_cast<int32_t>(s.choices.size()) &&
            s.choices[static_cast<size_t>(code)])
            return escapeHtml(s.choices[static_cast<size_t>(code)]);
        return std::to_string(code);
    }
    switch (s.kind()) {
    case SettingKind::Flag:
        return value != 0 ? "はい" : "いいえ";
    case SettingKind::Whole:
        return groupedText(value, 0) + escapeHtml(s.unit);
    case SettingKind::Decimal:
        break;
    }
    const double shown = value * s.shownScale;
    return std::isfinite(shown) ? shortDecimal(shown) + escapeHtml(s.unit) : "----";
}

void appendTitle(std::string& html, const ReportSource& source, int32_t madeOn)
{
    const std::vector<DayPoint>& days = source.engine.results().days();
    const std::string name = htmlFromFileName(source.signalFile.filename().string());
    auto digest = [](const std::filesystem::path& file) {
        std::optional<std::string> hex = fileSha256Hex(file);
        return hex ? *hex : std::string("（読めません）");
    };
    html += "<header>\n<h1>" + name + "</h1>\n<p class=\"sub\">";
    if (!days.empty())
        html +=
            "期間 " + paddedDateText(days.front().date) + " 〜 " + paddedDateText(days.back().date) + "　";
    html += "作成日 " + paddedDateText(madeOn) + "　Kirvane " + std::string(kVersion) + "</p>\n";
    html += "<dl class=\"ids\">\n<dt>" + name + " の SHA-256</dt><dd id=\"signal-sha256\">" +
        digest(source.signalFile) + "</dd>\n<dt>index.txt の SHA-256</dt><dd id=\"index-sha256\">" +
        digest(source.stockMasterFile) + "</dd>\n</dl>\n</header>\n";
}

void appendSettings(std::string& html, const SimulationSettings& settings)
{
    html += "<section id=\"settings\">\n<h2>設定</h2>\n<dl class=\"pairs\">\n";
    for (const SettingDescription& s : settingsTable()) {
        html += "<div data-setting=\"" + std::string(s.name) + "\"><dt>" + escapeHtml(s.label) + "</dt><dd>" +
            settingText(settings, s) + "</dd></div>\n";
    }
    html += "</dl>\n</section>\n";
}

// The headline figures as cards, then every figure of the results as the results window lists them.
void appendFigures(std::string& html, const RunResults& results, const ResultFigures& f)
{
    const FigureInputs inputs{f, results.capital()};
    std::string cards;
    std::string list;
    for (const FigureDescription& figure : resultFigureTable()) {
        if (!(figure.places & InResults))
            continue;
        const std::optional<double> value = figure.value(inputs);
        const std::string text = escapeHtml(toDisplayUtf8(figureText(figure, value)));
        const std::string cls = toneClass(figureTone(figure, value));
        if (figure.places & InCards)
            cards += "<div class=\"card\" data-key=\"" + std::string(figure.key) +
                "\"><div class=\"label\">" + figure.label + "</div><div class=\"value " + cls + "\">" + text +
                "</div></div>\n";
        list += "<div data-key=\"" + std::string(figure.key) + "\"><dt>" + figure.label +
            "</dt><dd class=\"" + cls + "\">" + text + "</dd></div>\n";
    }
    std::string capitalUse;
    for (const std::string& sentence : capitalUseSentences(f))
        capitalUse += "<p class=\"capital-use\">" + htmlFromCp932(sentence) + "</p>\n";
    html += "<section id=\"figures\">\n<h2>成績</h2>\n<div class=\"cards\">\n" + cards + "</div>\n" +
        capitalUse + "<dl class=\"pairs\" id=\"figure-list\">\n" + list +
        "</dl>\n<p class=\"note\">保有中の銘柄は取得額で数えます（シグナルファイルに日々の"
        "株価はありません）。資産曲線とこれらの数値は売却でのみ動きます。</p>\n</section>\n";
}

std::string cellStyle(std::optional<double> value, double scale)
{
    const Rgb background = divergingColour(value ? *value : 0, scale);
    return "background:" + hexColour(background) + ";color:" + hexColour(textColourOn(background));
}

double largestAbsolute(const std::vector<PeriodResult>& periods)
{
    double largest = 0;
    for (const PeriodResult& p : periods) {
        if (finite(p.returnPercent))
            largest = std::max(largest, std::fabs(*p.returnPercent));
    }
    return largest;
}

std::string periodTitle(const PeriodResult& p)
{
    return "損益 " + yen(p.profit) + " 取引 " + count(p.trades) + " 勝ち " + count(p.wins);
}

void appendPeriods(std::string& html, const ResultFigures& f)
{
    const double monthScale = largestAbsolute(f.months);
    const double yearScale = largestAbsolute(f.years);
    html +=
        "<section id=\"months\">\n<h2>月別収益率</h2>\n<div class=\"scroll\">\n<table class=\"heatmap\">\n"
        "<thead><tr><th>年</th>";
    for (int month = 1; month <= 12; ++month)
        html += "<th>" + std::to_string(month) + "月</th>";
    html += "<th>年間</th></tr></thead>\n<tbody>\n";
    size_t m = 0;
    for (const PeriodResult& year : f.years) {
        html += "<tr><th>" + std::to_string(year.year) + "</th>";
        std::array<const PeriodResult*, 13> byMonth{};
        for (; m < f.months.size() && f.months[m].year == year.year; ++m) {
            const int32_t month = f.months[m].month;
            if (month >= 1 && month <= 12)
                byMonth[static_cast<size_t>(month)] = &f.months[m];
        }
        for (int month = 1; month <= 12; ++month) {
            const PeriodResult* p = byMonth[static_cast<size_t>(month)];
            if (!p) {
                html += "<td></td>";
                continue;
            }
            html += "<td class=\"m\" data-month=\"" + format("%04d-%02d", {p->year, p->month}) +
                "\" style=\"" + cellStyle(finite(p->returnPercent), monthScale) + "\" title=\"" +
                format("%04d/%02d ", {p->year, p->month}) + periodTitle(*p) + "\">" +
                percent(p->returnPercent) + "</td>";
        }
        html += "<td class=\"y\" style=\"" + cellStyle(finite(year.returnPercent), yearScale) +
            "\" title=\"" + std::to_string(year.year) + "年 " + periodTitle(year) + "\">" +
            percent(year.returnPercent) + "</td></tr>\n";
    }
    html += "</tbody>\n</table>\n</div>\n<h3>年別</h3>\n<table id=\"years\">\n<thead><tr><th>年</th>"
            "<th class=\"n\">年末資産</th><th class=\"n\">損益</th><th class=\"n\">収益率</th>"
            "<th class=\"n\">取引</th><th class=\"n\">勝ち</th></tr></thead>\n<tbody>\n";
    for (const PeriodResult& p : f.years) {
        html += "<tr><th>" + std::to_string(p.year) + "</th><td class=\"n\">" + yen(p.assets) +
            "</td><td class=\"" + tone(p.profit) + "\">" + yen(p.profit) + "</td><td class=\"" +
            tone(p.returnPercent) + "\">" + percent(p.returnPercent) + "</td><td class=\"n\">" +
            count(p.trades) + "</td><td class=\"n\">" + count(p.wins) + "</td></tr>\n";
    }
    html += "</tbody>\n</table>\n</section>\n";
}

// The Monte Carlo of the trade order: the percentiles of the paths' final assets and drawdowns,
// the shares of paths that lost, fell far or were ruined, the run's own drawdown among them, and
// what the figures cannot tell.
void appendMonteCarlo(std::string& html, const MonteCarloResult& mc)
{
    auto plain = [&](double value) { return mc.computed ? fixed(value, 2) + "%" : std::string(kNoValue); };
    html += "<section id=\"monte-carlo\">\n<h2>モンテカルロ（取引の順序）</h2>\n<p class=\"sub\">" +
        count(mc.settings.paths) + " 経路、" +
        (mc.settings.order == MonteCarloOrder::Permute ? "全取引の並べ替え (permute)"
                                                       : "復元抽出 (bootstrap)") +
        "、シード " + std::to_string(mc.settings.seed) + "、取引 " + count(mc.trades) +
        " 回</p>\n<table id=\"monte-carlo-percentiles\">\n<thead><tr><th></th>";
    for (int q : kMonteCarloPercentiles)
        html += "<th class=\"n\">" + std::to_string(q) + "%点</th>";
    html += "</tr></thead>\n<tbody>\n<tr><th>最終資産</th>";
    for (double v : mc.finalAssets)
        html += "<td class=\"n\">" + (mc.computed ? yen(v) : std::string(kNoValue)) + "</td>";
    html += "</tr>\n<tr><th>最大ドローダウン率</th>";
    for (double v : mc.maxDrawdownPercent)
        html += "<td class=\"n\">" + plain(v) + "</td>";
    html += "</tr>\n</tbody>\n</table>\n<dl class=\"pairs\" id=\"monte-carlo-shares\">\n";
    auto pair = [&](const std::string& key, const std::string& label, double value) {
        html += "<div data-key=\"" + key + "\"><dt>" + label + "</dt><dd>" + plain(value) + "</dd></div>\n";
    };
    pair("lossProbabilityPercent", "元本を下回って終わる経路", mc.lossProbabilityPercent);
    for (size_t l = 0; l < kMonteCarloDrawdownLevels.size(); ++l)
        pair("drawdownAtLeastPercent" + std::to_string(kMonteCarloDrawdownLevels[l]),
             "ドローダウンが " + std::to_string(kMonteCarloDrawdownLevels[l]) + "% に達する経路",
             mc.drawdownAtLeastPercent[l]);
    pair("ruinProbabilityPercent", "破産する経路", mc.ruinProbabilityPercent);
    pair("actualMaxDrawdownPercent", "実際の最大ドローダウン率（取引ごと）", mc.actualMaxDrawdownPercent);
    pair("pathsWithSmallerDrawdownPercent", "実際よりドローダウンが小さい経路",
         mc.pathsWithSmallerDrawdownPercent);
    html += "</dl>\n<p class=\"note\">各取引の損益を直前の総資産に対する収益率に直し、順序を変えて元本から"
            "複利で積み直した経路です。ドローダウンは取引ごとの総資産で測るため、日ごとの成績の値とは"
            "異なります。取引は互いに独立ではなく（同じ日の売買、相場の流れ）、シグナルは固定のままなので、"
            "分布は起こりうる幅の目安であって予測ではありません。</p>\n</section>\n";
}

// A trade's cell in the report's trade table: numbers right-aligned, a toned column coloured by
// the exact value.
void appendTradeCell(std::string& html, const TradeColumn& column, const Trade& t, const SignalRows& rows)
{
    if (column.kind == TradeColumnKind::Name) {
        html += "<td>" + htmlFromCp932(tradeName(t, rows)) + "</td>";
        return;
    }
    const std::optional<double> value = column.value(t);
    if (isTextColumn(column.kind))
        html += "<td>";
    else
        html += "<td class=\"" + (column.toned ? tone(value) : std::string("n")) + "\">";
    if (value) {
        switch (column.kind) {
        case TradeColumnKind::Code:
        case TradeColumnKind::Days:
            html += std::to_string(static_cast<int64_t>(*value));
            break;
        case TradeColumnKind::Date:
            html += paddedDateText(static_cast<int32_t>(*value));
            break;
        case TradeColumnKind::Shares:
        case TradeColumnKind::Yen:
            html += groupedText(*value, tradeAmountDecimals);
            break;
        case TradeColumnKind::Rate:
            html += groupedText(*value, tradeRateDecimals) + "%";
            break;
        case TradeColumnKind::Ending:
            html += htmlFromCp932(tradeEndingText(*value));
            break;
        case TradeColumnKind::Name:
            break;
        }
    }
    html += "</td>";
}

// The trade list with the CSV's columns and rounding, the numbers grouped.
void appendTrades(std::string& html, const RunResults& results, int64_t sales, const SignalRows& rows)
{
    const std::vector<Trade>& trades = results.tradeList();
    html += "<section id=\"trades\">\n<h2>取引一覧</h2>\n";
    // A run that did not keep its list (the window's, say) still has its sales counted.
    if (trades.empty() && sales > 0) {
        html += "<p class=\"note\">この実行は取引の一覧を記録していません。</p>\n</section>\n";
        return;
    }
    html += "<p class=\"note\">" + count(static_cast<int64_t>(trades.size())) +
        " 件。見出しをクリックすると並べ替えます。</p>\n<div class=\"scroll\">\n"
        "<table class=\"sortable\" id=\"trade-list\">\n<thead><tr>";
    // Texts (the name, the dates) sort as texts; every other column as numbers.
    const std::span<const TradeColumn> columns = tradeColumns();
    for (const TradeColumn& column : columns)
        html += std::string("<th") + (isTextColumn(column.kind) ? " data-text" : " class=\"n\"") + ">" +
            column.heading + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (const Trade& t : trades) {
        html += "<tr>";
        for (const TradeColumn& column : columns)
            appendTradeCell(html, column, t, rows);
        html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n</div>\n</section>\n";
}

const char* rankingCaption(RankingKind kind)
{
    switch (kind) {
    case RankingKind::ProfitRateTop:
        return "利益率上位２０銘柄";
    case RankingKind::ProfitRateBottom:
        return "利益率下位２０銘柄";
    case RankingKind::SuccessRateTop:
        return "成功率上位２０銘柄";
    case RankingKind::FailureRateTop:
        return "失敗率上位２０銘柄";
    case RankingKind::SignalCountTop:
        break;
    }
    return "シグナル数上位２０銘柄";
}

// A ranking's value as the JSON gives it: the rates in per cent, the signal count whole.
std::string rankingValue(RankingKind kind, double value)
{
    switch (kind) {
    case RankingKind::ProfitRateTop:
    case RankingKind::ProfitRateBottom:
        return signedPercentText(value * 100);
    case RankingKind::SuccessRateTop:
    case RankingKind::FailureRateTop:
        return signedPercentText(value);
    case RankingKind::SignalCountTop:
        break;
    }
    return count(static_cast<int64_t>(value));
}

void appendStatistics(std::string& html, const SimulatorApp& app)
{
    const double u = app.settings.unknownProfitRate;
    const TotalsText t =
        totalsText(figureSetOf(app.tallies.overallTally, u), perDayAverageProfit(app.tallies.dateTally, u));
    struct Total {
        const char* label;
        TotalsField field;
    };
    static const Total totals[] = {
        {"成功時", TotalsField::SuccessShare},        {"　シグナル数", TotalsField::Successes},
        {"　平均利益", TotalsField::SuccessAverage},  {"　うち損失数", TotalsField::SuccessLosses},
        {"失敗時", TotalsField::FailureShare},        {"　シグナル数", TotalsField::Failures},
        {"　平均利益", TotalsField::FailureAverage},  {"　うち利益数", TotalsField::FailureProfits},
        {"不明", TotalsField::UnknownShare},          {"　シグナル数", TotalsField::Unknowns},
        {"総シグナル数", TotalsField::Signals},       {"単純平均利益", TotalsField::SimpleAverage},
        {"日別平均利益", TotalsField::PerDayAverage},
    };
    html += "<section id=\"statistics\">\n<h2>シグナル統計</h2>\n<h3>単純集計</h3>\n<table "
            "id=\"totals\">\n<tbody>\n";
    for (const Total& total : totals)
        html += std::string("<tr><th>") + total.label + "</th><td class=\"n\">" +
            htmlFromCp932(t[total.field]) + "</td></tr>\n";
    html += "</tbody>\n</table>\n<p class=\"note\">不明時の利益は設定の「不明時の利益率」に従います。</p>\n"
            "<div class=\"columns\">\n";
    for (const StockRanking& ranking : buildRankings(app.tallies.stockTally, u, RankingFilter{})) {
        html += std::string("<div>\n<h3>") + rankingCaption(ranking.kind()) +
            "</h3>\n<table class=\"ranking\">\n<thead><tr><th class=\"n\">順位</th><th "
            "class=\"n\">コード</th>"
            "<th>銘柄名</th><th class=\"n\">値</th></tr></thead>\n<tbody>\n";
        for (const RankedStock& s : rankedStocks(ranking)) {
            html += "<tr><td class=\"n\">" + std::to_string(s.position) + "</td><td class=\"n\">" +
                format("%04d", {s.code}) + "</td><td>" +
                htmlFromCp932(app.master.stockName[static_cast<size_t>(s.code)]) + "</td><td class=\"n\">" +
                rankingValue(ranking.kind(), s.value) + "</td></tr>\n";
        }
        html += "</tbody>\n</table>\n</div>\n";
    }
    html += "</div>\n</section>\n";
}

int32_t today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

}  // namespace

std::string htmlReport(const ReportSource& source, int32_t madeOn)
{
    const RunResults& results = source.engine.results();
    const ResultFigures f = results.figures();
    std::string html;
    html.reserve(results.days().size() * 300 + results.tradeList().size() * 400 + 65536);
    html += "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<meta name=\"generator\" content=\"Kirvane " +
        std::string(kVersion) + "\">\n<title>" + htmlFromFileName(source.signalFile.filename().string()) +
        " — Kirvane レポート</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    appendTitle(html, source, madeOn);
    appendSettings(html, source.engine.settings());
    appendFigures(html, results, f);
    html += "<section id=\"chart\">\n<h2>総資産とドローダウン</h2>\n" + assetChartSvg(results.days(), f) +
        "<p class=\"note "
        "hint\">点にマウスを重ねると、その日の日付、総資産、ドローダウン率を表示します。</p>\n"
        "</section>\n";
    appendPeriods(html, f);
    if (source.monteCarlo)
        appendMonteCarlo(html, *source.monteCarlo);
    appendTrades(html, results, f.trades, source.engine.signalRows());
    appendStatistics(html, source.app);

    // Every figure of --json's two objects but the statistics of each single stock: those take
    // a megabyte for a file of 10,000 stocks, and the page shows none of them.
    nlohmann::ordered_json data;
    data["statistics"] = statisticsJson(source.app);
    data["statistics"].erase("stocks");
    data["results"] = resultsJson(results);
    if (source.monteCarlo)
        data["monteCarlo"] = monteCarloJson(*source.monteCarlo);
    html += "<script type=\"application/json\" id=\"kirvane-data\">" + scriptSafeJson(data.dump()) +
        "</script>\n<script>" + kScript + "</script>\n<footer>Kirvane " + std::string(kVersion) +
        "</footer>\n</body>\n</html>\n";
    return html;
}

bool writeHtmlReport(const ReportSource& source, const std::filesystem::path& file)
{
    return writeWholeFile(file, htmlReport(source, today())) == WriteResult::Written;
}

}  // namespace kv
