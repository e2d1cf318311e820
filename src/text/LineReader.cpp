// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/LineReader.h"

#include "text/FileKind.h"
#include "text/InputEncoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

std::string systemErrorText(int errorNumber)
{
    if (errorNumber == kNotRegularFileError)
        return "Not a regular file";
    if (errorNumber == kOutputLockedError)
        return "Locked by another run";
    // The untranslated description: the program's texts are code page 932, and a translated
    // one would come in the locale's encoding.
    if (const char* text = strerrordesc_np(errorNumber))
        return text;
    return "error " + std::to_string(errorNumber);
}

namespace {

struct ClosedOnExit {
    int fd;
    ~ClosedOnExit() { ::close(fd); }
};

// The error number for what `status` describes when the program does not read it, else 0.
int inputRefusal(const struct stat& status)
{
    switch (fileKindOf(status)) {
    case FileKind::Regular:
    case FileKind::NullDevice:
        return 0;
    case FileKind::Folder:
        return EISDIR;
    case FileKind::Missing:
    case FileKind::FullDevice:  // reads as endless zeros
    case FileKind::Other:
        break;
    }
    return kNotRegularFileError;
}

size_t countLines(std::string_view content)
{
    size_t lines = static_cast<size_t>(std::count(content.begin(), content.end(), '\n'));
    return lines + (!content.empty() && content.back() != '\n');
}

}  // namespace

std::optional<LineReader> LineReader::open(const std::filesystem::path& file, int* error)
{
    auto fail = [error](int errorNumber) -> std::optional<LineReader> {
        if (error)
            *error = errorNumber != 0 ? errorNumber : EIO;
        return std::nullopt;
    };
    // Looked at before it is opened, since opening a device may already do something, and again
    // once open (without blocking, as a FIFO would), since the name may have changed between.
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return fail(errno);
    if (int refusal = inputRefusal(status))
        return fail(refusal);
    int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    ClosedOnExit closer{fd};
    if (::fstat(fd, &status) != 0)
        return fail(errno);
    if (int refusal = inputRefusal(status))
        return fail(refusal);
    if (static_cast<uintmax_t>(status.st_size) > kMaxInputBytes)
        return fail(EFBIG);

    std::string content;
    content.reserve(static_cast<size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(errno);
        if (n == 0)
            break;
        if (content.size() + static_cast<size_t>(n) > kMaxInputBytes)
            return fail(EFBIG);  // the file grew while it was read
        content.append(buffer, static_cast<size_t>(n));
    }
    if (countLines(content) > kMaxInputLines)
        return fail(EFBIG);
    if (error)
        *error = 0;
    return LineReader(std::move(content));
}

std::optional<LineReader> LineReader::openInput(const std::filesystem::path& file, int* error)
{
    std::optional<LineReader> reader = open(file, error);
    if (!reader)
        return std::nullopt;
    InputText input = decodeInput(std::move(reader->content));
    reader->content = std::move(input.text);
    reader->replaced = input.replacedCount;
    return reader;
}

size_t LineReader::lineCount() const
{
    return countLines(content);
}

std::optional<std::string_view> LineReader::next()
{
    if (position >= content.size())
        return std::nullopt;
    const char* begin = content.data() + position;
    size_t available = content.size() - position;
    const void* newline = std::memchr(begin, '\n', available);
    size_t physical =
        newline ? static_cast<size_t>(static_cast<const char*>(newline) - begin) + 1 : available;
    position += physical;

    std::string_view line(begin, std::min(physical, kMaxLineBytes));
    size_t nul = line.find('\0');
    cutAtNul = nul != std::string_view::npos;
    if (cutAtNul)
        line = line.substr(0, nul);
    return line;
}

}  // namespace kv
