// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "text/CommandLine.h"
#include "toolkit/Platform.h"

#include <memory>

namespace kv {

ApplicationArguments parseApplicationArguments(const std::vector<std::string>& arguments)
{
    ApplicationArguments result;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && isOption(argument)) {
            result.error = "不明なオプションです: " + argument;
            return result;
        }
        if (result.signalFile || argument.empty()) {
            result.error = result.signalFile ? "シグナルファイルは一つだけ指定できます: " + argument
                                             : "シグナルファイルの名前が空です";
            return result;
        }
        result.signalFile = argument;
    }
    return result;
}

int runApplication(Platform& platform, const std::optional<std::filesystem::path>& signalFile)
{
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    // A relative name means the folder the program was started in.
    std::optional<std::filesystem::path> file = signalFile;
    if (file && file->is_relative())
        file = folder / *file;
    auto app = std::make_unique<SimulatorApp>();
    SimulatorDialog dialog(*app, platform, folder, file);
    platform.runModal(dialog);
    return 0;
}

}  // namespace kv
