// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics dialog (集計). It shows what the tallies of the loaded signal file hold, in
// three groups: the simple totals over all signals; one stock's figures, chosen by code or from
// five top-20 rankings; and the totals of a year, month or day chosen from lists of the signal
// dates. Every opening computes everything afresh from the tallies and the current profit rate
// of unknown outcomes; nothing survives the closing.

#include "stats/Rankings.h"
#include "stats/TotalsText.h"
#include "toolkit/Dialog.h"
#include "toolkit/ListBox.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class SimulatorApp;

class PrintDialog : public Dialog {
public:
    PrintDialog(const SimulatorApp& app, Platform& platform);

    const DialogTemplate& dialogTemplate() const override;
    void exchange(DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, Notification notification) override;

    // 単純集計: the figures of all signals.
    TotalsText overallText;

    // 銘柄別集計: the typed code, the figures of the stock of the last total, the rankings.
    std::string codeText;
    std::string stockNameText;
    TotalsText stockText;
    bool hideOneSignal = true;
    bool hideTwoSignals = false;
    std::array<ComboBox, kRankingKindCount> rankingLists;

    // 年月日別集計: the lists, the values their items stand for, and the chosen period's totals.
    ComboBox yearList, monthList, dayList, methodList;
    std::vector<int32_t> years, months, days;
    TotalsText periodText;

private:
    void showStockTotal();
    void chooseRankedStock(size_t ranking);
    void rebuildRankings();
    void fillPeriodLists();
    void rebuildMonthList();
    void rebuildDayList();
    void checkMethod();
    void showPeriodTotals();

    const SimulatorApp& app;
    double unknownProfitRate;
    // The stock code of each ranking row after the list's first item.
    std::array<std::vector<int32_t>, kRankingKindCount> rankingCodes;
};

}  // namespace kv
