#include "settings/SettingsFile.h"

#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"

#include <fstream>

namespace kv {

namespace {

constexpr size_t kPositions = 18;

bool writeSettings(const SimulationSettings& settings, const std::filesystem::path& file)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << formatSettingsLine(settings);
    out.close();
    return !out.fail();
}

}  // namespace

std::string formatSettingsLine(const SimulationSettings& s)
{
    return format("%.0f,%.0f,%f,%f,%f,%d,%d,%d,%f,%d,%d,%f,%d,%d,%d,%d,%d,%d",
                  {s.capital, s.lossWithinThreeYears, s.leverage, s.marginMaintenanceRate, s.taxRate,
                   s.spareAmount, s.maxPurchaseAmount, s.maxStocks, s.unknownProfitRate, s.commissionSchedule,
                   s.maxCommission, s.operatingRate, s.commissionSchedule, s.buyPriority, s.operationType,
                   int(s.saveLog), int(s.tradeOrder), int(s.shortSellSystem)});
}

SimulationSettings parseSettingsLine(std::string_view line)
{
    Fields<kPositions> p = splitFields<kPositions>(line);
    SimulationSettings s;
    s.capital = leadingDouble(p[0]);
    s.lossWithinThreeYears = leadingDouble(p[1]);
    s.leverage = leadingDouble(p[2]);
    s.marginMaintenanceRate = leadingDouble(p[3]);
    s.taxRate = leadingDouble(p[4]);
    s.spareAmount = leadingInt(p[5]);
    s.maxPurchaseAmount = leadingInt(p[6]);
    s.maxStocks = leadingInt(p[7]);
    s.unknownProfitRate = leadingDouble(p[8]);
    s.commissionSchedule = leadingInt(p[9]);
    s.maxCommission = leadingInt(p[10]);
    s.operatingRate = leadingDouble(p[11]);
    s.commissionSchedule = leadingInt(p[12]);  // the second copy wins
    s.buyPriority = leadingInt(p[13]);
    s.operationType = leadingInt(p[14]);
    s.saveLog = leadingInt(p[15]) != 0;
    s.tradeOrder = leadingInt(p[16]) != 0;
    s.shortSellSystem = leadingInt(p[17]) != 0;
    return s;
}

SettingsLoad loadSettings(SimulationSettings& settings, const std::filesystem::path& file)
{
    settings = SimulationSettings{};
    if (std::optional<LineReader> reader = LineReader::open(file)) {
        settings = parseSettingsLine(reader->next().value_or(std::string_view{}));
        return SettingsLoad::Read;
    }
    return writeSettings(settings, file) ? SettingsLoad::Created : SettingsLoad::CreateFailed;
}

bool saveSettings(const SimulationSettings& settings, const std::filesystem::path& file)
{
    return writeSettings(settings, file);
}

}  // namespace kv
