// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stock master and signal files may come as code page 932 (what the program reads and
// writes) or as UTF-8 (what most scripts and spreadsheets write today). A UTF-8 file is turned
// into code page 932 as a whole before its lines are read, so the 255-byte lines and 64-byte
// fields count the converted bytes and everything after reads it as it reads any other file.

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

enum class InputEncoding { Cp932, Utf8 };

// UTF-8 when the bytes begin with the UTF-8 byte-order mark, or when all of them are valid
// UTF-8 and at least one character takes more than one byte. Anything else, ASCII included, is
// code page 932.
InputEncoding detectInputEncoding(std::string_view bytes);

struct InputText {
    std::string text;  // code page 932 bytes
    InputEncoding encoding = InputEncoding::Cp932;
    size_t replacedCount = 0;  // characters code page 932 lacks (and broken sequences), now "？"
};

// A whole file's bytes as code page 932: code page 932 and ASCII as they are; UTF-8 without its
// byte-order mark, each character that code page 932 lacks written as "？" (0x81 0x48).
InputText decodeInput(std::string bytes);

}  // namespace kv
