// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trading simulation driven directly: a fresh application object with a small stock
// master and signal rows made of list lines, the simulation working with the application's
// settings. The harness keeps what the steps report: the message line as the window would show
// it, and a count of each kind of outcome. Its lists read as the window's list rows.

#include "data/SignalRows.h"
#include "data/SimulatorApp.h"
#include "sim/PortfolioLists.h"
#include "sim/RowReader.h"
#include "sim/TradingSimulation.h"
#include "support/StockMaster.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "text/Format.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::test {

// A signal-list line of the loader's form, from UTF-8 texts.
inline std::string signalLine(int code, const std::string& name, const std::string& date, int buy,
                              const std::string& mark, const std::string& end, int sell, int unit,
                              const std::string& performance = "perf")
{
    return format("%04d %s %s %d %s %s %d %s %d",
                  {code, toCp932(name), date, buy, toCp932(mark), end, sell, toCp932(performance), unit});
}

// A portfolio list as its rows' texts.
struct ListTexts {
    const PositionList& list;
    const SignalRows& rows;
    PortfolioList which;
    int count() const { return list.count(); }
    std::string row(int index) const { return positionRowText(rows, list.at(index), which); }
};

class HarnessSimulation : public TradingSimulation {
public:
    HarnessSimulation(const kv::StockMaster& master, const SignalRows& rows, SimulationSettings& settings)
        : TradingSimulation(master, rows, settings), rows(rows)
    {}
    ListTexts holdingsList() const { return {list(PortfolioList::Holdings), rows, PortfolioList::Holdings}; }
    ListTexts candidateList() const
    {
        return {list(PortfolioList::Candidates), rows, PortfolioList::Candidates};
    }
    ListTexts sellList() const { return {list(PortfolioList::SellList), rows, PortfolioList::SellList}; }

private:
    const SignalRows& rows;
};

class SimHarness {
public:
    SimHarness()
    {
        StockMaster({{1, "極洋", 1000}, {2, "日水", 100}, {3, "マルハ", 1000}, {4, "単位なし", 0}})
            .enterInto(*app);
        app->settings.saveLog = false;
    }

    void addStock(int code, const std::string& name, int unit)
    {
        StockMaster({{code, name, unit}}).enterInto(*app);
    }

    void addSignal(const std::string& line) { lines.push_back(line); }

    // Starts a run over the whole list (or rows first..last) with the log going to log.csv.
    void startLogged(int first = 0, int last = -1) { startWithLog(folder / "log.csv", first, last); }
    // The rows are read from the lines as the run starts, against the stock master as it is then.
    void startWithLog(const std::optional<std::filesystem::path>& logFile, int first = 0, int last = -1)
    {
        signalRows.clear();
        for (const std::string& line : lines)
            signalRows.append(line, app->master);
        record(sim.start(first, last < 0 ? signalRows.count() - 1 : last, logFile, keepTradeRecord,
                         keepTradeList));
    }
    void start(int first = 0, int last = -1) { startWithLog(std::nullopt, first, last); }

    void steps(int n)
    {
        for (int i = 0; i < n; ++i)
            record(sim.simulateStep());
    }
    // Steps until the final liquidation has run (at most `limit` steps).
    void runToEnd(int limit = 100000)
    {
        for (int i = 0; i < limit && !sim.finished(); ++i)
            record(sim.simulateStep());
    }

    const RunFigures& figures() const { return sim.figures(); }

    // Row `index` of a list parsed back, lots included.
    ListRow parsedRow(const ListTexts& list, int index) const
    {
        ListRow row;
        readListRow(list.row(index), true, *app, row);
        return row;
    }

    // Lines of the trade log as UTF-8, without their CR LF.
    std::vector<std::string> logLines() const
    {
        std::vector<std::string> lines;
        std::string bytes = folder.read("log.csv");
        size_t pos = 0;
        while (pos < bytes.size()) {
            size_t end = bytes.find("\r\n", pos);
            lines.push_back(toUtf8(bytes.substr(pos, end - pos)));
            pos = end == std::string::npos ? bytes.size() : end + 2;
        }
        return lines;
    }

    void record(const StepOutcome& outcome)
    {
        if (outcome.messageLine)
            messageLine = *outcome.messageLine;
        logOpenFailures += outcome.logOpenFailed;
        logWriteFailures += outcome.logWriteFailed;
        autoStops += outcome.stoppedAuto;
        finishes += outcome.finished;
    }

    TempFolder folder;
    std::unique_ptr<SimulatorApp> app = std::make_unique<SimulatorApp>();
    std::vector<std::string> lines;
    SignalRows signalRows;
    HarnessSimulation sim{app->master, signalRows, app->settings};

    bool keepTradeRecord = true;  // for the runs started next
    bool keepTradeList = false;
    std::string messageLine;  // as the steps left it
    int logOpenFailures = 0;
    int logWriteFailures = 0;
    int autoStops = 0;
    int finishes = 0;
};

}  // namespace kv::test
