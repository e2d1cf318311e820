// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One builder for the tests' stock masters: the same stocks written as index.txt, or put
// straight into the data store.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kv {
class SimulatorApp;
}

namespace kv::test {

class TempFolder;

struct TestStock {
    int code;
    std::string name;  // UTF-8
    int unit;
};

class StockMaster {
public:
    StockMaster(std::initializer_list<TestStock> stocks) : stocks(stocks) {}

    StockMaster& add(int code, std::string utf8Name, int unit);

    // The lines of index.txt (UTF-8): a header, then "code,name,market,unit" per stock.
    std::vector<std::string> indexLines() const;
    // Writes them (code page 932, CR LF) into `folder`.
    std::filesystem::path writeIndex(const TempFolder& folder, std::string_view fileName = "index.txt") const;
    // Enters the stocks into the store, as reading index.txt would, and rebuilds the name index.
    void enterInto(SimulatorApp& app) const;

private:
    std::vector<TestStock> stocks;
};

// Three listed stocks: 1301 極洋 (unit 1000), 7203 トヨタ自動車 (100), 9984 ソフトバンク (100).
StockMaster listedStocks();

}  // namespace kv::test
