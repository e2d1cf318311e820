#include "batch/BatchRun.h"

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "data/StockMasterFile.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "settings/SettingByName.h"
#include "sim/RunFigures.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <sstream>

namespace kv {

namespace {

// Message boxes become plain lines on standard error; the batch watches them for refusals.
class BatchPlatform : public HeadlessPlatform {
public:
    BatchPlatform(std::ostream& err) : HeadlessPlatform(discarded, err), err(err) {}

    void messageBox(const std::string& text) override
    {
        HeadlessPlatform::messageBox(text);
        err << toUtf8(text) << '\n';
        last = text;
        ++count;
    }

    std::ostringstream discarded;
    std::ostream& err;
    std::string last;
    int count = 0;
};

// Presses a button; true when it answered with a message box (a refusal).
bool press(BatchPlatform& platform, int id)
{
    int before = platform.count;
    platform.execute("click " + std::to_string(id));
    platform.discarded.str("");
    return platform.count != before;
}

bool chooseRow(BatchPlatform& platform, int row, int button)
{
    platform.execute("select " + std::to_string(IDC_SIGNAL_LIST) + " " + std::to_string(row));
    return press(platform, button);
}

std::string money(double value)
{
    return format("%.0f", {value});
}

void printSummary(std::ostream& out, const SimulatorDialog& dialog, int rows)
{
    const RunFigures& figures = dialog.sim.figures();
    out << "シグナル: " << rows << " 行\n"
        << "期間: " << dialog.startRow << " 行目 (" << toUtf8(dialog.startDateText) << ") から "
        << dialog.endRow << " 行目 (" << toUtf8(dialog.endDateText) << ") まで\n"
        << "購入: " << figures.purchases << " 回  売却: " << figures.sales
        << " 回  ステップ: " << figures.steps << "\n"
        << "総資産: " << money(figures.totalAssets) << " 円\n"
        << "運用資産: " << money(figures.operatingAssets) << " 円\n"
        << "現在利益: " << money(figures.cumulativeProfit) << " 円\n";
}

void printJson(std::ostream& out, const SimulatorDialog& dialog, int rows)
{
    const RunFigures& figures = dialog.sim.figures();
    nlohmann::ordered_json result;
    result["rows"] = rows;
    result["startRow"] = dialog.startRow;
    result["endRow"] = dialog.endRow;
    result["run"] = {
        {"totalAssets", figures.totalAssets},
        {"operatingAssets", figures.operatingAssets},
        {"cumulativeProfit", figures.cumulativeProfit},
        {"holdingsValue", figures.holdingsValue},
        {"purchases", figures.purchases},
        {"sales", figures.sales},
        {"steps", figures.steps},
    };
    out << result.dump() << '\n';
}

}  // namespace

int runBatch(const BatchOptions& options, const std::filesystem::path& folder, std::ostream& out,
             std::ostream& err, bool showProgress)
{
    // The window would ask for a missing stock master until one is chosen; here it is an error.
    if (!LineReader::open(folder / kStockMasterFileName)) {
        err << "error: " << kStockMasterFileName << " cannot be read in " << folder.string()
            << " (kirvane-batch reads the stock master of the current folder)\n";
        return 2;
    }
    try {
        BatchPlatform platform(err);
        auto app = std::make_unique<SimulatorApp>();
        SimulatorDialog dialog(*app, platform, folder);
        platform.open(dialog);

        for (const auto& [name, value] : options.settings)
            setSettingByName(app->settings, name, value);
        app->settings.saveLog = options.logFile.has_value();

        platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, options.signalFile);
        if (press(platform, IDC_LOAD))
            return 1;  // the file could not be opened; the message says so
        int rows = dialog.signalList.count();
        if (rows == 0) {
            err << toUtf8(messages::noSignalsOrMaster) << '\n';
            if (options.json)
                out << "{\"rows\": 0}\n";
            return 1;
        }
        if (options.startRow && chooseRow(platform, *options.startRow, IDC_SET_START))
            return 2;
        if (options.endRow && chooseRow(platform, *options.endRow, IDC_SET_END))
            return 2;

        if (options.logFile)
            platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, *options.logFile);
        if (press(platform, IDC_RUN))
            return 2;
        int window = dialog.endRow - dialog.startRow + 1;
        while (!dialog.sim.finished() && dialog.sim.inProgress()) {
            platform.execute("click " + std::to_string(IDC_NEXT));
            const RunFigures& figures = dialog.sim.figures();
            if (showProgress && figures.steps % 512 == 0)
                err << "\r" << (figures.simCnt - dialog.startRow) << " / " << window << " 行" << std::flush;
        }
        if (showProgress)
            err << "\r\x1b[K" << std::flush;

        if (options.json)
            printJson(out, dialog, rows);
        else
            printSummary(out, dialog, rows);
        platform.close(dialog);
        return 0;
    } catch (const HeadlessExit& exit) {
        return exit.status;
    }
}

}  // namespace kv
