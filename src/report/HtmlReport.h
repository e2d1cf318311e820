// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report of a run: one HTML5 page in UTF-8 that needs nothing else (no network, no file
// beside it) and prints on A4. In this order: which data and settings were run, the key figures
// and the full table, the asset curve and drawdown, the month-by-year heatmap and the yearly
// table, the trade list (sortable by its headings when script runs), and the signal statistics.
// A <script type="application/json" id="kirvane-data"> element carries kirvane-batch --json's
// "statistics" (without its per-stock "stocks" list) and "results" objects, so a tool can read
// the figures back.
//
// The window's レポート保存 and kirvane-batch --report both write it through writeHtmlReport.

#include <cstdint>
#include <filesystem>
#include <string>

namespace kv {

class Backtest;
class SimulatorApp;
struct MonteCarloResult;

struct ReportSource {
    const SimulatorApp& app;  // the stock master and the signal file's statistics
    const Backtest& engine;   // the run: its settings, signal rows and results
    std::filesystem::path signalFile;
    std::filesystem::path stockMasterFile;
    // The Monte Carlo of the trade order, when one was run: its own section, and its
    // "monteCarlo" object in the page's data.
    const MonteCarloResult* monteCarlo = nullptr;
};

// The page, made on `madeOn` (yyyymmdd).
std::string htmlReport(const ReportSource& source, int32_t madeOn);

// Writes the page made today to `file`, replacing it; false when it cannot be written whole.
[[nodiscard]] bool writeHtmlReport(const ReportSource& source, const std::filesystem::path& file);

}  // namespace kv
