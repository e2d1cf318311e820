// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchSession.h"

#include "data/SignalFileLoader.h"
#include "data/StockMasterFile.h"
#include "settings/SettingsFile.h"
#include "sim/OutcomeTexts.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/LineReader.h"

namespace kv {

bool stockMasterReadable(const std::filesystem::path& folder, std::ostream& err, const std::string& tool)
{
    int error = 0;
    if (LineReader::open(folder / kStockMasterFileName, &error))
        return true;
    err << "error: " << kStockMasterFileName << " cannot be read in " << folder.string() << " ("
        << systemErrorText(error) << "; " << tool << " reads the stock master of the current folder)\n";
    return false;
}

BatchSession::BatchSession(const std::filesystem::path& folder, std::ostream& err)
    : err(err), app(std::make_unique<SimulatorApp>()), engine(app->master, loadedSignals, app->settings)
{
    const std::filesystem::path masterFile = folder / kStockMasterFileName;
    std::optional<LineReader> reader = LineReader::openInput(masterFile);
    masterLoaded = loadStockMaster(*app, masterFile, reader) == StockMasterLoad::Read;
    // A UTF-8 file's unconvertible characters, as the window's status line tells them.
    if (masterLoaded && reader->replacedCount() > 0)
        err << toUtf8(
                   format(messages::masterReplacedNotice, {static_cast<long long>(reader->replacedCount())}))
            << '\n';

    int error = 0;
    std::vector<std::string> notes;
    const SettingsLoad loaded = loadSettings(app->settings, app->settingsFile(), &error, &notes);
    for (const std::string& note : notes)
        err << "warning: " << toUtf8(note) << '\n';
    switch (loaded) {
    case SettingsLoad::Read:
        break;
    case SettingsLoad::Unreadable:
        err << toUtf8(messages::settingsFileUnreadable + systemErrorText(error)) << '\n';
        break;
    case SettingsLoad::Created:
        err << toUtf8(messages::firstStart) << '\n';
        break;
    case SettingsLoad::CreateFailed:
        err << toUtf8(messages::firstStart) << '\n' << toUtf8(messages::settingsFileNotWritten) << '\n';
        break;
    }
    engine.setSettings(app->settings);
}

RunPreparation BatchSession::prepare(const std::filesystem::path& signalFile, std::optional<int> startRow,
                                     std::optional<int> endRow)
{
    int error = 0;
    std::optional<LineReader> reader = LineReader::openInput(signalFile, &error);
    if (!reader) {
        err << toUtf8(messages::cannotReadFile(error)) << '\n';
        return RunPreparation::CannotOpen;
    }
    SignalLoadResult loaded = loadSignalFile(*reader, app->master, app->tallies, loadedSignals);
    if (loaded.tooManyDates) {
        err << toUtf8(messages::fileTooLarge) << '\n';
        return RunPreparation::TooManyDates;
    }
    if (loaded.rowCount > 0)
        engine.chooseAllRows(std::move(loaded.firstDateText), std::move(loaded.lastDateText));
    if (reader->replacedCount() > 0)
        err << toUtf8(
                   messages::readyToRun +
                   format(messages::signalsReplacedNotice, {static_cast<long long>(reader->replacedCount())}))
            << '\n';
    loadWarnings = loaded.warnings;
    if (loadWarnings.any())
        err << toUtf8(loadWarningsText(loadWarnings)) << '\n';
    if (loadedSignals.count() == 0) {
        err << toUtf8(messages::noSignalsOrMaster) << '\n';
        return RunPreparation::NoRows;
    }

    auto refused = [&](RowChoice choice) {
        if (choice == RowChoice::Chosen)
            return false;
        err << toUtf8(rowChoiceText(choice)) << '\n';
        return true;
    };
    if ((startRow && refused(engine.chooseStart(*startRow))) ||
        (endRow && refused(engine.chooseEnd(*endRow))))
        return RunPreparation::Refused;
    if (!masterLoaded) {
        err << toUtf8(messages::noSignalsOrMaster) << '\n';
        return RunPreparation::Refused;
    }
    return RunPreparation::Ready;
}

}  // namespace kv
