// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OutputFileDialog.h"

#include "resources/Messages.h"
#include "text/Cp932.h"
#include "text/FileKind.h"
#include "text/OutputFile.h"

#include <algorithm>

namespace kv {

std::optional<std::filesystem::path> askForOutputFile(Platform& platform, const FileDialogOptions& options,
                                                      const std::vector<std::filesystem::path>& inputs)
{
    for (;;) {
        std::optional<std::filesystem::path> chosen = platform.saveFile(options);
        if (!chosen)
            return std::nullopt;
        auto isChosen = [&](const std::filesystem::path& input) { return sameFile(*chosen, input); };
        size_t replaced = 0;
        const std::string name = toCp932(chosen->filename().string(), toCp932("？"), replaced);
        // The trade log a run of this window is writing is an input too: a save onto it would
        // be followed by the run's next lines.
        if (runLogOpenHere(*chosen))
            platform.messageBox(messages::runningLogNotWritable);
        else if (std::any_of(inputs.begin(), inputs.end(), isChosen))
            platform.messageBox(messages::inputNotWritable + name);
        else if (lockedElsewhere(*chosen))
            platform.messageBox(messages::outputLocked + name);
        else
            return chosen;
    }
}

std::optional<std::filesystem::path> askForOutputFile(Platform& platform, const char* defaultExtension,
                                                      const std::string& filter,
                                                      const std::vector<std::filesystem::path>& inputs)
{
    FileDialogOptions options;
    options.defaultExtension = defaultExtension;
    options.filter = filter;
    options.overwritePrompt = true;
    return askForOutputFile(platform, options, inputs);
}

}  // namespace kv
