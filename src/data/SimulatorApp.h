#pragma once
// The one application object: the stock master, the settings and the signal statistics, all in
// fixed-size storage that lives as long as the process. The signals themselves live on as the
// rows of the main window's signal list.

#include "settings/SimulationSettings.h"
#include "stats/SignalTally.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kv {

inline constexpr int kStockCodeCount = 10000;  // codes 0..9999
inline constexpr int kDateSlotCount = 250000;  // date slots 0..249999

class SimulatorApp {
public:
    // The program's single instance.
    static SimulatorApp& instance();

    SimulatorApp() = default;
    SimulatorApp(const SimulatorApp&) = delete;
    SimulatorApp& operator=(const SimulatorApp&) = delete;

    // Stock master: name and trading unit by stock code; empty and 0 for unlisted codes.
    std::array<std::string, kStockCodeCount> stockName;
    std::array<int32_t, kStockCodeCount> tradingUnit{};

    SimulationSettings settings;

    // Statistics of the loaded signal file: per stock, overall, per date slot.
    std::array<SignalTally, kStockCodeCount> stockTally{};
    SignalTally overallTally{};
    std::array<SignalTally, kDateSlotCount> dateTally{};
    std::array<int32_t, kDateSlotCount> slotDate{};  // yyyymmdd of each slot; 0 when unused

    // The folder of the stock master in use; the settings file is kept beside it.
    std::filesystem::path dataFolder;
    std::filesystem::path settingsFile() const;

    // Name look-up, rebuilt after the stock master is read. An empty name matches nothing.
    void buildNameIndex();
    int32_t highestCodeNamed(std::string_view name) const;  // 0 when no stock has the name
    int32_t lowestCodeNamed(std::string_view name) const;   // 0 when no stock has the name

private:
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct Codes {
        int32_t lowest;
        int32_t highest;
    };
    std::unordered_map<std::string, Codes, NameHash, std::equal_to<>> codesByName;
};

}  // namespace kv
