// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempFolder.h"

#include "text/Cp932.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace kv::test {

TempFolder::TempFolder()
{
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
        ("kirvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

std::filesystem::path TempFolder::write(std::string_view name, std::string_view bytes) const
{
    std::filesystem::path file = folder / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::filesystem::path TempFolder::writeLines(std::string_view name,
                                             const std::vector<std::string>& utf8Lines) const
{
    std::string bytes;
    for (const std::string& line : utf8Lines)
        bytes += toCp932(line) + "\r\n";
    return write(name, bytes);
}

std::string TempFolder::read(std::string_view name) const
{
    std::ifstream in(folder / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool TempFolder::exists(std::string_view name) const
{
    return std::filesystem::exists(folder / name);
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& folder)
    : previous(std::filesystem::current_path())
{
    std::filesystem::current_path(folder);
}

WorkingDirectory::~WorkingDirectory()
{
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
}

}  // namespace kv::test
