#include "text/LineReader.h"

#include "text/InputEncoding.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace kv {

std::optional<LineReader> LineReader::open(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content;
    // A read error (a directory opens but cannot be read) is thrown by the stream buffer
    // whatever the stream's exception mask; it means the file cannot be read.
    try {
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
    if (in.bad())
        return std::nullopt;
    return LineReader(std::move(content));
}

std::optional<LineReader> LineReader::openInput(const std::filesystem::path& file)
{
    std::optional<LineReader> reader = open(file);
    if (!reader)
        return std::nullopt;
    InputText input = decodeInput(std::move(reader->content));
    reader->content = std::move(input.text);
    reader->replaced = input.replacedCount;
    return reader;
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
