#include "batch/BatchRun.h"

#include "batch/BatchSession.h"
#include "batch/StatisticsReport.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "settings/SettingByName.h"
#include "sim/RunFigures.h"
#include "text/Cp932.h"
#include "text/Format.h"

#include <nlohmann/json.hpp>

namespace kv {

namespace {

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
    printSimpleTotals(out, dialog.app);
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
    result["statistics"] = statisticsJson(dialog.app);
    out << result.dump() << '\n';
}

}  // namespace

int runBatch(const BatchOptions& options, const std::filesystem::path& folder, std::ostream& out,
             std::ostream& err, bool showProgress)
{
    if (!stockMasterReadable(folder, err, "kirvane-batch"))
        return 2;
    try {
        BatchSession session(folder, err);
        SimulatorDialog& dialog = session.dialog;
        BatchPlatform& platform = session.platform;
        for (const auto& [name, value] : options.settings)
            setSettingByName(session.app->settings, name, value);
        session.app->settings.saveLog = options.logFile.has_value();

        if (!session.loadSignals(options.signalFile))
            return 1;  // the file could not be opened; the message says so
        int rows = session.signalRows();
        if (rows == 0) {
            err << toUtf8(messages::noSignalsOrMaster) << '\n';
            if (options.json)
                out << "{\"rows\": 0}\n";
            return 1;
        }
        if (!session.chooseWindow(options.startRow, options.endRow))
            return 2;

        if (options.logFile)
            platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, *options.logFile);
        if (session.press(IDC_RUN))
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
        return 0;
    } catch (const HeadlessExit& exit) {
        // The window ends the program with status 0 when a signal file has more dates than it
        // can hold; for the back-test that is a file it could not read.
        return exit.status == 0 ? 1 : exit.status;
    }
}

}  // namespace kv
