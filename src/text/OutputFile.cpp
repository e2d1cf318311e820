// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/OutputFile.h"

#include "text/FileKind.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

OutputFile::~OutputFile()
{
    if (fd >= 0)
        ::close(fd);
}

bool OutputFile::open(const std::filesystem::path& file)
{
    errorNumber = outputRefusal(file);
    if (errorNumber != 0)
        return false;
    // Opened without blocking, and looked at once more: what the name holds may have changed
    // since the look above.
    int opened = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (opened < 0) {
        errorNumber = errno;
        return false;
    }
    struct stat status {};
    if (::fstat(opened, &status) != 0) {
        errorNumber = errno;
    } else {
        FileKind kind = fileKindOf(status);
        errorNumber = kind == FileKind::Folder ? EISDIR : kind == FileKind::Other ? kNotRegularFileError : 0;
    }
    if (errorNumber != 0) {
        ::close(opened);
        return false;
    }
    ::fcntl(opened, F_SETFL, ::fcntl(opened, F_GETFL) & ~O_NONBLOCK);
    fd = opened;
    return true;
}

bool OutputFile::write(std::string_view bytes)
{
    if (fd < 0 || errorNumber != 0)
        return false;
    if (writeAll(fd, bytes))
        return true;
    errorNumber = errno;
    return false;
}

bool OutputFile::close()
{
    if (fd < 0)
        return false;
    if (::close(fd) != 0 && errorNumber == 0)
        errorNumber = errno;
    fd = -1;
    return errorNumber == 0;
}

WriteResult writeWholeFile(const std::filesystem::path& file, std::string_view bytes)
{
    OutputFile out;
    if (!out.open(file))
        return WriteResult::CannotOpen;
    out.write(bytes);
    return out.close() ? WriteResult::Written : WriteResult::CannotWrite;
}

}  // namespace kv
