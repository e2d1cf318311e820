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

std::vector<std::string> MainWindow::defaultIndex()
{
    return {"コード,銘柄名,市場,売買単位", "1301,極洋,東証1部,1000", "7203,トヨタ自動車,東証1部,100",
            "9984,ソフトバンク,東証1部,100"};
}

void MainWindow::start()
{
    dialog = std::make_unique<SimulatorDialog>(*app, platform, folder.path());
    platform.open(*dialog);
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
