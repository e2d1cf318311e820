// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file the user names for the program to write (a CSV export, a picture): created or emptied,
// links followed, then written straight to the system. Every failed write is told whatever its
// size, and so is a failed close; nothing waits in a buffer where a failure could go unseen.

#include <filesystem>
#include <string_view>

namespace kv {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file or empties it. A folder, a FIFO or a device other than /dev/null and
    // /dev/full is refused before it is opened (see outputRefusal), so nothing blocks. False
    // when it cannot be opened; error() tells why.
    [[nodiscard]] bool open(const std::filesystem::path& file);

    // Appends the bytes; false once any write has failed.
    bool write(std::string_view bytes);

    // Closes the file; true when it was opened, every write reached it and the close succeeded.
    [[nodiscard]] bool close();

    bool isOpen() const { return fd >= 0; }
    int error() const { return errorNumber; }  // the system's error number, or kNotRegularFileError

private:
    int fd = -1;
    int errorNumber = 0;
};

enum class WriteResult {
    Written,
    CannotOpen,   // nothing was written: the file cannot be created, or is no file to write
    CannotWrite,  // the file was opened, but not all of the bytes reached it
};

// Replaces the content of `file` with `bytes` through an OutputFile.
[[nodiscard]] WriteResult writeWholeFile(const std::filesystem::path& file, std::string_view bytes);

// Writes every byte to `fd`, through partial writes and interruptions; false (errno set) when
// the system refuses a write.
[[nodiscard]] bool writeAll(int fd, std::string_view bytes);

}  // namespace kv
