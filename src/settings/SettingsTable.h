// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every setting described once: its name (as --set, --vary and the tools' help write it), the
// field it fills, where kvn.conf keeps it and how it is written there, how the options dialog
// shows it and whether a sweep may vary it. kvn.conf, the command-line tools, the options and
// optimisation windows and the report all go through this table.

#include "settings/SimulationSettings.h"

#include <array>
#include <span>
#include <string_view>
#include <variant>

namespace kv {

// What kind of number a field holds: a decimal amount or rate, a whole number (int32) or a flag.
enum class SettingKind { Decimal, Whole, Flag };

// The file a setting is kept in: the eighteen positions of kvn.conf, or a `name = value` line of
// kirvane.ini beside it (the settings kvn.conf has no place for).
enum class SettingFile { KvnConf, KirvaneIni };

using SettingField =
    std::variant<double SimulationSettings::*, int32_t SimulationSettings::*, bool SimulationSettings::*>;

struct SettingDescription {
    const char* name;
    SettingField field;
    // kvn.conf positions (0-based) of the value; -1 for none. A value kept twice is written at
    // both and read from the later.
    std::array<int, 2> filePositions;
    // A decimal written without decimals ("%.0f"); other decimals are written "%f", whole
    // numbers and flags "%d".
    bool wholeYenInFile;
    // The options dialog shows the value times this (100: a rate shown in percent).
    double shownScale;
    // The optimisation window offers it as an axis. Not so: the settings a run does not read or
    // sets itself (the log, the largest commission, the spare amount, short selling).
    bool optimisable;
    // How the options dialog, the optimisation window and the report name the setting and its
    // unit (UTF-8 source texts; no unit: empty). The only place these texts are written. The two
    // settings the dialog does not show have names of their own here.
    const char* label;
    const char* unit;
    // A coded setting's choices, its code the index (as the dialog's list has them); the rest
    // nullptr. A code without a choice text is shown as its number.
    std::array<const char*, 4> choices;
    SettingFile file = SettingFile::KvnConf;
    // A line that explains the setting where it is set (UTF-8; nullptr: none).
    const char* note = nullptr;

    SettingKind kind() const;
    // The number of choice texts of a coded setting; 0 for the others.
    int choiceCount() const;
};

// The kvn.conf line has this many positions.
inline constexpr int kSettingsFilePositions = 18;

// The settings in their listing order (the order of the tools' help).
std::span<const SettingDescription> settingsTable();

// Nothing when no setting has that name.
const SettingDescription* settingNamed(std::string_view name);

// A setting's value as a number (a flag 0 or 1) and the value set from a number, converted as the
// field's kind converts it (a whole number truncated toward zero within the int32 range).
double settingValue(const SimulationSettings& settings, const SettingDescription& setting);
void setSettingValue(SimulationSettings& settings, const SettingDescription& setting, double value);

// The value set from a text as kvn.conf reads it: decimals by leading decimal number, whole
// numbers by leading integer, flags true when the leading integer is not 0. settingTextValue is
// that value as a number for setSettingValue, so a text can be read once and set many times.
double settingTextValue(const SettingDescription& setting, std::string_view text);
void setSettingText(SimulationSettings& settings, const SettingDescription& setting, std::string_view text);

}  // namespace kv
