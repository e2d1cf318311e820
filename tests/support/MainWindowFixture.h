// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window on the scripted backend over a fresh application object, started in a
// temporary folder that holds a small stock master. Tests drive it by control id:
// click(IDC_RUN), select(IDC_SIGNAL_LIST, 2), tick(10).

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "support/StockMaster.h"
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
    explicit MainWindow(const std::vector<std::string>& indexLines = listedStocks().indexLines(),
                        bool start = true);
    ~MainWindow();

    void start();
    // Presses a button of the topmost dialog.
    void click(int id);
    // Selects a row of a list of the topmost dialog (-1: none) and delivers the change.
    void select(int listId, int row);
    // Chooses an item of the window menu.
    void menu(int id);
    // Delivers up to n ticks of the main window's timer.
    void tick(int n);
    // Runs script lines on the topmost dialog.
    void run(const std::vector<std::string>& lines);
    std::string text(int id) const;  // UTF-8 of a control of the main window
    std::vector<std::string> messagesUtf8() const;
    void clearMessages()
    {
        platform.clearRecords();
        out.str("");
    }

    TempFolder folder;
    std::ostringstream out, err;
    HeadlessPlatform platform{out, err};
    std::unique_ptr<SimulatorApp> app = std::make_unique<SimulatorApp>();
    std::unique_ptr<SimulatorDialog> dialog;
};

}  // namespace kv::test
