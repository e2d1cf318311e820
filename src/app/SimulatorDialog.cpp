#include "app/SimulatorDialog.h"

#include "app/AboutDialog.h"
#include "data/SignalFileLoader.h"
#include "data/SignalListLine.h"
#include "data/SimulatorApp.h"
#include "data/StockMasterFile.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "resources/Templates.h"
#include "settings/SettingsFile.h"
#include "sim/PortfolioLists.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/DialogView.h"
#include "toolkit/Platform.h"

#include <array>
#include <optional>

namespace kv {

SimulatorDialog::SimulatorDialog(SimulatorApp& app, Platform& platform, std::filesystem::path folder)
    : Dialog(platform), app(app), sim(app, platform, signalList, statusText), startFolder(std::move(folder))
{
    sim.stopAutoTimer = [this] { this->platform().killTimer(*this, kAutoTimerEvent); };
}

const DialogTemplate& SimulatorDialog::dialogTemplate() const
{
    return mainDialogTemplate();
}

void SimulatorDialog::exchange(DataExchange& dx)
{
    dx.list(IDC_SIGNAL_LIST, signalList);
    dx.text(IDC_STATUS, statusText);
    dx.text(IDC_NAME, nameText);
    dx.text(IDC_BUY_DATE, buyDateText);
    dx.text(IDC_SELL_DATE, sellDateText);
    dx.text(IDC_RESULT, resultText);
    dx.text(IDC_BUY_PRICE, buyPriceText);
    dx.text(IDC_SELL_PRICE, sellPriceText);
    dx.text(IDC_PERFORMANCE, performanceText);
    dx.text(IDC_CODE, codeText);
    dx.text(IDC_UNIT, unitText);
    dx.text(IDC_START_DATE, startDateText);
    dx.text(IDC_END_DATE, endDateText);
    dx.text(IDC_STATE, sim.stateText);
    dx.text(IDC_CURRENT_DATE, sim.currentDateText);
    dx.list(IDC_CANDIDATE_LIST, sim.candidateList);
    dx.text(IDC_HOLDINGS_FIGURE, sim.holdingsFigureText);
    dx.text(IDC_OPERATING_ASSETS, sim.operatingAssetsText);
    dx.list(IDC_HOLDINGS_LIST, sim.holdingsList);
    dx.list(IDC_SELL_LIST, sim.sellList);
    dx.text(IDC_TOTAL_ASSETS, sim.totalAssetsText);
    dx.text(IDC_SELL_FIGURE, sim.sellFigureText);
}

void SimulatorDialog::onInitDialog()
{
    updateData(false);
    if (DialogView* v = view())
        v->addMenuItem(messages::aboutMenuItem, IDM_ABOUTBOX);

    std::optional<WaitCursor> wait;
    masterLoaded = loadStockMaster(app, platform(), startFolder, statusText, wait);
    signalsLoaded = false;
    loadSettings(app.settings, app.settingsFile(), platform());
    sim.simState = 0;
    sim.stateText = messages::stateBeforeRun;
    showAssetFigures();
    wait.reset();
    updateData(false);
}

// Capital × leverage and capital, the two figures the window shows before a run.
void SimulatorDialog::showAssetFigures()
{
    sim.operatingAssets = app.settings.capital * app.settings.leverage;
    sim.totalAssets = app.settings.capital;
    sim.showTotals();
}

void SimulatorDialog::onCommand(int id, Notification notification)
{
    switch (id) {
    case IDM_ABOUTBOX:
        if (notification == Notification::MenuCommand) {
            AboutDialog about(platform());
            platform().runModal(about);
        }
        return;
    case IDC_OPTIONS:
        openOptions();
        break;
    case IDC_STATISTICS:
        openStatistics();
        break;
    case IDC_LOAD:
        loadSignals();
        break;
    case IDC_SET_START:
        setStartRow();
        break;
    case IDC_SET_END:
        setEndRow();
        break;
    case IDC_SIGNAL_LIST:
        if (notification != Notification::SelectionChanged)
            return;
        showSelectedSignal();
        break;
    case IDC_HOLDINGS_LIST:
    case IDC_CANDIDATE_LIST:
    case IDC_SELL_LIST:
        if (notification != Notification::SelectionChanged)
            return;
        sim.showSelection(id, detailFields());
        break;
    case IDC_RUN:
        run();
        break;
    case IDC_NEXT:
        next();
        break;
    case IDC_AUTO:
        startAuto();
        break;
    case IDC_STOP:
        stop();
        break;
    case IDC_RESET:
        reset();
        break;
    case IDC_HISTORY:
        return;   // created disabled: the trade record has no source yet
    default:
        Dialog::onCommand(id, notification);
        return;
    }
    updateData(false);
}

// 終了 ends the program; the window's fields are displays only, so nothing is taken back.
void SimulatorDialog::onOK()
{
    endDialog(IDOK);
}

// Every tick is one step, whatever the event and the state: the final liquidation and STOP
// are what stop the timer.
void SimulatorDialog::onTimer(int)
{
    sim.simulateStep();
    updateData(false);
}

bool SimulatorDialog::refuseWhileRunning(const std::string& message)
{
    if (sim.simState == 0)
        return false;
    platform().messageBox(message);
    return true;
}

bool SimulatorDialog::refuseWithoutData()
{
    if (masterLoaded && signalsLoaded)
        return false;
    platform().messageBox(messages::noSignalsOrMaster);
    return true;
}

// NEXT, AUTO, STOP and RESET need a run; NEXT, RESET and AUTO refuse while AUTO runs, STOP
// refuses while it does not.
bool SimulatorDialog::refuseSteppingCommand(const std::string& autoMessage, bool refuseWhenAuto)
{
    if (sim.simState == 0) {
        platform().messageBox(messages::noRun);
        return true;
    }
    if (sim.autoRunning == refuseWhenAuto) {
        platform().messageBox(autoMessage);
        return true;
    }
    return false;
}

void SimulatorDialog::openOptions()
{
    if (refuseWhileRunning(messages::cannotChangeWhileRunning))
        return;
    showAssetFigures();
}

void SimulatorDialog::openStatistics()
{
    if (refuseWithoutData())
        return;
}

void SimulatorDialog::loadSignals()
{
    static const std::string cannotOpen = toCp932("ファイルをオープンできません");
    static const std::string readyToRun = toCp932("必要に応じてオプションを変更し実行ボタンを押してください。");

    if (refuseWhileRunning(messages::cannotChangeWhileRunning))
        return;
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.filter = messages::csvFilter;
    std::optional<std::filesystem::path> file = platform().openFile(options);
    if (!file)
        return;
    // Opened by its full path: choosing a file never moves the program's working folder.
    std::optional<LineReader> reader = LineReader::open(*file);
    if (!reader) {
        platform().messageBox(cannotOpen);
        return;
    }

    WaitCursor wait = platform().waitCursor();
    signalsLoaded = false;
    SignalLoadResult loaded = loadSignalFile(*reader, app, platform(), signalList);
    // Without a listed row the previous window and its dates stay, but nothing can run.
    if (loaded.rowCount > 0) {
        startRow = 0;
        endRow = loaded.rowCount - 1;
        startDateText = std::move(loaded.firstDateText);
        endDateText = std::move(loaded.lastDateText);
        signalsLoaded = true;
    }
    statusText = readyToRun;
}

// The signal date of a signal-list row as the window shows a chosen start or end: 2004/1/5.
static std::string rowDateText(const ListBox& list, int row)
{
    return dateText(rowDate(listToken(list.row(row), 2)));
}

void SimulatorDialog::setStartRow()
{
    static const std::string selectStart = toCp932("リストから開始銘柄を選択してください。");
    static const std::string startAfterEnd = toCp932("開始日が終了日より後です。");

    if (refuseWhileRunning(messages::cannotSetWhileRunning))
        return;
    int s = signalList.selection();
    if (s < 0) {
        platform().messageBox(selectStart);
        return;
    }
    if (s > endRow) {
        platform().messageBox(startAfterEnd);
        return;
    }
    startRow = s;
    startDateText = rowDateText(signalList, s);
}

void SimulatorDialog::setEndRow()
{
    static const std::string selectEnd = toCp932("リストから終了銘柄を選択してください。");
    static const std::string endBeforeStart = toCp932("終了日が開始日より前です。");

    if (refuseWhileRunning(messages::cannotSetWhileRunning))
        return;
    int s = signalList.selection();
    if (s < 0) {
        platform().messageBox(selectEnd);
        return;
    }
    if (s < startRow) {
        platform().messageBox(endBeforeStart);
        return;
    }
    endRow = s;
    endDateText = rowDateText(signalList, s);
}

// Fills the detail pane with the nine tokens of the selected signal-list line.
void SimulatorDialog::showSelectedSignal()
{
    int s = signalList.selection();
    if (s >= 0)
        showRowDetails(signalList.row(s), detailFields());
}

// The detail pane's texts in list-token order.
DetailFields SimulatorDialog::detailFields()
{
    return {&codeText, &nameText, &buyDateText, &buyPriceText, &resultText,
            &sellDateText, &sellPriceText, &performanceText, &unitText};
}

void SimulatorDialog::run()
{
    if (refuseWithoutData())
        return;
    if (refuseWhileRunning(messages::alreadyRunning))
        return;
    sim.start(startRow, endRow);
}

void SimulatorDialog::next()
{
    if (refuseSteppingCommand(messages::autoRunInProgress, true))
        return;
    sim.autoRunning = false;
    WaitCursor wait = platform().waitCursor();
    sim.simulateStep();
}

void SimulatorDialog::startAuto()
{
    if (refuseSteppingCommand(messages::autoAlreadyRunning, true))
        return;
    sim.autoRunning = true;
    platform().setTimer(*this, kAutoTimerEvent, 0);
}

void SimulatorDialog::stop()
{
    if (refuseSteppingCommand(messages::autoNotRunning, false))
        return;
    sim.autoRunning = false;
    platform().killTimer(*this, kAutoTimerEvent);
}

void SimulatorDialog::reset()
{
    if (refuseSteppingCommand(messages::autoRunInProgress, true))
        return;
    sim.reset();
}

}  // namespace kv
