// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingByName.h"

namespace kv {

bool setSettingByName(SimulationSettings& settings, std::string_view name, std::string_view value)
{
    const SettingDescription* setting = settingNamed(name);
    if (!setting)
        return false;
    setSettingText(settings, *setting, value);
    return true;
}

std::optional<SettingKind> settingKind(std::string_view name)
{
    const SettingDescription* setting = settingNamed(name);
    if (!setting)
        return std::nullopt;
    return setting->kind();
}

std::vector<std::string> settingNames()
{
    std::vector<std::string> names;
    for (const SettingDescription& setting : settingsTable())
        names.emplace_back(setting.name);
    return names;
}

}  // namespace kv
