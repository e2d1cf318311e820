// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/OutputFile.h"

#include "text/FileKind.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kv {

namespace {

// The files this process holds: locked outputs, and the trade logs of its runs.
struct HeldFile {
    dev_t device;
    ino_t inode;
    bool runLog;
};

std::mutex heldMutex;
std::vector<HeldFile>& heldFiles()
{
    static std::vector<HeldFile> files;
    return files;
}

void hold(dev_t device, ino_t inode, bool runLog)
{
    std::lock_guard guard(heldMutex);
    heldFiles().push_back({device, inode, runLog});
}

void letGo(dev_t device, ino_t inode, bool runLog)
{
    std::lock_guard guard(heldMutex);
    std::vector<HeldFile>& files = heldFiles();
    auto found = std::find_if(files.begin(), files.end(), [&](const HeldFile& f) {
        return f.device == device && f.inode == inode && f.runLog == runLog;
    });
    if (found != files.end())
        files.erase(found);
}

bool held(const struct stat& status, bool runLog)
{
    std::lock_guard guard(heldMutex);
    const std::vector<HeldFile>& files = heldFiles();
    return std::any_of(files.begin(), files.end(), [&](const HeldFile& f) {
        return f.device == status.st_dev && f.inode == status.st_ino && f.runLog == runLog;
    });
}

bool heldHere(const std::filesystem::path& file, bool runLog)
{
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && held(status, runLog);
}

// Takes the lock on `fd` without waiting: 0, kOutputLockedError or the error number.
int lockNow(int fd)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        return errno == EWOULDBLOCK ? kOutputLockedError : errno;
    }
    return 0;
}

// A new file beside `target`, opened for reading and writing: the name carries the process id
// and a counter so that no existing file is ever opened. -1 with errno set when none can be
// created.
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary)
{
    static std::atomic<unsigned> counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary += "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
        int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Copies what `from` holds over the content of `file`, in the file itself.
bool copyInPlace(int from, const std::filesystem::path& file)
{
    int to = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (to < 0)
        return false;
    bool copied = ::lseek(from, 0, SEEK_SET) == 0;
    off_t size = 0;
    char buffer[1 << 16];
    while (copied) {
        ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            copied = n == 0;
            break;
        }
        copied = writeAll(to, std::string_view(buffer, static_cast<size_t>(n)));
        size += n;
    }
    copied = copied && ::ftruncate(to, size) == 0 && ::fsync(to) == 0;
    return ::close(to) == 0 && copied;
}

}  // namespace

int OutputLock::take(const std::filesystem::path& file, bool create)
{
    release();
    for (int attempt = 0; attempt < 10; ++attempt) {
        int opened =
            create ? ::open(file.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666) : -1;
        const bool made = opened >= 0;
        if (!made)
            opened = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (opened < 0)
            return errno == ENOENT && !create ? 0 : errno;
        struct stat status {};
        if (::fstat(opened, &status) != 0 || !S_ISREG(status.st_mode) || held(status, false)) {
            ::close(opened);  // a device, or a file this process holds already
            return 0;
        }
        if (int refusal = lockNow(opened)) {
            ::close(opened);
            return refusal;
        }
        // Another run may have put a new file in the name's place meanwhile: hold that one.
        struct stat now {};
        if (::stat(file.c_str(), &now) != 0 || now.st_dev != status.st_dev || now.st_ino != status.st_ino) {
            ::close(opened);
            continue;
        }
        fd = opened;
        device = status.st_dev;
        inode = status.st_ino;
        created = made;
        name = file;
        hold(device, inode, false);
        return 0;
    }
    return kOutputLockedError;
}

void OutputLock::release()
{
    if (fd < 0)
        return;
    struct stat now {};
    if (created && ::stat(name.c_str(), &now) == 0 && now.st_dev == device && now.st_ino == inode &&
        now.st_size == 0)
        ::unlink(name.c_str());
    letGo(device, inode, false);
    ::close(fd);
    fd = -1;
}

bool lockedHere(const std::filesystem::path& file)
{
    return heldHere(file, false);
}

bool lockedElsewhere(const std::filesystem::path& file)
{
    if (lockedHere(file))
        return false;
    OutputLock probe;
    return probe.take(file, false) == kOutputLockedError;
}

bool runLogOpenHere(const std::filesystem::path& file)
{
    return heldHere(file, true);
}

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
    discard();
}

void OutputFile::discard()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    if (!temporary.empty())
        ::unlink(temporary.c_str());
    temporary.clear();
    if (registeredLog)
        letGo(logDevice, logInode, true);
    registeredLog = false;
    lock.release();
}

bool OutputFile::open(const std::filesystem::path& file, Mode mode)
{
    discard();
    errorNumber = outputRefusal(file);
    if (errorNumber != 0)
        return false;
    std::optional<std::filesystem::path> followed = linkedFile(file, errorNumber);
    if (!followed)
        return false;
    target = *followed;
    struct stat old {};
    targetExisted = ::stat(target.c_str(), &old) == 0;
    targetLinks = targetExisted ? old.st_nlink : 0;
    const FileKind kind = targetExisted ? fileKindOf(old) : FileKind::Missing;
    replacing = mode == Replace && (kind == FileKind::Regular || kind == FileKind::Missing);

    if (replacing) {
        // The old file, when there is one, is locked while the new one is written.
        if ((errorNumber = lock.take(target, false)) != 0)
            return false;
        fd = createTemporaryBeside(target, temporary);
        if (fd < 0) {
            errorNumber = errno;
            temporary.clear();
            lock.release();
            return false;
        }
        if (targetExisted)
            ::fchmod(fd, old.st_mode & 07777);  // the new file keeps the old one's permissions
        return true;
    }

    // Opened without blocking, and looked at once more: what the name holds may have changed
    // since the look above. Emptied only once it is locked.
    int opened = ::open(target.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (opened < 0) {
        errorNumber = errno;
        return false;
    }
    struct stat status {};
    if (::fstat(opened, &status) != 0) {
        errorNumber = errno;
    } else {
        FileKind openedKind = fileKindOf(status);
        errorNumber = openedKind == FileKind::Folder ? EISDIR
            : openedKind == FileKind::Other          ? kNotRegularFileError
                                                     : 0;
        if (errorNumber == 0 && openedKind == FileKind::Regular) {
            if (!held(status, false))
                errorNumber = lockNow(opened);
            if (errorNumber == 0 && ::ftruncate(opened, 0) != 0)
                errorNumber = errno;
            if (errorNumber == 0 && mode == InPlace) {
                registeredLog = true;
                logDevice = status.st_dev;
                logInode = status.st_ino;
                hold(logDevice, logInode, true);
            }
        }
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
    if (replacing && errorNumber == 0 && ::fsync(fd) != 0)
        errorNumber = errno;
    // A file with more than one name (hard links) is written in place once the complete new
    // content stands beside it, so that every name keeps showing the same file; should that
    // fail, the new file takes this name's place as for any other file.
    if (replacing && errorNumber == 0 && targetExisted && targetLinks > 1 && copyInPlace(fd, target)) {
        discard();
        return true;
    }
    if (::close(fd) != 0 && errorNumber == 0)
        errorNumber = errno;
    fd = -1;
    if (replacing && errorNumber == 0 && ::rename(temporary.c_str(), target.c_str()) == 0)
        temporary.clear();
    else if (replacing && errorNumber == 0)
        errorNumber = errno;
    discard();
    return errorNumber == 0;
}

WriteResult writeWholeFile(const std::filesystem::path& file, std::string_view bytes, int* error)
{
    OutputFile out;
    if (!out.open(file)) {
        if (error)
            *error = out.error();
        return WriteResult::CannotOpen;
    }
    out.write(bytes);
    if (out.close())
        return WriteResult::Written;
    if (error)
        *error = out.error() != 0 ? out.error() : EIO;
    return WriteResult::CannotWrite;
}

}  // namespace kv
