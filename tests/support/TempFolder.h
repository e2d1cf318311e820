// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh temporary folder per test, removed afterwards, with small writers for the
// program's code page 932 files.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path operator/(std::string_view name) const { return folder / name; }

    // Writes raw bytes.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;
    // Writes UTF-8 lines converted to code page 932, each ended by CR LF.
    std::filesystem::path writeLines(std::string_view name, const std::vector<std::string>& utf8Lines) const;
    std::string read(std::string_view name) const;  // raw bytes; empty when missing
    bool exists(std::string_view name) const;

private:
    std::filesystem::path folder;
};

// Makes `folder` the working directory while it lives.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder);
    ~WorkingDirectory();

private:
    std::filesystem::path previous;
};

}  // namespace kv::test
