// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SHA-256 digests, so that a report names the exact files it was made from.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The digest of `bytes` as 64 lowercase hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

// The digest of a regular file's content; none when it is no regular file or cannot be read
// whole (a FIFO would block, a device may never end).
std::optional<std::string> fileSha256Hex(const std::filesystem::path& file);

}  // namespace kv
