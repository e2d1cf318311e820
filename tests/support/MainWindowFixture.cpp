// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MainWindowFixture.h"

#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

namespace kv::test {

MainWindow::MainWindow(const std::vector<std::string>& indexLines, bool startNow)
{
    if (!indexLines.empty())
        folder.writeLines("index.txt", indexLines);
    if (startNow)
        start();
}

MainWindow::~MainWindow()
{
    if (dialog && platform.viewOf(*dialog))
        platform.close(*dialog);
}

void MainWindow::start()
{
    dialog = std::make_unique<SimulatorDialog>(*app, platform, folder.path());
    platform.open(*dialog);
}

void MainWindow::click(int id)
{
    platform.execute("click " + std::to_string(id));
}

void MainWindow::select(int listId, int row)
{
    platform.execute("select " + std::to_string(listId) + " " + std::to_string(row));
}

void MainWindow::menu(int id)
{
    platform.execute("menu " + std::to_string(id));
}

void MainWindow::tick(int n)
{
    platform.execute("tick " + std::to_string(n));
}

void MainWindow::run(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        platform.execute(line);
}

std::string MainWindow::text(int id) const
{
    return toUtf8(platform.viewOf(*dialog)->text(id));
}

std::vector<std::string> MainWindow::messagesUtf8() const
{
    std::vector<std::string> result;
    for (const std::string& m : platform.messages())
        result.push_back(toUtf8(m));
    return result;
}

}  // namespace kv::test
