// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimulatorDialog.h"

#include "app/AboutDialog.h"
#include "app/LogDialog.h"
#include "app/OutputFileDialog.h"
#include "app/OptimisationDialog.h"
#include "app/OptionDialog.h"
#include "app/PrintDialog.h"
#include "app/ResultsDialog.h"
#include "data/SignalFileLoader.h"
#include "data/SignalListLine.h"
#include "data/SimulatorApp.h"
#include "data/StockMasterFile.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "resources/Templates.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "sim/OutcomeTexts.h"
#include "sim/PortfolioLists.h"
#include "sim/RunFigures.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/DialogView.h"
#include "toolkit/Platform.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <iterator>
#include <optional>
#include <utility>

namespace kv {

namespace {

// The 状態 field's name of each state of a run.
const std::string& stateName(SimState state)
{
    static const std::string beforeSale = toCp932("売却前待機");
    static const std::string afterSale = toCp932("売却後待機");
    static const std::string beforeBuy = toCp932("購入前待機");
    static const std::string afterBuy = toCp932("購入後待機");
    static const std::string dayDone = toCp932("購入完了");
    static const std::string ended = toCp932("終了");
    switch (state) {
    case SimState::BeforeSale:
        return beforeSale;
    case SimState::AfterSale:
        return afterSale;
    case SimState::BeforeBuy:
        return beforeBuy;
    case SimState::AfterBuy:
        return afterBuy;
    case SimState::DayDone:
        return dayDone;
    case SimState::Ended:
        return ended;
    case SimState::BeforeRun:
        break;
    }
    return messages::stateBeforeRun;
}

}  // namespace

SimulatorDialog::SimulatorDialog(SimulatorApp& app, Platform& platform, std::filesystem::path folder,
                                 std::optional<std::filesystem::path> signalFile)
    : Dialog(platform), app(app), engine(app.master, loadedSignals, app.settings),
      candidateView(engine.listToObserve(PortfolioList::Candidates), loadedSignals,
                    PortfolioList::Candidates),
      holdingsView(engine.listToObserve(PortfolioList::Holdings), loadedSignals, PortfolioList::Holdings),
      sellView(engine.listToObserve(PortfolioList::SellList), loadedSignals, PortfolioList::SellList),
      startFolder(std::move(folder)), signalFileAtStart(std::move(signalFile))
{}

const ListBox& SimulatorDialog::shownList(PortfolioList which) const
{
    return viewOf(which).box;
}

PositionListView& SimulatorDialog::viewOf(PortfolioList which)
{
    return const_cast<PositionListView&>(std::as_const(*this).viewOf(which));
}

const PositionListView& SimulatorDialog::viewOf(PortfolioList which) const
{
    switch (which) {
    case PortfolioList::Candidates:
        return candidateView;
    case PortfolioList::SellList:
        return sellView;
    case PortfolioList::Holdings:
        break;
    }
    return holdingsView;
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
    dx.text(IDC_STATE, stateText);
    dx.text(IDC_CURRENT_DATE, currentDateText);
    dx.list(IDC_CANDIDATE_LIST, candidateView.box);
    dx.text(IDC_HOLDINGS_FIGURE, holdingsFigureText);
    dx.text(IDC_OPERATING_ASSETS, operatingAssetsText);
    dx.list(IDC_HOLDINGS_LIST, holdingsView.box);
    dx.list(IDC_SELL_LIST, sellView.box);
    dx.text(IDC_TOTAL_ASSETS, totalAssetsText);
    dx.text(IDC_SELL_FIGURE, sellFigureText);
}

void SimulatorDialog::onInitDialog()
{
    updateData(false);
    if (DialogView* v = view())
        v->addMenuItem(messages::aboutMenuItem, IDM_ABOUTBOX);

    std::optional<WaitCursor> wait;
    masterLoaded = loadMaster(wait);
    signalsLoaded = false;
    loadSettingsFile();
    handSettingsToEngine();
    wait.reset();
    refresh();
    if (signalFileAtStart) {
        readSignalFile(*signalFileAtStart);
        refresh();
    }
}

void SimulatorDialog::refresh()
{
    showRunFigures();
    updateData(false);
    enableResults();
    enableOptimisation();
}

// 運用成績 opens once a run has closed a day; the results stay through RESET until the next
// run starts.
void SimulatorDialog::enableResults()
{
    const bool haveDays = !engine.results().days().empty();
    if (haveDays == resultsEnabled)
        return;
    resultsEnabled = haveDays;
    enableControl(IDC_RESULTS, haveDays);
}

// 最適化 opens once a signal file is loaded, and not while a run is open: its double-click
// changes the settings, as the options do.
void SimulatorDialog::enableOptimisation()
{
    const bool open = masterLoaded && signalsLoaded && !engine.inProgress();
    if (open == optimisationEnabled)
        return;
    optimisationEnabled = open;
    enableControl(IDC_OPTIMISE, open);
}

// The figure fields from the run's figures; the two list figures show what a phase last
// reported, and are empty until one has.
void SimulatorDialog::showRunFigures()
{
    const RunFigures& f = engine.figures();
    stateText = stateName(f.simState);
    currentDateText = f.currentDate;
    holdingsFigureText = f.reportedHoldingsValue ? holdingsFigure(*f.reportedHoldingsValue) : std::string();
    sellFigureText = f.reportedSellList ? sellFigure(f.reportedSellList->amount, f.reportedSellList->profit)
                                        : std::string();
    operatingAssetsText = moneyText(f.operatingAssets);
    totalAssetsText = moneyText(f.totalAssets);
}

// Opens index.txt in the start folder; when it is missing, asks for the file until one is
// chosen. The wait cursor is shown from the moment the file is open or chosen (held in `wait`,
// which the caller releases). When the chosen file cannot be opened the status line says so.
bool SimulatorDialog::loadMaster(std::optional<WaitCursor>& wait)
{
    std::filesystem::path file = startFolder / kStockMasterFileName;
    std::optional<LineReader> reader = LineReader::openInput(file);
    if (!reader) {
        static const std::string missing =
            toCp932("index.txt をフォルダ内に確認できませんでした。\nindex.txtを指定してください。");
        static const std::string pleaseChoose =
            toCp932("index."
                    "txtを指定してください。存在しない場合はいったん適当なテキストファイルを読み込み強制終了"
                    "させてください。");
        platform().messageBox(missing);
        FileDialogOptions options;
        options.defaultExtension = "txt";
        options.filter = toCp932("TXT ファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*||");
        options.createPrompt = true;
        std::optional<std::filesystem::path> chosen;
        while (!(chosen = platform().openFile(options)))
            platform().messageBox(pleaseChoose);
        file = *chosen;
        reader = LineReader::openInput(file);
    }
    wait.emplace(platform().waitCursor());
    masterFile = file;
    if (loadStockMaster(app, file, reader) == StockMasterLoad::Read) {
        masterReplaced = reader->replacedCount();
        if (masterReplaced > 0)
            statusText = format(messages::masterReplacedNotice, {static_cast<long long>(masterReplaced)});
        return true;
    }
    static const std::string cannotOpen = toCp932("ファイルをオープンできません。再起動してください。");
    statusText = cannotOpen;
    return false;
}

// Reads kvn.conf beside the stock master, or creates it with the defaults at first start. A
// file that exists but cannot be read is reported with the reason and left alone.
void SimulatorDialog::loadSettingsFile()
{
    int error = 0;
    std::vector<std::string> notes;
    SettingsLoad loaded = loadSettings(app.settings, app.settingsFile(), &error, &notes);
    // What was wrong in kirvane.ini, in one message: each line named, its default in use.
    if (!notes.empty()) {
        std::string text;
        for (const std::string& note : notes)
            text += (text.empty() ? "" : "\r\n") + note;
        platform().messageBox(text);
    }
    if (loaded == SettingsLoad::Read)
        return;
    if (loaded == SettingsLoad::Unreadable) {
        platform().messageBox(messages::settingsFileUnreadable + systemErrorText(error));
        return;
    }
    platform().messageBox(messages::firstStart);
    if (loaded == SettingsLoad::CreateFailed)
        platform().messageBox(messages::settingsFileNotWritten);
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
    case IDC_RESULTS:
        openResults();
        break;
    case IDC_OPTIMISE:
        openOptimisation();
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
        showSelectedPosition(id == IDC_HOLDINGS_LIST        ? PortfolioList::Holdings
                                 : id == IDC_CANDIDATE_LIST ? PortfolioList::Candidates
                                                            : PortfolioList::SellList);
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
        openTradeRecord();
        return;  // nothing of the window changes
    default:
        Dialog::onCommand(id, notification);
        return;
    }
    refresh();
}

// 終了, Esc and the close box end the program; the window's fields are displays only, so nothing
// is taken back. During a run they ask first, and いいえ leaves everything as it was: AUTO's timer
// keeps stepping behind the question and after it.
void SimulatorDialog::onOK()
{
    quit(IDOK);
}

void SimulatorDialog::onCancel()
{
    quit(IDCANCEL);
}

void SimulatorDialog::quit(int result)
{
    if (runActive() && !platform().askYesNo(messages::quitWhileRunning))
        return;
    endDialog(result);
}

bool SimulatorDialog::runActive() const
{
    return (engine.inProgress() && !engine.finished()) || engine.figures().autoRunning;
}

// Every tick steps, whatever the event and the state: the final liquidation and STOP are what
// stop the timer. A tick takes steps until the platform's tick budget is spent (one step on the
// scripted backend) or a step has something to tell, then shows what they reported and refreshes
// once: the message line the steps left, and the message boxes of the step that stopped it.
void SimulatorDialog::onTimer(int)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point began = Clock::now();
    const auto budget = platform().tickBudget();
    std::optional<std::string> messageLine;
    for (;;) {
        StepOutcome outcome = engine.step();
        keepScheduleMaximum();
        if (outcome.messageLine)
            messageLine = std::move(outcome.messageLine);
        if (outcome.needsTelling() || outcome.stoppedAuto || !engine.figures().autoRunning ||
            Clock::now() - began >= budget) {
            outcome.messageLine = std::move(messageLine);
            present(outcome);
            break;
        }
    }
    refresh();
}

bool SimulatorDialog::refuseWhileRunning(const std::string& message)
{
    if (!engine.inProgress())
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
    if (!engine.inProgress()) {
        platform().messageBox(messages::noRun);
        return true;
    }
    if (engine.figures().autoRunning == refuseWhenAuto) {
        platform().messageBox(autoMessage);
        return true;
    }
    return false;
}

void SimulatorDialog::openOptions()
{
    if (refuseWhileRunning(messages::cannotChangeWhileRunning))
        return;
    OptionDialog options(app, platform());
    platform().runModal(options);
    handSettingsToEngine();  // OK or cancel: the asset figures from the settings as they are now
}

void SimulatorDialog::openTradeRecord()
{
    LogDialog viewer(platform(), engine.tradeRecord(), inputFiles());
    platform().runModal(viewer);
}

// The statistics dialog computes everything afresh from the tallies each time it opens.
void SimulatorDialog::openStatistics()
{
    if (refuseWithoutData())
        return;
    PrintDialog statistics(app, platform());
    platform().runModal(statistics);
}

// The results window follows the run: AUTO keeps stepping behind it, and its 更新 shows the
// steps taken since it opened.
void SimulatorDialog::openResults()
{
    if (engine.results().days().empty())
        return;
    ResultsDialog results(platform(), engine.results(), inputFiles(), &engine.signalRows());
    if (signalFile)
        results.setReportSource({app, engine, *signalFile, masterFile});
    platform().runModal(results);
}

// The optimisation runs the loaded signals' rows from 開始日 to 終了日, with the settings as
// they are; the window is modal, so no run of this window starts meanwhile.
void SimulatorDialog::openOptimisation()
{
    if (refuseWithoutData())
        return;
    if (refuseWhileRunning(messages::cannotChangeWhileRunning))
        return;
    OptimisationDialog optimisation(app, platform(), loadedSignals, engine.startRow(), engine.endRow(),
                                    inputFiles());
    platform().runModal(optimisation);
    handSettingsToEngine();  // the values a double-click stored
}

void SimulatorDialog::loadSignals()
{
    if (refuseWhileRunning(messages::cannotChangeWhileRunning))
        return;
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.filter = messages::csvFilter;
    std::optional<std::filesystem::path> file = platform().openFile(options);
    if (!file)
        return;
    readSignalFile(*file);
}

bool SimulatorDialog::acceptsDroppedFile(const std::filesystem::path& file) const
{
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".csv";
}

void SimulatorDialog::onFileDropped(const std::filesystem::path& file)
{
    if (!refuseWhileRunning(messages::cannotChangeWhileRunning))
        readSignalFile(file);
    refresh();
}

// What 読み込み does once it has a file: a file given at start or dropped on the window goes
// the same way.
void SimulatorDialog::readSignalFile(const std::filesystem::path& file)
{
    // Opened by its full path: choosing a file never moves the program's working folder.
    int error = 0;
    std::optional<LineReader> reader = LineReader::openInput(file, &error);
    if (!reader) {
        platform().messageBox(messages::cannotReadFile(error));
        return;
    }

    WaitCursor wait = platform().waitCursor();
    signalsLoaded = false;
    signalList.clear();
    SignalLoadResult loaded = loadSignalFile(*reader, app.master, app.tallies, loadedSignals);
    signalList.showRows(signalLines);
    signalFile = file;
    if (loaded.tooManyDates) {
        platform().messageBox(messages::fileTooLarge);
        platform().exit(0);
    }
    // Without a listed row the previous window and its dates stay, but nothing can run.
    if (loaded.rowCount > 0) {
        engine.chooseAllRows(std::move(loaded.firstDateText), std::move(loaded.lastDateText));
        startDateText = engine.startDateText();
        endDateText = engine.endDateText();
        signalsLoaded = true;
    }
    statusText = messages::readyToRun;
    signalsReplaced = reader->replacedCount();
    if (signalsReplaced > 0)
        statusText += format(messages::signalsReplacedNotice, {static_cast<long long>(signalsReplaced)});
    // Rows the reading took in that a script may not have meant.
    if (loaded.warnings.any())
        statusText += "  " + loadWarningsText(loaded.warnings);
}

void SimulatorDialog::setStartRow()
{
    if (refuseWhileRunning(messages::cannotSetWhileRunning))
        return;
    if (RowChoice choice = engine.chooseStart(signalList.selection()); choice != RowChoice::Chosen) {
        platform().messageBox(rowChoiceText(choice));
        return;
    }
    startDateText = engine.startDateText();
}

void SimulatorDialog::setEndRow()
{
    if (refuseWhileRunning(messages::cannotSetWhileRunning))
        return;
    if (RowChoice choice = engine.chooseEnd(signalList.selection()); choice != RowChoice::Chosen) {
        platform().messageBox(rowChoiceText(choice));
        return;
    }
    endDateText = engine.endDateText();
}

// Fills the detail pane with the nine tokens of the selected signal-list line.
void SimulatorDialog::showSelectedSignal()
{
    int s = signalList.selection();
    if (s >= 0)
        showDetails(signalList.row(s));
}

// Fills the detail pane from the selected row of a portfolio list; a held or due position also
// reads out its figures in the status line. No selection: nothing changes.
void SimulatorDialog::showSelectedPosition(PortfolioList which)
{
    const ListBox& list = shownList(which);
    const int s = list.selection();
    if (!list.contains(s))
        return;
    showDetails(list.row(s));
    if (which != PortfolioList::Candidates)
        statusText = engine.positionReadout(which, s);
}

// Puts the first nine tokens of a list line into the detail pane (証券コード, 銘柄名, 購入日,
// 購入価格, 成果, 売却日, 売却価格, パフォーマンス, 売買単位); missing tokens leave their field
// empty. Nothing is cut: a long token shows whole.
void SimulatorDialog::showDetails(std::string_view row)
{
    std::array<std::string, kListTokenCount> tokens;
    splitListLine(row, tokens);
    std::string* fields[] = {&codeText,     &nameText,      &buyDateText,     &buyPriceText, &resultText,
                             &sellDateText, &sellPriceText, &performanceText, &unitText};
    static_assert(std::size(fields) == kListTokenCount);
    for (size_t i = 0; i < kListTokenCount; ++i)
        *fields[i] = std::move(tokens[i]);
}

// Asks where the trade log goes. A cancel turns log saving off (in memory only) and says so.
std::optional<std::filesystem::path> SimulatorDialog::askForLogFile()
{
    static const std::string nameHint = toCp932("ログファイル名入力");
    static const std::string cancelled =
        toCp932(std::string("キャンセルされたのでログの記録は行いません。記録したい場合は再度オプションの") +
                settingNamed("saveLog")->label + "にチェックを入れてください。");
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.filter = messages::csvFilter;
    options.nameHint = nameHint;  // a hint only: a name the user did not type is never used
    options.overwritePrompt = true;
    std::optional<std::filesystem::path> file = askForOutputFile(platform(), options, inputFiles());
    if (!file) {
        app.settings.saveLog = false;
        platform().messageBox(cancelled);
    }
    return file;
}

// Shows what a step reported: AUTO's timer stopped first (a message box keeps delivering its
// ticks), then the status line, then the messages.
void SimulatorDialog::present(const StepOutcome& outcome)
{
    if (outcome.stoppedAuto)
        platform().killTimer(*this, kAutoTimerEvent);
    if (outcome.messageLine)
        statusText = *outcome.messageLine;
    if (outcome.logOpenFailed) {
        app.settings.saveLog = false;
        platform().messageBox(messages::logCannotOpen);
    }
    if (outcome.logWriteFailed)
        platform().messageBox(messages::logWriteFailed);
    if (outcome.finished)
        platform().messageBox(messages::simulationEnded);
}

std::vector<std::filesystem::path> SimulatorDialog::inputFiles() const
{
    std::vector<std::filesystem::path> inputs = {masterFile, app.settingsFile()};
    if (signalFile)
        inputs.push_back(*signalFile);
    return inputs;
}

// The starting asset figures follow the settings handed over.
void SimulatorDialog::handSettingsToEngine()
{
    engine.setSettings(app.settings);
}

// The run sets the commission schedule's largest commission into its settings; the window keeps
// it in its own, which kvn.conf is written from.
void SimulatorDialog::keepScheduleMaximum()
{
    app.settings.maxCommission = engine.settings().maxCommission;
}

void SimulatorDialog::run()
{
    if (refuseWithoutData())
        return;
    if (refuseWhileRunning(messages::alreadyRunning))
        return;
    std::optional<std::filesystem::path> logFile;
    if (app.settings.saveLog)
        logFile = askForLogFile();
    handSettingsToEngine();
    StepOutcome outcome = engine.start(logFile, true, true);
    keepScheduleMaximum();
    present(outcome);
    enableControl(IDC_HISTORY, true);  // from the first run on there is a trade record to show
}

void SimulatorDialog::next()
{
    if (refuseSteppingCommand(messages::autoRunInProgress, true))
        return;
    engine.setAutoRunning(false);
    WaitCursor wait = platform().waitCursor();
    StepOutcome outcome = engine.step();
    keepScheduleMaximum();
    present(outcome);
}

void SimulatorDialog::startAuto()
{
    if (refuseSteppingCommand(messages::autoAlreadyRunning, true))
        return;
    engine.setAutoRunning(true);
    platform().setTimer(*this, kAutoTimerEvent, 0);
}

void SimulatorDialog::stop()
{
    if (refuseSteppingCommand(messages::autoNotRunning, false))
        return;
    engine.setAutoRunning(false);
    platform().killTimer(*this, kAutoTimerEvent);
}

void SimulatorDialog::reset()
{
    if (refuseSteppingCommand(messages::autoRunInProgress, true))
        return;
    present(engine.reset());
}

}  // namespace kv
