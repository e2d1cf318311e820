// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/StockMaster.h"

#include "data/SimulatorApp.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"

namespace kv::test {

StockMaster& StockMaster::add(int code, std::string utf8Name, int unit)
{
    stocks.push_back({code, std::move(utf8Name), unit});
    return *this;
}

std::vector<std::string> StockMaster::indexLines() const
{
    std::vector<std::string> lines{"コード,銘柄名,市場,売買単位"};
    for (const TestStock& s : stocks)
        lines.push_back(std::to_string(s.code) + "," + s.name + ",東証1部," + std::to_string(s.unit));
    return lines;
}

std::filesystem::path StockMaster::writeIndex(const TempFolder& folder, std::string_view fileName) const
{
    return folder.writeLines(fileName, indexLines());
}

void StockMaster::enterInto(SimulatorApp& app) const
{
    for (const TestStock& s : stocks) {
        app.master.stockName[static_cast<size_t>(s.code)] = toCp932(s.name);
        app.master.tradingUnit[static_cast<size_t>(s.code)] = s.unit;
    }
    app.master.buildNameIndex();
}

StockMaster listedStocks()
{
    return {{1301, "極洋", 1000}, {7203, "トヨタ自動車", 100}, {9984, "ソフトバンク", 100}};
}

}  // namespace kv::test
