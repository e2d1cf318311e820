// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a text file as raw bytes, line by line, as the program's files are read: a line is at
// most 255 bytes, its line end included when it fits. A longer physical line is cut at 255
// bytes and the rest of it is dropped, so it never becomes a record of its own. A NUL byte ends
// the line's text, as it would in a C string.

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

inline constexpr size_t kMaxLineBytes = 255;
inline constexpr size_t kMaxFieldBytes = 64;

// The largest file the program reads. A file is read whole, and every line of a signal file
// becomes a list row of its own (an empty line of two bytes still makes a row of over thirty,
// in the signal list and again in a run's lists), so both the bytes and the lines are bounded:
// four times the 250,000 rows the program is built and measured for, and about what a million
// lines of 255 bytes take. A larger file is refused (EFBIG) before the program runs out of
// memory on it.
inline constexpr size_t kMaxInputLines = 1'000'000;
inline constexpr size_t kMaxInputBytes = size_t{256} << 20;

class LineReader {
public:
    // Reads the whole file; nothing when it cannot be opened or read, and then the system's
    // error number in `error` when one is given: EISDIR for a folder, kNotRegularFileError for
    // a FIFO, socket or device (refused before anything is read, so nothing blocks; /dev/null
    // reads as empty), EFBIG for a file beyond kMaxInputBytes or kMaxInputLines.
    [[nodiscard]] static std::optional<LineReader> open(const std::filesystem::path& file,
                                                        int* error = nullptr);
    // Reads a file the user brings (the stock master, a signal file): a UTF-8 file is converted
    // to code page 932 first, so its lines and fields are cut by their converted bytes.
    [[nodiscard]] static std::optional<LineReader> openInput(const std::filesystem::path& file,
                                                             int* error = nullptr);
    explicit LineReader(std::string content) : content(std::move(content)) {}

    // Bytes of the file as read (after any conversion).
    size_t byteCount() const { return content.size(); }
    // Physical lines of the file (a last line without a line end counted).
    size_t lineCount() const;

    // The next line, or nothing at the end of the file. A line is cut at a NUL byte.
    std::optional<std::string_view> next();

    // True when the line next() gave last was cut at a NUL byte.
    bool lastLineCut() const { return cutAtNul; }

    // Characters of a UTF-8 file that code page 932 lacks, each read as "？".
    size_t replacedCount() const { return replaced; }

private:
    std::string content;
    size_t position = 0;
    bool cutAtNul = false;
    size_t replaced = 0;
};

// The system's description of an error number, untranslated ("Permission denied"), and that of
// kNotRegularFileError.
std::string systemErrorText(int errorNumber);

// Splits a line at every comma (no quoting) into `count` fields, each cut to its first 64
// bytes; missing fields are empty. The last field runs to the next comma or the end of the line.
template <size_t N>
struct Fields {
    std::string_view field[N];
    std::string_view operator[](size_t i) const { return field[i]; }
};

template <size_t N>
Fields<N> splitFields(std::string_view line)
{
    Fields<N> result;
    size_t start = 0;
    for (size_t i = 0; i < N && start <= line.size(); ++i) {
        size_t comma = line.find(',', start);
        size_t end = comma == std::string_view::npos ? line.size() : comma;
        result.field[i] = line.substr(start, std::min(end - start, kMaxFieldBytes));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return result;
}

}  // namespace kv
