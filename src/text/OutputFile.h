// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file the user names for the program to write (a CSV export, a picture, a report): links
// followed, written straight to the system, every failed write and a failed close told whatever
// its size. The content goes to a new file beside the target, which takes the target's name
// only once every byte is written: a failure leaves the old file whole (or none) and no partial
// file. A trade log, which grows while its run steps, is written in place instead.
//
// Each output is held with an advisory lock (flock) while it is written, so that two runs never
// write one file at once: the second one finds it locked and is refused.

#include <filesystem>
#include <string_view>
#include <sys/types.h>

namespace kv {

// An advisory lock on the file a name gives, links followed; released by the destructor.
class OutputLock {
public:
    OutputLock() = default;
    ~OutputLock() { release(); }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

    // Locks the regular file `file` names: 0 when it is held (or there is nothing to hold: a
    // device, a missing file that is not to be created), kOutputLockedError when another
    // process holds it, else the system's error number. With `create`, a missing file is
    // created empty to be held; should it still be empty at the release, it is removed again,
    // so that a run that wrote nothing leaves nothing.
    int take(const std::filesystem::path& file, bool create);
    void release();

private:
    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
    bool created = false;
    std::filesystem::path name;
};

// True when a lock of this process holds the file `file` names.
bool lockedHere(const std::filesystem::path& file);

// True when another process holds the file `file` names locked.
bool lockedElsewhere(const std::filesystem::path& file);

// True when `file` is a trade log this process has open for a run (OutputFile::InPlace).
bool runLogOpenHere(const std::filesystem::path& file);

class OutputFile {
public:
    enum Mode {
        Replace,  // a new file beside the target, renamed into place by close()
        InPlace,  // the target itself, emptied: a run's trade log
    };

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Readies the file for writing. A folder, a FIFO or a device other than /dev/null and
    // /dev/full is refused before it is opened (see outputRefusal), so nothing blocks; so is a
    // file another run holds locked (kOutputLockedError). False when it cannot be opened;
    // error() tells why.
    [[nodiscard]] bool open(const std::filesystem::path& file, Mode mode = Replace);

    // Appends the bytes; false once any write has failed.
    bool write(std::string_view bytes);

    // Closes the file; true when it was opened, every write reached it, the close succeeded
    // and, for Replace, the new content took the target's place. On false the new content is
    // gone and the target is as it was.
    [[nodiscard]] bool close();

    bool isOpen() const { return fd >= 0; }
    int error() const { return errorNumber; }  // the system's error number, or one of FileKind.h's

private:
    void discard();

    int fd = -1;
    int errorNumber = 0;
    bool replacing = false;
    bool targetExisted = false;
    nlink_t targetLinks = 0;
    std::filesystem::path target;     // links followed
    std::filesystem::path temporary;  // beside the target, while replacing
    OutputLock lock;
    bool registeredLog = false;
    dev_t logDevice = 0;
    ino_t logInode = 0;
};

enum class WriteResult {
    Written,
    CannotOpen,   // nothing was written: the file cannot be created, or is no file to write
    CannotWrite,  // the file was opened, but not all of the bytes reached it
};

// Replaces the content of `file` with `bytes` through an OutputFile; `error`, when given, gets
// the error number of a failure.
[[nodiscard]] WriteResult writeWholeFile(const std::filesystem::path& file, std::string_view bytes,
                                         int* error = nullptr);

// Writes every byte to `fd`, through partial writes and interruptions; false (errno set) when
// the system refuses a write.
[[nodiscard]] bool writeAll(int fd, std::string_view bytes);

}  // namespace kv
