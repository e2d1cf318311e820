// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/ResultFigureTable.h"

#include "text/Format.h"
#include "text/Numbers.h"

#include <cmath>

namespace kv {

namespace {

using F = ResultFigures;
using K = FigureKind;
using C = FigureColour;
using B = FigureBetter;

template <std::optional<double> F::*field>
std::optional<double> optional(const FigureInputs& in)
{
    return in.figures.*field;
}

template <double F::*field>
std::optional<double> number(const FigureInputs& in)
{
    return in.figures.*field;
}

template <int64_t F::*field>
std::optional<double> count(const FigureInputs& in)
{
    return static_cast<double>(in.figures.*field);
}

template <std::optional<int32_t> F::*field>
std::optional<double> date(const FigureInputs& in)
{
    const std::optional<int32_t>& d = in.figures.*field;
    return d ? std::optional<double>(*d) : std::nullopt;
}

std::optional<double> capital(const FigureInputs& in)
{
    return in.capital;
}

std::optional<double> purchases(const FigureInputs& in)
{
    return static_cast<double>(in.purchases);
}

std::optional<double> sales(const FigureInputs& in)
{
    return static_cast<double>(in.sales);
}

constexpr unsigned Listed = InResults | InJson;

// clang-format off
const FigureDescription kFigures[] = {
    // key                     label                        kind            colour          better      fall   places                 read
    {"capital",               "資本金",                    K::Yen,          C::None,        B::None,    false, InResults,             capital},
    {"finalAssets",           "最終資産",                  K::Yen,          C::None,        B::Larger,  false, Listed | InCards,      optional<&F::finalAssets>},
    {"totalReturnPercent",    "総収益率",                  K::Percent,      C::Gain,        B::Larger,  false, Listed | InCards,      optional<&F::totalReturnPercent>},
    {"cagrPercent",           "年率収益率 (CAGR)",         K::Percent,      C::Gain,        B::Larger,  false, Listed | InCards,      optional<&F::cagrPercent>},
    {"maxDrawdown",           "最大ドローダウン",          K::Yen,          C::None,        B::Smaller, true,  Listed,                optional<&F::maxDrawdown>},
    {"maxDrawdownPercent",    "最大ドローダウン率",        K::Percent,      C::None,        B::Smaller, true,  Listed | InCards,      optional<&F::maxDrawdownPercent>},
    {"maxDrawdownPeakDate",   "最大DDの起点日",            K::Date,         C::None,        B::None,    false, Listed,                date<&F::maxDrawdownPeakDate>},
    {"maxDrawdownDate",       "最大DDの日付",              K::Date,         C::None,        B::None,    false, Listed,                date<&F::maxDrawdownDate>},
    {"trades",                "取引数",                    K::Count,        C::None,        B::Larger,  false, Listed,                count<&F::trades>},
    {"wins",                  "勝ち",                      K::Count,        C::None,        B::Larger,  false, Listed,                count<&F::wins>},
    {"losses",                "負け",                      K::Count,        C::None,        B::Smaller, false, Listed,                count<&F::losses>},
    {"winRatePercent",        "勝率",                      K::Percent,      C::None,        B::Larger,  false, Listed | InCards,      optional<&F::winRatePercent>},
    {"grossProfit",           "総利益",                    K::Yen,          C::Gain,        B::Larger,  false, Listed,                number<&F::grossProfit>},
    {"grossLoss",             "総損失",                    K::Yen,          C::LossAbove0,  B::Smaller, false, Listed,                number<&F::grossLoss>},
    {"profitFactor",          "プロフィットファクター",    K::Ratio,        C::None,        B::Larger,  false, Listed | InCards,      optional<&F::profitFactor>},
    {"averageWin",            "平均利益",                  K::Yen,          C::None,        B::Larger,  false, Listed,                optional<&F::averageWin>},
    {"averageLoss",           "平均損失",                  K::Yen,          C::None,        B::Smaller, false, Listed,                optional<&F::averageLoss>},
    {"expectancy",            "期待値 (1取引)",            K::Yen,          C::Gain,        B::Larger,  false, Listed,                optional<&F::expectancy>},
    {"largestWin",            "最大利益",                  K::Yen,          C::None,        B::Larger,  false, Listed,                optional<&F::largestWin>},
    {"largestLoss",           "最大損失",                  K::Yen,          C::None,        B::Smaller, false, Listed,                optional<&F::largestLoss>},
    {"maxConsecutiveLosses",  "最大連敗数",                K::Count,        C::None,        B::Smaller, false, Listed,                count<&F::maxConsecutiveLosses>},
    {"totalCommission",       "手数料合計",                K::Yen,          C::None,        B::Smaller, false, Listed,                number<&F::totalCommission>},
    {"totalTax",              "税金合計",                  K::Yen,          C::None,        B::Smaller, false, Listed,                number<&F::totalTax>},
    {"sharpeRatio",           "シャープレシオ",            K::Ratio,        C::None,        B::Larger,  false, Listed | InCards,      optional<&F::sharpeRatio>},
    {"sortinoRatio",          "ソルティノレシオ",          K::Ratio,        C::None,        B::Larger,  false, Listed,                optional<&F::sortinoRatio>},
    {"calmarRatio",           "カルマーレシオ",            K::Ratio,        C::None,        B::Larger,  false, Listed,                optional<&F::calmarRatio>},
    {"recoveryFactor",        "リカバリーファクター",      K::Ratio,        C::None,        B::Larger,  false, Listed,                optional<&F::recoveryFactor>},
    {"longestDrawdownDays",   "最長ドローダウン (営業日)", K::BusinessDays, C::None,        B::Smaller, false, Listed,                count<&F::longestDrawdownDays>},
    {"longestDrawdownStart",  "最長DDの開始日",            K::Date,         C::None,        B::None,    false, Listed,                date<&F::longestDrawdownStart>},
    {"longestDrawdownEnd",    "最長DDの終了日",            K::Date,         C::None,        B::None,    false, Listed,                date<&F::longestDrawdownEnd>},
    {"exposurePercent",       "エクスポージャー",          K::Percent,      C::None,        B::None,    false, Listed,                optional<&F::exposurePercent>},
    {"averageHoldingDays",    "平均保有日数",              K::Ratio,        C::None,        B::None,    false, Listed,                optional<&F::averageHoldingDays>},
    {"payoffRatio",           "ペイオフレシオ",            K::Ratio,        C::None,        B::Larger,  false, Listed,                optional<&F::payoffRatio>},
    // What the run did with its capital.
    {"endOfRunTrades",        "期末決済の取引数",          K::Count,        C::None,        B::None,    false, Listed,                count<&F::endOfRunTrades>},
    {"undecidedTrades",       "判定不可から買った取引数",  K::Count,        C::None,        B::None,    false, Listed,                count<&F::undecidedTrades>},
    {"undecidedCost",         "判定不可の取得額",          K::Yen,          C::None,        B::None,    false, Listed,                number<&F::undecidedCost>},
    {"undecidedExposurePercent", "判定不可が占めた買付余力", K::Percent,    C::None,        B::Smaller, false, Listed,                number<&F::undecidedExposurePercent>},
    {"marginCallDays",        "追証の可能性があった日数",  K::Count,        C::None,        B::Smaller, false, Listed,                count<&F::marginCallDays>},
    {"firstMarginCallDate",   "追証の可能性の初日",        K::Date,         C::None,        B::None,    false, Listed,                date<&F::firstMarginCallDate>},
    // The run's counters: columns of the sweep, not of the results.
    {"purchases",             "購入数",                    K::Count,        C::None,        B::Larger,  false, 0,                     purchases},
    {"sales",                 "売却数",                    K::Count,        C::None,        B::Larger,  false, 0,                     sales},
};
// clang-format on

bool finite(std::optional<double> value)
{
    return value && std::isfinite(*value);
}

}  // namespace

std::span<const FigureDescription> resultFigureTable()
{
    return kFigures;
}

const FigureDescription* figureByKey(std::string_view key)
{
    for (const FigureDescription& f : kFigures)
        if (key == f.key)
            return &f;
    return nullptr;
}

std::string figureText(const FigureDescription& figure, std::optional<double> value)
{
    if (!finite(value))
        return "----";
    const double v = figure.shownAsFall ? -*value : *value;
    switch (figure.kind) {
    case FigureKind::Yen:
        return yenText(v);
    case FigureKind::Percent:
        return signedPercentText(v);
    case FigureKind::Ratio:
        return groupedText(v, 2);
    case FigureKind::Count:
    case FigureKind::BusinessDays:
        return groupedText(v, 0);
    case FigureKind::Date:
        break;
    }
    return paddedDateText(static_cast<int32_t>(v));
}

FigureTone signTone(std::optional<double> value)
{
    if (!finite(value) || *value == 0)
        return FigureTone::Plain;
    return *value > 0 ? FigureTone::Gain : FigureTone::Loss;
}

FigureTone figureTone(const FigureDescription& figure, std::optional<double> value)
{
    switch (figure.colour) {
    case FigureColour::Gain:
        return signTone(value);
    case FigureColour::LossAbove0:
        return signTone(value ? std::optional<double>(-*value) : std::nullopt);
    case FigureColour::None:
        break;
    }
    return FigureTone::Plain;
}

}  // namespace kv
