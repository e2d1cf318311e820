// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Backtest.h"

#include "data/SignalListLine.h"
#include "sim/OutcomeTexts.h"
#include "text/Numbers.h"

namespace kv {

const std::string& rowChoiceText(RowChoice choice)
{
    static const std::string none;
    switch (choice) {
    case RowChoice::NoStartRow:
        return messages::selectStart;
    case RowChoice::StartAfterEnd:
        return messages::startAfterEnd;
    case RowChoice::NoEndRow:
        return messages::selectEnd;
    case RowChoice::EndBeforeStart:
        return messages::endBeforeStart;
    case RowChoice::Chosen:
        break;
    }
    return none;
}

Backtest::Backtest(const StockMaster& master, const SignalRows& rows, const SimulationSettings& settings)
    : rows(rows), ownSettings(settings), sim(master, rows, ownSettings)
{
    sim.setStartingAssets();
}

void Backtest::setSettings(const SimulationSettings& settings)
{
    ownSettings = settings;
    sim.setStartingAssets();
}

void Backtest::chooseAllRows(std::string firstDate, std::string lastDate)
{
    firstRow = 0;
    lastRow = rows.count() - 1;
    firstDateText = std::move(firstDate);
    lastDateText = std::move(lastDate);
}

RowChoice Backtest::chooseStart(int row)
{
    if (!rows.contains(row))
        return RowChoice::NoStartRow;
    if (row > lastRow)
        return RowChoice::StartAfterEnd;
    firstRow = row;
    firstDateText = dateText(rowDate(rows.dateText(row)));
    return RowChoice::Chosen;
}

RowChoice Backtest::chooseEnd(int row)
{
    if (!rows.contains(row))
        return RowChoice::NoEndRow;
    if (row < firstRow)
        return RowChoice::EndBeforeStart;
    lastRow = row;
    lastDateText = dateText(rowDate(rows.dateText(row)));
    return RowChoice::Chosen;
}

RowChoice Backtest::chooseRows(int first, int last)
{
    chooseAllRows({}, {});
    if (RowChoice choice = chooseStart(first); choice != RowChoice::Chosen)
        return choice;
    return chooseEnd(last);
}

StepOutcome Backtest::start(const std::optional<std::filesystem::path>& logFile, bool keepTradeRecord,
                            bool keepTradeList)
{
    return sim.start(firstRow, lastRow, logFile, keepTradeRecord, keepTradeList);
}

StepOutcome Backtest::runToEnd(const std::function<void(const RunFigures&)>& afterStep)
{
    StepOutcome gathered;
    while (sim.inProgress() && !sim.finished()) {
        StepOutcome outcome = sim.simulateStep();
        if (outcome.messageLine)
            gathered.messageLine = std::move(outcome.messageLine);
        gathered.logWriteFailed |= outcome.logWriteFailed;
        gathered.stoppedAuto |= outcome.stoppedAuto;
        gathered.finished |= outcome.finished;
        if (afterStep)
            afterStep(sim.figures());
    }
    return gathered;
}

std::string Backtest::positionReadout(PortfolioList which, int index) const
{
    return sim.positionReadout(sim.list(which).at(index));
}

}  // namespace kv
