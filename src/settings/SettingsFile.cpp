// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsFile.h"

#include "settings/SettingsTable.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

bool failWith(int errorNumber, int* error)
{
    if (error)
        *error = errorNumber != 0 ? errorNumber : EIO;
    return false;
}

// Writes every byte to fd, through partial writes and interruptions.
bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// A new file beside `target`, opened for writing: the name carries the process id and a counter
// so that no existing file is ever opened. -1 with errno set when none can be created.
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary)
{
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary += "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Replaces the content of `file` all or nothing: a full disk or any other failure leaves the
// old file (or no file) as it was, never an empty or partly written one. A link is followed, so
// the file it names is replaced and the link stays.
bool replaceFile(const std::filesystem::path& file, std::string_view bytes, int* error)
{
    std::error_code ec;
    std::filesystem::path target = file;
    if (std::filesystem::is_symlink(file, ec)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(file, ec);
        if (!ec)
            target = resolved;
    }
    std::filesystem::path temporary;
    int fd = createTemporaryBeside(target, temporary);
    if (fd < 0)
        return failWith(errno, error);

    // The new file keeps the old one's permissions.
    struct stat old;
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int writeError = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (written && ::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    if (written)
        writeError = errno;
    ::unlink(temporary.c_str());
    return failWith(writeError, error);
}

}  // namespace

std::string formatSettingsLine(const SimulationSettings& settings)
{
    std::array<std::string, kSettingsFilePositions> positions;
    for (const SettingDescription& setting : settingsTable()) {
        const double value = settingValue(settings, setting);
        std::string text;
        if (setting.kind() != SettingKind::Decimal)
            text = format("%d", {static_cast<int32_t>(value)});
        else
            text = format(setting.wholeYenInFile ? "%.0f" : "%f", {value});
        for (int position : setting.filePositions)
            if (position >= 0)
                positions[static_cast<size_t>(position)] = text;
    }
    std::string line;
    for (size_t i = 0; i < positions.size(); ++i) {
        if (i > 0)
            line += ',';
        line += positions[i];
    }
    return line;
}

SimulationSettings parseSettingsLine(std::string_view line)
{
    Fields<kSettingsFilePositions> p = splitFields<kSettingsFilePositions>(line);
    SimulationSettings settings;
    for (const SettingDescription& setting : settingsTable())
        for (int position : setting.filePositions)  // a value kept twice: the later wins
            if (position >= 0)
                setSettingText(settings, setting, p[static_cast<size_t>(position)]);
    return settings;
}

SettingsLoad loadSettings(SimulationSettings& settings, const std::filesystem::path& file, int* error)
{
    settings = SimulationSettings{};
    int openError = 0;
    if (std::optional<LineReader> reader = LineReader::open(file, &openError)) {
        settings = parseSettingsLine(reader->next().value_or(std::string_view{}));
        return SettingsLoad::Read;
    }
    // Only a file that is not there is a first start; anything else would lose the user's file.
    if (openError != ENOENT) {
        failWith(openError, error);
        return SettingsLoad::Unreadable;
    }
    return saveSettings(settings, file, error) ? SettingsLoad::Created : SettingsLoad::CreateFailed;
}

bool saveSettings(const SimulationSettings& settings, const std::filesystem::path& file, int* error)
{
    return replaceFile(file, formatSettingsLine(settings), error);
}

}  // namespace kv
