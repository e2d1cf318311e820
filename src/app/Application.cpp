#include "app/Application.h"

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "toolkit/Platform.h"

#include <filesystem>

namespace kv {

int runApplication(Platform& platform)
{
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    SimulatorDialog dialog(SimulatorApp::instance(), platform, folder);
    platform.runModal(dialog);
    return 0;
}

}  // namespace kv
