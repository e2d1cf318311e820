#include "settings/SettingsFile.h"

#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

constexpr size_t kPositions = 18;

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Replaces the file as a whole or not at all: the line goes to a temporary file in the same
// folder, which is flushed to disk, checked and renamed over the old file. On any failure the
// temporary file is removed and the old file stays as it was, so a full disk or a crash never
// leaves an empty or half-written settings file.
bool writeSettings(const SimulationSettings& settings, const std::filesystem::path& file)
{
    std::string temporary = file.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    // The new file keeps the old one's permissions; a first file gets the usual rw-r--r--.
    struct stat old {};
    const mode_t mode = ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, formatSettingsLine(settings)) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), file.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
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
