// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PrintDialog.h"

#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "resources/Templates.h"
#include "stats/FigureSet.h"
#include "stats/PeriodStats.h"
#include "stats/StockFigures.h"
#include "stats/TallyFigures.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "toolkit/DialogView.h"
#include "toolkit/Platform.h"

#include <optional>

namespace kv {

namespace {

// The fields of each block, in the order of TotalsField.
constexpr std::array<int, kTotalsFieldCount> kOverallIds = {
    IDC_ALL_SUCCESS_SHARE,   IDC_ALL_SUCCESSES, IDC_ALL_SUCCESS_AVERAGE, IDC_ALL_SUCCESS_LOSSES,
    IDC_ALL_FAILURE_SHARE,   IDC_ALL_FAILURES,  IDC_ALL_FAILURE_AVERAGE, IDC_ALL_FAILURE_PROFITS,
    IDC_ALL_UNKNOWN_SHARE,   IDC_ALL_UNKNOWNS,  IDC_ALL_SIGNALS,         IDC_ALL_SIMPLE_AVERAGE,
    IDC_ALL_PER_DAY_AVERAGE,
};
// A stock has no per-day average: its block ends with the simple average.
constexpr std::array<int, kTotalsFieldCount - 1> kStockIds = {
    IDC_STOCK_SUCCESS_SHARE, IDC_STOCK_SUCCESSES, IDC_STOCK_SUCCESS_AVERAGE, IDC_STOCK_SUCCESS_LOSSES,
    IDC_STOCK_FAILURE_SHARE, IDC_STOCK_FAILURES,  IDC_STOCK_FAILURE_AVERAGE, IDC_STOCK_FAILURE_PROFITS,
    IDC_STOCK_UNKNOWN_SHARE, IDC_STOCK_UNKNOWNS,  IDC_STOCK_SIGNALS,         IDC_STOCK_SIMPLE_AVERAGE,
};
constexpr std::array<int, kTotalsFieldCount> kPeriodIds = {
    IDC_PERIOD_SUCCESS_SHARE,   IDC_PERIOD_SUCCESSES, IDC_PERIOD_SUCCESS_AVERAGE, IDC_PERIOD_SUCCESS_LOSSES,
    IDC_PERIOD_FAILURE_SHARE,   IDC_PERIOD_FAILURES,  IDC_PERIOD_FAILURE_AVERAGE, IDC_PERIOD_FAILURE_PROFITS,
    IDC_PERIOD_UNKNOWN_SHARE,   IDC_PERIOD_UNKNOWNS,  IDC_PERIOD_SIGNALS,         IDC_PERIOD_SIMPLE_AVERAGE,
    IDC_PERIOD_PER_DAY_AVERAGE,
};
// The ranking lists, in the order of RankingKind.
constexpr std::array<int, kRankingKindCount> kRankingIds = {
    IDC_RANK_PROFIT_TOP,   IDC_RANK_PROFIT_BOTTOM, IDC_RANK_SUCCESS_RATE,
    IDC_RANK_FAILURE_RATE, IDC_RANK_SIGNAL_COUNT,
};

// The items of the method list, by position.
enum Method { kNoMethod = 0, kYearly = 1, kMonthly = 2, kDaily = 3 };

const std::string kNoYearChosen = toCp932("年が選択されていません。");
const std::string kNoSuchStock = toCp932("対象銘柄なし");
const std::string kSelectStock = toCp932("銘柄選択");
const std::string kYearHeading = toCp932("年");
const std::string kMonthHeading = toCp932("月");
const std::string kDayHeading = toCp932("日");
const std::string kMethods[] = {toCp932("集計方法"), toCp932("年間集計"), toCp932("月間集計"),
                                toCp932("日間集計")};
const std::string kYearItem = toCp932("%4d年");
const std::string kMonthItem = toCp932("%2d月");
const std::string kDayItem = toCp932("%2d日");

// The stock block before any total: the six counts show 0, the rest nothing.
TotalsText noStockYet()
{
    TotalsText t;
    for (TotalsField count : {TotalsField::Successes, TotalsField::SuccessLosses, TotalsField::Failures,
                              TotalsField::FailureProfits, TotalsField::Unknowns, TotalsField::Signals})
        t[count].assign(1, '0');
    return t;
}

// The value an item of a list stands for; nothing for the heading or no selection.
std::optional<int32_t> chosenValue(const ComboBox& list, const std::vector<int32_t>& values)
{
    int item = list.selection();
    if (item < 1 || static_cast<size_t>(item) > values.size())
        return std::nullopt;
    return values[static_cast<size_t>(item) - 1];
}

void resetToHeading(ComboBox& list, const std::string& heading)
{
    list.clear();
    list.append(heading);
}

}  // namespace

PrintDialog::PrintDialog(const SimulatorApp& app, Platform& platform)
    : Dialog(platform), app(app), unknownProfitRate(app.settings.unknownProfitRate)
{}

const DialogTemplate& PrintDialog::dialogTemplate() const
{
    return printDialogTemplate();
}

void PrintDialog::exchange(DataExchange& dx)
{
    for (size_t i = 0; i < kOverallIds.size(); ++i)
        dx.text(kOverallIds[i], overallText.fields[i]);

    dx.text(IDC_STOCK_CODE, codeText);
    dx.text(IDC_STOCK_NAME, stockNameText);
    for (size_t i = 0; i < kStockIds.size(); ++i)
        dx.text(kStockIds[i], stockText.fields[i]);
    for (size_t k = 0; k < kRankingIds.size(); ++k)
        dx.list(kRankingIds[k], rankingLists[k]);
    dx.check(IDC_HIDE_ONE_SIGNAL, hideOneSignal);
    dx.check(IDC_HIDE_TWO_SIGNALS, hideTwoSignals);

    dx.list(IDC_YEAR_LIST, yearList);
    dx.list(IDC_MONTH_LIST, monthList);
    dx.list(IDC_DAY_LIST, dayList);
    dx.list(IDC_METHOD_LIST, methodList);
    for (size_t i = 0; i < kPeriodIds.size(); ++i)
        dx.text(kPeriodIds[i], periodText.fields[i]);
}

void PrintDialog::onInitDialog()
{
    unknownProfitRate = app.settings.unknownProfitRate;
    overallText = totalsText(figureSetOf(app.tallies.overallTally, unknownProfitRate),
                             perDayAverageProfit(app.tallies.dateTally, unknownProfitRate));
    stockText = noStockYet();
    hideOneSignal = true;
    hideTwoSignals = false;
    rebuildRankings();
    fillPeriodLists();
    updateData(false);
}

void PrintDialog::onCommand(int id, Notification notification)
{
    switch (id) {
    case IDC_STOCK_TOTAL:
        showStockTotal();
        return;
    case IDC_HIDE_ONE_SIGNAL:
    case IDC_HIDE_TWO_SIGNALS:
        updateData(true);
        rebuildRankings();
        updateData(false);
        return;
    default:
        break;
    }
    if (notification != Notification::SelectionChanged) {
        Dialog::onCommand(id, notification);
        return;
    }
    for (size_t k = 0; k < kRankingIds.size(); ++k) {
        if (id == kRankingIds[k]) {
            chooseRankedStock(k);
            return;
        }
    }
    if (id != IDC_YEAR_LIST && id != IDC_MONTH_LIST && id != IDC_DAY_LIST && id != IDC_METHOD_LIST)
        return;

    // A period list changed: a typed stock code stays as it is typed.
    updateData(true);
    bool yearlyWithoutYear = false;
    {
        WaitCursor wait = platform().waitCursor();
        if (id == IDC_YEAR_LIST)
            rebuildMonthList();
        if (id == IDC_YEAR_LIST || id == IDC_MONTH_LIST)
            rebuildDayList();
        yearlyWithoutYear =
            id == IDC_METHOD_LIST && methodList.selection() == kYearly && yearList.selection() <= 0;
    }
    // The message box comes after the wait cursor is gone, so it does not look busy.
    if (yearlyWithoutYear) {
        platform().messageBox(kNoYearChosen);
        methodList.setSelection(kNoMethod);
    }
    showPeriodTotals();
    updateData(false);
}

// 集計: the figures of the typed code when it names a stock (1 to 9999); anything else changes
// nothing.
void PrintDialog::showStockTotal()
{
    updateData(true);
    if (std::optional<int32_t> code = stockCodeOfText(codeText)) {
        const std::string& name = app.master.stockName[static_cast<size_t>(*code)];
        stockNameText = name.empty() ? kNoSuchStock : name;
        stockText = stockFiguresText(
            figureSetOf(app.tallies.stockTally[static_cast<size_t>(*code)], unknownProfitRate));
    }
    updateData(false);
}

// A ranking row puts its stock's code into the code field and totals it; the first item
// (銘柄選択) does nothing.
void PrintDialog::chooseRankedStock(size_t ranking)
{
    std::optional<int32_t> code = chosenValue(rankingLists[ranking], rankingCodes[ranking]);
    if (!code)
        return;
    codeText = format("%d", {*code});
    if (DialogView* v = view())
        v->setText(IDC_STOCK_CODE, codeText);
    showStockTotal();
}

// The five lists again with the hide flags as they are; every list shows its first item.
void PrintDialog::rebuildRankings()
{
    StockRankings rankings =
        buildRankings(app.tallies.stockTally, unknownProfitRate, {hideOneSignal, hideTwoSignals});
    for (size_t k = 0; k < kRankingKindCount; ++k) {
        ComboBox& list = rankingLists[k];
        resetToHeading(list, kSelectStock);
        rankingCodes[k].clear();
        for (const RankedStock& stock : rankedStocks(rankings[k])) {
            list.append(rankingRow(stock, app.master.stockName[static_cast<size_t>(stock.code)]));
            rankingCodes[k].push_back(stock.code);
        }
        list.setSelection(0);
    }
}

void PrintDialog::fillPeriodLists()
{
    resetToHeading(yearList, kYearHeading);
    resetToHeading(monthList, kMonthHeading);
    resetToHeading(dayList, kDayHeading);
    methodList.clear();
    for (const std::string& method : kMethods)
        methodList.append(method);
    years = yearItems(app.tallies.slotDate);
    months.clear();
    days.clear();
    {
        ListBox::AppendBatch batch(yearList);  // an unsorted file can list a year many times
        for (int32_t year : years)
            yearList.append(format(kYearItem, {year}));
    }
    for (ComboBox* list : {&yearList, &monthList, &dayList, &methodList})
        list->setSelection(0);
}

// The months of the chosen year; the selection keeps its position, or falls back to the heading.
void PrintDialog::rebuildMonthList()
{
    int kept = monthList.selection();
    resetToHeading(monthList, kMonthHeading);
    months.clear();
    if (std::optional<int32_t> year = chosenValue(yearList, years)) {
        months = monthItems(app.tallies.slotDate, *year);
        ListBox::AppendBatch batch(monthList);
        for (int32_t month : months)
            monthList.append(format(kMonthItem, {month}));
    }
    monthList.setSelection(monthList.contains(kept) ? kept : 0);
}

// The days of the chosen year and month, keeping the selection's position as the months do.
void PrintDialog::rebuildDayList()
{
    int kept = dayList.selection();
    resetToHeading(dayList, kDayHeading);
    days.clear();
    std::optional<int32_t> year = chosenValue(yearList, years);
    std::optional<int32_t> month = chosenValue(monthList, months);
    if (year && month) {
        days = dayItems(app.tallies.slotDate, *year, *month);
        ListBox::AppendBatch batch(dayList);
        for (int32_t day : days)
            dayList.append(format(kDayItem, {day}));
    }
    dayList.setSelection(dayList.contains(kept) ? kept : 0);
}

// The totals of the period the method and the lists choose; empty while the method needs a
// year, month or day that is not chosen, or no method is.
void PrintDialog::showPeriodTotals()
{
    periodText = TotalsText{};
    std::optional<int32_t> year = chosenValue(yearList, years);
    std::optional<int32_t> month = chosenValue(monthList, months);
    std::optional<int32_t> day = chosenValue(dayList, days);
    std::optional<Period> period;
    switch (methodList.selection()) {
    case kYearly:
        if (year)
            period = Period{PeriodLevel::Year, *year};
        break;
    case kMonthly:
        if (year && month)
            period = Period{PeriodLevel::Month, *year, *month};
        break;
    case kDaily:
        if (year && month && day)
            period = Period{PeriodLevel::Day, *year, *month, *day};
        break;
    default:
        break;
    }
    if (!period)
        return;
    PeriodFigures figures =
        periodFigures(app.tallies.slotDate, app.tallies.dateTally, *period, unknownProfitRate);
    periodText = totalsText(figures.figures, figures.perDayAverage);
}

}  // namespace kv
