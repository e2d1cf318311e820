// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/FileKind.h"

#include <cerrno>
#include <sys/stat.h>

namespace kv {

namespace {

bool isDevice(const struct stat& status, const char* device)
{
    struct stat known {};
    return ::stat(device, &known) == 0 && S_ISCHR(known.st_mode) && known.st_rdev == status.st_rdev;
}

}  // namespace

FileKind fileKindOf(const struct stat& status)
{
    if (S_ISREG(status.st_mode))
        return FileKind::Regular;
    if (S_ISDIR(status.st_mode))
        return FileKind::Folder;
    if (S_ISCHR(status.st_mode)) {
        if (isDevice(status, "/dev/null"))
            return FileKind::NullDevice;
        if (isDevice(status, "/dev/full"))
            return FileKind::FullDevice;
    }
    return FileKind::Other;
}

FileKind fileKind(const std::filesystem::path& file)
{
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return FileKind::Missing;
    return fileKindOf(status);
}

int outputRefusal(const std::filesystem::path& file)
{
    switch (fileKind(file)) {
    case FileKind::Folder:
        return EISDIR;
    case FileKind::Other:
        return kNotRegularFileError;
    case FileKind::Missing:
    case FileKind::Regular:
    case FileKind::NullDevice:
    case FileKind::FullDevice:
        break;
    }
    return 0;
}

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

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    if (a == b)
        return true;  // whatever the system says of the name (too long, say)
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    // Where each would be written: a link to a file not there yet names that file.
    auto whereWritten = [](const std::filesystem::path& file, std::error_code& error) {
        int linkError = 0;
        std::filesystem::path followed = linkedFile(file, linkError).value_or(file);
        return std::filesystem::weakly_canonical(std::filesystem::absolute(followed, error), error);
    };
    std::error_code ea, eb;
    std::filesystem::path ca = whereWritten(a, ea);
    std::filesystem::path cb = whereWritten(b, eb);
    return !ea && !eb && ca == cb;
}

}  // namespace kv
