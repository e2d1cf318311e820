#pragma once
// The trading simulation driven directly: a fresh application object with a small stock
// master, the scripted desktop, and a signal list filled with list lines.

#include "data/SimulatorApp.h"
#include "sim/TradingSimulation.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "toolkit/ListBox.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <memory>
#include <sstream>
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
        addStock(1, "極洋", 1000);
        addStock(2, "日水", 100);
        addStock(3, "マルハ", 1000);
        addStock(4, "単位なし", 0);
        app->settings.saveLog = false;
    }

    void addStock(int code, const std::string& name, int unit)
    {
        app->stockName[static_cast<size_t>(code)] = toCp932(name);
        app->tradingUnit[static_cast<size_t>(code)] = unit;
        app->buildNameIndex();
    }

    void addSignal(const std::string& line) { signals.append(line); }

    // Starts a run over the whole list (or rows first..last) with the log going to log.csv.
    void startLogged(int first = 0, int last = -1)
    {
        app->settings.saveLog = true;
        platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, folder / "log.csv");
        sim.start(first, last < 0 ? signals.count() - 1 : last);
    }
    void start(int first = 0, int last = -1) { sim.start(first, last < 0 ? signals.count() - 1 : last); }

    void steps(int n)
    {
        for (int i = 0; i < n; ++i)
            sim.simulateStep();
    }
    // Steps until the final liquidation has run (at most `limit` steps).
    void runToEnd(int limit = 100000)
    {
        for (int i = 0; i < limit && !sim.finished(); ++i)
            sim.simulateStep();
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

    std::vector<std::string> messagesUtf8() const
    {
        std::vector<std::string> result;
        for (const auto& m : platform.messages())
            result.push_back(toUtf8(m));
        return result;
    }

    TempFolder folder;
    std::ostringstream out, err;
    HeadlessPlatform platform{out, err};
    std::unique_ptr<SimulatorApp> app = std::make_unique<SimulatorApp>();
    ListBox signals;
    std::string messageLine;
    TradingSimulation sim{*app, platform, signals, messageLine};
};

}  // namespace kv::test
