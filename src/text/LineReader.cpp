// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/LineReader.h"

#include "text/InputEncoding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kv {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string systemErrorText(int errorNumber)
{
    // The untranslated description: the program's texts are code page 932, and a translated
    // one would come in the locale's encoding.
    if (const char* text = strerrordesc_np(errorNumber))
        return text;
    return "error " + std::to_string(errorNumber);
}

std::optional<LineReader> LineReader::open(const std::filesystem::path& file, int* error)
{
    auto fail = [error](int errorNumber) -> std::optional<LineReader> {
        if (error)
            *error = errorNumber != 0 ? errorNumber : EIO;
        return std::nullopt;
    };
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> in(std::fopen(file.c_str(), "rb"));
    if (!in)
        return fail(errno);
    // A folder opens but fails on the first read (EISDIR); any read error means the file
    // cannot be read, like one that cannot be opened.
    std::string content;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0)
        content.append(buffer, n);
    if (std::ferror(in.get()))
        return fail(errno);
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
    size_t lines = 0;
    const char* p = content.data();
    const char* const end = p + content.size();
    while (p != end) {
        const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
        ++lines;
        p = newline ? static_cast<const char*>(newline) + 1 : end;
    }
    return lines;
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
    if (nul != std::string_view::npos)
        line = line.substr(0, nul);
    return line;
}

}  // namespace kv
