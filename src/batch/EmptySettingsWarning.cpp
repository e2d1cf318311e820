// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/EmptySettingsWarning.h"

#include "data/SimulatorApp.h"
#include "settings/SettingsFile.h"

namespace kv {

void warnOfEmptySettings(const SimulatorApp& app, std::ostream& err)
{
    if (app.settings == parseSettingsLine(""))
        err << "warning: " << app.settingsFile().string() << " holds no value: every setting reads as 0\n";
}

}  // namespace kv
