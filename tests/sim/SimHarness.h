#pragma once
// The trading simulation driven directly: a fresh application object with a small stock
// master and a signal list filled with list lines. The harness keeps what the steps report:
// the message line as the window would show it, and a count of each kind of outcome.

#include "data/SimulatorApp.h"
#include "sim/RowReader.h"
#include "sim/TradingSimulation.h"
#include "support/StockMaster.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "toolkit/ListBox.h"

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

    void addSignal(const std::string& line) { signals.append(line); }

    // Starts a run over the whole list (or rows first..last) with the log going to log.csv.
    void startLogged(int first = 0, int last = -1) { startWithLog(folder / "log.csv", first, last); }
    void startWithLog(const std::optional<std::filesystem::path>& logFile, int first = 0, int last = -1)
    {
        record(sim.start(first, last < 0 ? signals.count() - 1 : last, logFile));
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
    ListRow parsedRow(const ListBox& list, int index) const
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
    ListBox signals;
    TradingSimulation sim{*app, signals};

    std::string messageLine;  // as the steps left it
    int logOpenFailures = 0;
    int logWriteFailures = 0;
    int autoStops = 0;
    int finishes = 0;
};

}  // namespace kv::test
