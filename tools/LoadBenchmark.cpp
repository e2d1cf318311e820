// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-load-benchmark: times the 読み込み command on a large signal file. It writes a
// 3,000-stock master and a 250,000-row signal file (code page 932) into a temporary folder,
// opens the main window on the scripted backend and presses 読み込み exactly as a user would,
// then prints the wall time of each load and the memory the loaded rows hold.

#include "BenchmarkData.h"
#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kStocks = kv::BenchmarkFolder::kStocks;
constexpr int kRows = kv::BenchmarkFolder::kRows;
constexpr int kRepeats = 5;

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

}  // namespace

int main()
{
    kv::BenchmarkFolder folder("kirvane-load-benchmark");
    if (!folder.written()) {
        std::fprintf(stderr, "kirvane-load-benchmark: cannot write into %s\n", folder.path().c_str());
        return 1;
    }
    std::filesystem::path signals = folder.signalFile();
    uintmax_t fileBytes = std::filesystem::file_size(signals);

    std::ostringstream shown;  // message boxes of the start-up (the new settings file)
    kv::HeadlessPlatform platform(shown, std::cerr);
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    platform.open(dialog);

    std::vector<double> seconds;
    long rssBefore = residentKiB();
    long rssAfterFirst = 0;
    for (int i = 0; i < kRepeats; ++i) {
        platform.queueFileAnswer(kv::HeadlessPlatform::FileDialogKind::Open, signals);
        auto start = std::chrono::steady_clock::now();
        platform.execute("click " + std::to_string(kv::IDC_LOAD));
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (i == 0)
            rssAfterFirst = residentKiB();
    }
    platform.close(dialog);

    const kv::ListBox& list = dialog.signalList;
    const size_t bytes = dialog.loadedSignals.memoryBytes();
    std::vector<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());

    std::printf("signal file:        %d rows over %d stocks, %ju bytes\n", kRows, kStocks, fileBytes);
    std::printf("rows listed:        %d (loaded: %s, start %s, end %s)\n", list.count(),
                dialog.signalsLoaded ? "yes" : "no", dialog.startDateText.c_str(),
                dialog.endDateText.c_str());
    std::printf("load wall time:     first %.3f s, best %.3f s, median %.3f s of %d\n", seconds.front(),
                sorted.front(), sorted[sorted.size() / 2], kRepeats);
    std::printf("row memory:         %zu bytes = %.2f x file size (typed rows: their texts and numbers; the "
                "list shows them without a copy)\n",
                bytes, static_cast<double>(bytes) / static_cast<double>(fileBytes));
    std::printf("resident set delta: %ld KiB after the first load = %.2f x file size\n",
                rssAfterFirst - rssBefore,
                (rssAfterFirst - rssBefore) * 1024.0 / static_cast<double>(fileBytes));
    return 0;
}
