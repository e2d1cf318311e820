// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ExtendedSettingsFile.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "text/Cp932.h"
#include "text/FileKind.h"
#include "text/LineReader.h"
#include "text/Format.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace kv {

namespace {

constexpr std::string_view kSection = "simulation";
// A settings file is a few lines: anything larger is not one.
constexpr std::uintmax_t kLargestFile = 1 << 20;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool isExtended(const SettingDescription& setting)
{
    return setting.file == SettingFile::KirvaneIni;
}

// The value a line's text gives the setting, or none when the setting does not take it: a whole
// number (a code among the setting's choices, or 0 or more), a finite decimal, a flag 0 or 1.
std::optional<double> valueOf(const SettingDescription& setting, std::string_view text)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (setting.kind() == SettingKind::Decimal) {
        double value = 0;
        auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end != last || !std::isfinite(value))
            return std::nullopt;
        return value;
    }
    int32_t value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || value < 0)
        return std::nullopt;
    if (setting.kind() == SettingKind::Flag && value > 1)
        return std::nullopt;
    if (setting.choiceCount() > 0 && value >= setting.choiceCount())
        return std::nullopt;
    return value;
}

// A section heading's name ("[simulation]" gives "simulation"), or none for any other line.
std::optional<std::string_view> sectionOf(std::string_view line)
{
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return trimmed(line.substr(1, line.size() - 2));
}

bool isComment(std::string_view line)
{
    return line.empty() || line.front() == '#' || line.front() == ';';
}

std::string valueText(const SettingDescription& setting, const SimulationSettings& settings)
{
    const double value = settingValue(settings, setting);
    if (setting.kind() != SettingKind::Decimal)
        return std::to_string(static_cast<int32_t>(value));
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string("0");
}

bool atDefault(const SettingDescription& setting, const SimulationSettings& settings)
{
    return settingValue(settings, setting) == settingValue(SimulationSettings{}, setting);
}

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The whole file, or none (with the system's error number) when it cannot be read; an empty text
// when there is no file.
std::optional<std::string> readText(const std::filesystem::path& file, int& error)
{
    switch (fileKind(file)) {
    case FileKind::Missing:
        error = ENOENT;
        return std::nullopt;
    case FileKind::Regular:
        break;
    case FileKind::Folder:
        error = EISDIR;
        return std::nullopt;
    case FileKind::NullDevice:
    case FileKind::FullDevice:
    case FileKind::Other:
        error = kNotRegularFileError;
        return std::nullopt;
    }
    std::error_code sizeError;
    if (std::filesystem::file_size(file, sizeError) > kLargestFile && !sizeError) {
        error = EFBIG;
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = errno != 0 ? errno : EIO;
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = EIO;
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::filesystem::path extendedSettingsFile(const std::filesystem::path& kvnConf)
{
    return kvnConf.parent_path() / kExtendedSettingsFileName;
}

std::vector<std::string> parseExtendedSettings(std::string_view text, SimulationSettings& settings)
{
    static const std::string notALine =
        toCp932("kirvane.ini の %d 行目「%s」は「名前 = 値」の形ではありません。");
    static const std::string unknown = toCp932("kirvane.ini の %d 行目「%s」: %s という設定はありません。");
    static const std::string badValue =
        toCp932("kirvane.ini の %d 行目「%s」: %s の値として使えません。既定値 %s を使います。");
    const SimulationSettings defaults;
    copyExtendedSettings(defaults, settings);
    std::vector<std::string> problems;
    std::string_view section;
    int number = 0;
    for (std::string_view raw : linesOf(text)) {
        ++number;
        const std::string_view line = trimmed(raw);
        if (isComment(line))
            continue;
        if (std::optional<std::string_view> heading = sectionOf(line)) {
            section = *heading;
            continue;
        }
        if (section != kSection)
            continue;
        const std::string shown = toCp932(line);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            problems.push_back(format(notALine, {number, shown}));
            continue;
        }
        const std::string_view name = trimmed(line.substr(0, equals));
        const SettingDescription* setting = settingNamed(name);
        if (!setting || !isExtended(*setting)) {
            problems.push_back(format(unknown, {number, shown, toCp932(name)}));
            continue;
        }
        if (std::optional<double> value = valueOf(*setting, trimmed(line.substr(equals + 1)))) {
            setSettingValue(settings, *setting, *value);
            continue;
        }
        setSettingValue(settings, *setting, settingValue(defaults, *setting));
        problems.push_back(format(badValue, {number, shown, setting->name, valueText(*setting, defaults)}));
    }
    return problems;
}

std::vector<std::string> loadExtendedSettings(SimulationSettings& settings, const std::filesystem::path& file)
{
    static const std::string unreadable = toCp932("kirvane.ini を読めません。既定値を使います：");
    copyExtendedSettings(SimulationSettings{}, settings);
    int error = 0;
    std::optional<std::string> text = readText(file, error);
    if (!text) {
        if (error == ENOENT)
            return {};
        return {unreadable + systemErrorText(error)};
    }
    return parseExtendedSettings(*text, settings);
}

std::string formatExtendedSettings(std::string_view oldText, const SimulationSettings& settings)
{
    std::vector<bool> written(settingsTable().size(), false);
    std::string text;
    std::string_view section;
    bool sawSection = false;
    // The settings not written yet that differ from their default, as lines of the section.
    auto missing = [&] {
        std::string lines;
        for (size_t i = 0; i < settingsTable().size(); ++i) {
            const SettingDescription& setting = settingsTable()[i];
            if (isExtended(setting) && !written[i] && !atDefault(setting, settings)) {
                lines += std::string(setting.name) + " = " + valueText(setting, settings) + "\n";
                written[i] = true;
            }
        }
        return lines;
    };
    for (std::string_view raw : linesOf(oldText)) {
        const std::string_view line = trimmed(raw);
        std::optional<std::string_view> heading = sectionOf(line);
        if (heading) {
            // The section ends: the settings it lacks go at its end.
            if (section == kSection)
                text += missing();
            section = *heading;
            sawSection = sawSection || section == kSection;
        } else if (section == kSection && !isComment(line) && line.find('=') != std::string_view::npos) {
            const std::string_view name = trimmed(line.substr(0, line.find('=')));
            const SettingDescription* setting = settingNamed(name);
            if (setting && isExtended(*setting)) {
                const size_t index = static_cast<size_t>(setting - settingsTable().data());
                if (!written[index]) {
                    text += std::string(name) + " = " + valueText(*setting, settings) + "\n";
                    written[index] = true;
                    continue;
                }
            }
        }
        text += raw;
        text += '\n';
    }
    if (section == kSection)
        text += missing();
    if (!sawSection) {
        const std::string lines = missing();
        if (!lines.empty())
            text += (text.empty() ? "" : "\n") + std::string("[simulation]\n") + lines;
    }
    return text;
}

bool saveExtendedSettings(const SimulationSettings& settings, const std::filesystem::path& file, int* error)
{
    int readError = 0;
    std::optional<std::string> old = readText(file, readError);
    if (!old && readError != ENOENT) {
        if (error)
            *error = readError;
        return false;
    }
    if (!old) {
        bool allDefault = true;
        for (const SettingDescription& setting : settingsTable())
            allDefault = allDefault && (!isExtended(setting) || atDefault(setting, settings));
        if (allDefault)
            return true;
    }
    const std::string text = formatExtendedSettings(old.value_or(std::string()), settings);
    if (old && text == *old)
        return true;
    return replaceFile(file, text, error);
}

void copyExtendedSettings(const SimulationSettings& from, SimulationSettings& to)
{
    for (const SettingDescription& setting : settingsTable())
        if (isExtended(setting))
            setSettingValue(to, setting, settingValue(from, setting));
}

}  // namespace kv
