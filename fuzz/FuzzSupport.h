// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the fuzz targets: a stock master to look names up in, and the fuzzer's
// bytes split into parts.

#include "data/SimulatorApp.h"
#include "data/StockMasterFile.h"
#include "text/Cp932.h"
#include "text/LineReader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace kv::fuzz {

// The application object is large (the per-date tallies); one lives for the whole run.
inline SimulatorApp& sharedApp()
{
    static std::unique_ptr<SimulatorApp> app = [] {
        auto created = std::make_unique<SimulatorApp>();
        LineReader master(toCp932("コード,銘柄名,市場,売買単位\r\n"
                                  "1301,極洋,東証1部,1000\r\n"
                                  "1332,日水,東証1部,100\r\n"
                                  "7203,トヨタ自動車,東証1部,100\r\n"
                                  "9984,ソフトバンク,東証1部,1\r\n"
                                  "0001,大株,東証1部,2000000000\r\n"));
        readStockMaster(master, created->master);
        return created;
    }();
    return *app;
}

inline std::string_view bytes(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The text before the first LF (without it), and what follows it.
inline std::string_view firstLine(std::string_view text, std::string_view& rest)
{
    size_t lf = text.find('\n');
    if (lf == std::string_view::npos) {
        rest = {};
        return text;
    }
    rest = text.substr(lf + 1);
    return text.substr(0, lf);
}

}  // namespace kv::fuzz
