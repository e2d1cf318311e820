// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One setting changed by its name, the value converted as kvn.conf converts it: integer fields
// by leading integer, rates and amounts by leading decimal number, flags true when the integer
// is not 0. The names and kinds come from the settings table.

#include "settings/SettingsTable.h"
#include "settings/SimulationSettings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// false when no field has that name.
bool setSettingByName(SimulationSettings& settings, std::string_view name, std::string_view value);

// Nothing when no field has that name.
std::optional<SettingKind> settingKind(std::string_view name);

// The field names, in the table's order.
std::vector<std::string> settingNames();

}  // namespace kv
