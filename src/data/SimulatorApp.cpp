// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SimulatorApp.h"

#include "settings/SettingsFile.h"

namespace kv {

std::filesystem::path SimulatorApp::settingsFile() const
{
    return dataFolder / kSettingsFileName;
}

}  // namespace kv
