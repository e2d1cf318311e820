// SPDX-License-Identifier: GPL-3.0-or-later
// kvn.conf of any content: its first line read into the settings, which must then write a line
// that reads back as itself.

#include "FuzzSupport.h"
#include "settings/SettingsFile.h"

#include <cmath>
#include <cstdlib>

namespace {

bool allFinite(const kv::SimulationSettings& s)
{
    for (double v : {s.capital, s.lossWithinThreeYears, s.leverage, s.marginMaintenanceRate, s.taxRate,
                     s.unknownProfitRate, s.operatingRate}) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// The line is read within 255 bytes and 64 per position: a longer value (a capital of 1e70
// written in whole yen) cannot read back whole.
bool readsWhole(std::string_view line)
{
    if (line.size() > kv::kMaxLineBytes)
        return false;
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != std::string_view::npos; start = comma + 1) {
        if (comma - start > kv::kMaxFieldBytes)
            return false;
    }
    return line.size() - start <= kv::kMaxFieldBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kv::LineReader reader{std::string(kv::fuzz::bytes(data, size))};
    kv::SimulationSettings settings = kv::parseSettingsLine(reader.next().value_or(std::string_view{}));
    std::string line = kv::formatSettingsLine(settings);
    kv::SimulationSettings again = kv::parseSettingsLine(line);
    // Once written, a line reads back to the same line (six decimals and whole yen are kept).
    if (allFinite(settings) && readsWhole(line) && kv::formatSettingsLine(again) != line)
        std::abort();
    return 0;
}
