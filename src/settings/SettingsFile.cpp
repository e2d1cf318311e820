// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsFile.h"

#include "settings/ExtendedSettingsFile.h"
#include "settings/SettingsTable.h"
#include "text/FileKind.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
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

// The file that `file` names once the symbolic links it is are followed, whether that file
// exists or not: a dangling link names the file it would create. Nothing (and the error number
// in `error`) when a link cannot be read or the links go round.
std::optional<std::filesystem::path> linkedFile(const std::filesystem::path& file, int& error)
{
    constexpr int kMaxLinks = 40;  // as many as the system follows
    std::filesystem::path current = file;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(current, ec))
            return current;
        std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec) {
            error = ec.value();
            return std::nullopt;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    error = ELOOP;
    return std::nullopt;
}

// Writes the bytes over the file's old content, in the file itself.
bool writeInPlace(const std::filesystem::path& file, std::string_view bytes)
{
    int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written =
        writeAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
}

// Writes to a device as it stands: /dev/null takes the bytes, /dev/full refuses them.
bool writeToDevice(const std::filesystem::path& device, std::string_view bytes, int* error)
{
    int fd = ::open(device.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failWith(errno, error);
    bool written = writeAll(fd, bytes);
    int writeError = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        writeError = errno;
    }
    return written || failWith(writeError, error);
}

// Replaces the content of `file` all or nothing: a full disk or any other failure leaves the
// old file (or no file) as it was, never an empty or partly written one. A symbolic link is
// followed, so the file it names is replaced (or created) and the link stays. A file with more
// than one name (hard links) is written in place once a complete copy of the new content stands
// beside it, so that every name keeps showing the same file; should that write fail, the copy
// takes the file's place as for any other file, and this name alone has the new content.
}  // namespace

bool replaceFile(const std::filesystem::path& file, std::string_view bytes, int* error)
{
    int linkError = 0;
    std::optional<std::filesystem::path> resolved = linkedFile(file, linkError);
    if (!resolved)
        return failWith(linkError, error);
    const std::filesystem::path& target = *resolved;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        switch (fileKindOf(old)) {
        case FileKind::Regular:
            break;
        case FileKind::NullDevice:
        case FileKind::FullDevice:
            return writeToDevice(target, bytes, error);
        case FileKind::Folder:
            return failWith(EISDIR, error);
        case FileKind::Missing:
        case FileKind::Other:
            return failWith(kNotRegularFileError, error);
        }
    }

    std::filesystem::path temporary;
    int fd = createTemporaryBeside(target, temporary);
    if (fd < 0)
        return failWith(errno, error);
    if (exists)
        ::fchmod(fd, old.st_mode & 07777);  // the new file keeps the old one's permissions
    bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int writeError = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (written && exists && old.st_nlink > 1 && writeInPlace(target, bytes)) {
        ::unlink(temporary.c_str());
        return true;
    }
    if (written && ::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    if (written)
        writeError = errno;
    ::unlink(temporary.c_str());
    return failWith(writeError, error);
}

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

SettingsLoad loadSettings(SimulationSettings& settings, const std::filesystem::path& file, int* error,
                          std::vector<std::string>* notes)
{
    settings = SimulationSettings{};
    int openError = 0;
    std::optional<LineReader> reader = LineReader::open(file, &openError);
    // The settings kvn.conf has no place for come from kirvane.ini beside it, whatever became of
    // kvn.conf.
    const std::vector<std::string> problems = loadExtendedSettings(settings, extendedSettingsFile(file));
    if (notes)
        notes->insert(notes->end(), problems.begin(), problems.end());
    if (reader) {
        const SimulationSettings extended = settings;
        settings = parseSettingsLine(reader->next().value_or(std::string_view{}));
        copyExtendedSettings(extended, settings);
        return SettingsLoad::Read;
    }
    // Only a file that is not there is a first start; anything else would lose the user's file.
    if (openError != ENOENT) {
        failWith(openError, error);
        return SettingsLoad::Unreadable;
    }
    // kirvane.ini is the user's to write: a first start leaves it as it is.
    return replaceFile(file, formatSettingsLine(settings), error) ? SettingsLoad::Created
                                                                 : SettingsLoad::CreateFailed;
}

bool saveSettings(const SimulationSettings& settings, const std::filesystem::path& file, int* error)
{
    return replaceFile(file, formatSettingsLine(settings), error) &&
        saveExtendedSettings(settings, extendedSettingsFile(file), error);
}

}  // namespace kv
