// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/StockMasterFile.h"

#include "data/SimulatorApp.h"
#include "text/Cp932.h"
#include "text/Numbers.h"

namespace kv {

void readStockMaster(LineReader& reader, StockMaster& master)
{
    master.tradingUnit.fill(0);
    if (reader.next()) {
        while (std::optional<std::string_view> line = reader.next()) {
            Fields<4> f = splitFields<4>(*line);
            auto code = static_cast<size_t>(foldStockCode(f[0]));
            master.stockName[code] = widenBlanks(f[1]);
            master.tradingUnit[code] = foldTradingUnit(f[3]);
        }
    }
    master.buildNameIndex();
}

StockMasterLoad loadStockMaster(SimulatorApp& app, const std::filesystem::path& file,
                                std::optional<LineReader>& reader)
{
    app.dataFolder = file.parent_path();
    if (!reader)
        return StockMasterLoad::CannotOpen;
    readStockMaster(*reader, app.master);
    return StockMasterLoad::Read;
}

}  // namespace kv
