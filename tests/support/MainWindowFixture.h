#pragma once
// The main window on the scripted backend over a fresh application object, started in a
// temporary folder that holds a small stock master.

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "support/TempFolder.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kv::test {

class MainWindow {
public:
    // Writes index.txt (UTF-8 lines, header first) unless it is empty, then starts the window.
    explicit MainWindow(const std::vector<std::string>& indexLines = defaultIndex(), bool start = true);
    ~MainWindow();

    static std::vector<std::string> defaultIndex();

    void start();
    // Runs script lines on the topmost dialog.
    void run(const std::vector<std::string>& lines);
    std::string text(int id) const;           // UTF-8 of a control of the main window
    std::vector<std::string> messagesUtf8() const;
    void clearMessages() { platform.clearRecords(); out.str(""); }

    TempFolder folder;
    std::ostringstream out, err;
    HeadlessPlatform platform{out, err};
    std::unique_ptr<SimulatorApp> app = std::make_unique<SimulatorApp>();
    std::unique_ptr<SimulatorDialog> dialog;
};

}  // namespace kv::test
