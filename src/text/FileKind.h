// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a path names, links followed. The program reads and writes regular files only: a FIFO
// blocks whoever opens or reads it, and a device may never end (/dev/zero). Two devices are
// let through because scripts use them on purpose and neither can block: /dev/null, which reads
// as empty and takes every write, and /dev/full, which refuses every write as a full disk does.

#include <filesystem>
#include <optional>

struct stat;

namespace kv {

enum class FileKind {
    Missing,     // nothing there (a dangling link too), or it cannot be looked at
    Regular,     // a regular file
    Folder,      // a directory
    NullDevice,  // /dev/null
    FullDevice,  // /dev/full
    Other,       // a FIFO, a socket, any other device
};

FileKind fileKind(const std::filesystem::path& file);

// True when `a` and `b` name the same file: the same file on disk when both exist (links, hard
// links and other spellings included), else the same absolute path once links in it are
// resolved, a link whose target does not exist yet included: it names the file a write through
// it would create. An output that is the same file as an input would destroy the input.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);
FileKind fileKindOf(const struct stat& status);

// The file that `file` names once the symbolic links it is are followed, whether that file
// exists or not: a dangling link names the file it would create. Nothing (and the error number
// in `error`) when a link cannot be read or the links go round.
std::optional<std::filesystem::path> linkedFile(const std::filesystem::path& file, int& error);

// The error number the program gives for an output that another run holds locked (see
// OutputLock); systemErrorText() describes it as "Locked by another run".
inline constexpr int kOutputLockedError = 0x10001;

// The error number the program gives for a file of a kind it neither reads nor writes; it is
// no system error number, and systemErrorText() describes it as "Not a regular file".
inline constexpr int kNotRegularFileError = 0x10000;

// Why the program does not write to `file`, as an error number: EISDIR for a folder,
// kNotRegularFileError for a FIFO, socket or device other than /dev/null and /dev/full; 0
// when it may try (a regular file, nothing yet, or one of those two devices).
int outputRefusal(const std::filesystem::path& file);

}  // namespace kv
