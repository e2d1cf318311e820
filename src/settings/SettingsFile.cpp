// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsFile.h"

#include "settings/ExtendedSettingsFile.h"
#include "settings/SettingsTable.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"

#include <array>
#include <cerrno>
#include <optional>
#include <string>

namespace kv {

namespace {

bool failWith(int errorNumber, int* error)
{
    if (error)
        *error = errorNumber != 0 ? errorNumber : EIO;
    return false;
}

// A setting's text in the file.
std::string fileText(const SimulationSettings& settings, const SettingDescription& setting)
{
    const double value = settingValue(settings, setting);
    if (setting.kind() != SettingKind::Decimal)
        return format("%d", {static_cast<int32_t>(value)});
    return format(setting.wholeYenInFile ? "%.0f" : "%f", {value});
}

}  // namespace

std::string formatSettingsLine(const SimulationSettings& settings)
{
    std::array<std::string, kSettingsFilePositions> positions;
    for (const SettingDescription& setting : settingsTable()) {
        const std::string text = fileText(settings, setting);
        for (int position : setting.filePositions)
            if (position >= 0)
                positions[static_cast<size_t>(position)] = text;
    }
    std::string line;
    for (size_t i = 0; i < positions.size(); ++i) {
        if (i > 0)
            line += ',';
        line += positions[i];
    }
    return line;
}

SimulationSettings parseSettingsLine(std::string_view line)
{
    Fields<kSettingsFilePositions> p = splitFields<kSettingsFilePositions>(line);
    SimulationSettings settings;
    for (const SettingDescription& setting : settingsTable())
        for (int position : setting.filePositions)  // a value kept twice: the later wins
            if (position >= 0)
                setSettingText(settings, setting, p[static_cast<size_t>(position)]);
    return settings;
}

const SettingDescription* settingNotReadBack(const SimulationSettings& settings)
{
    const std::string line = formatSettingsLine(settings);
    // Read as loadSettings reads it: the line and each field cut at the reader's limits.
    const std::string again =
        formatSettingsLine(parseSettingsLine(std::string_view(line).substr(0, kMaxLineBytes)));
    if (again == line)
        return nullptr;
    const SimulationSettings read = parseSettingsLine(std::string_view(line).substr(0, kMaxLineBytes));
    for (const SettingDescription& setting : settingsTable())
        if (fileText(read, setting) != fileText(settings, setting))
            return &setting;
    return &settingsTable().front();  // unreachable: equal texts make equal lines
}

bool replaceFile(const std::filesystem::path& file, std::string_view bytes, int* error)
{
    int failure = 0;
    if (writeWholeFile(file, bytes, &failure) == WriteResult::Written)
        return true;
    return failWith(failure, error);
}

SettingsLoad loadSettings(SimulationSettings& settings, const std::filesystem::path& file, int* error,
                          std::vector<std::string>* notes)
{
    settings = SimulationSettings{};
    int openError = 0;
    std::optional<LineReader> reader = LineReader::open(file, &openError);
    // The settings kvn.conf has no place for come from kirvane.ini beside it, whatever became of
    // kvn.conf.
    const std::vector<std::string> problems = loadExtendedSettings(settings, extendedSettingsFile(file));
    if (notes)
        notes->insert(notes->end(), problems.begin(), problems.end());
    if (reader) {
        const SimulationSettings extended = settings;
        settings = parseSettingsLine(reader->next().value_or(std::string_view{}));
        copyExtendedSettings(extended, settings);
        return SettingsLoad::Read;
    }
    // Only a file that is not there is a first start; anything else would lose the user's file.
    if (openError != ENOENT) {
        failWith(openError, error);
        return SettingsLoad::Unreadable;
    }
    // kirvane.ini is the user's to write: a first start leaves it as it is.
    return replaceFile(file, formatSettingsLine(settings), error) ? SettingsLoad::Created
                                                                  : SettingsLoad::CreateFailed;
}

bool saveSettings(const SimulationSettings& settings, const std::filesystem::path& file, int* error)
{
    if (settingNotReadBack(settings))
        return failWith(ERANGE, error);
    // All or nothing: a full disk or any other failure leaves the old file (or none) as it was.
    int failure = 0;
    if (writeWholeFile(file, formatSettingsLine(settings), &failure) != WriteResult::Written)
        return failWith(failure, error);
    return saveExtendedSettings(settings, extendedSettingsFile(file), error);
}

}  // namespace kv
