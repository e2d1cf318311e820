// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code page 932 is the program's text: file contents, list rows, captions and messages are all
// std::string of code page 932 bytes. Texts written in the source are UTF-8 and converted once.

#include <string>
#include <string_view>

namespace kv {

// UTF-8 source text → code page 932 bytes. Characters without a code page 932 form become '?'
// (one per character or broken sequence); "¥" becomes the byte 0x5C, undoing toDisplayUtf8.
std::string toCp932(std::string_view utf8);

// The same with `replacement` for each character without a code page 932 form and each broken
// sequence; `replaced` counts them.
std::string toCp932(std::string_view utf8, std::string_view replacement, size_t& replaced);

// Code page 932 bytes → UTF-8, byte 0x5C staying "\". Invalid sequences become U+FFFD and the
// conversion goes on; the ASCII second byte of an invalid pair is read again on its own.
std::string toUtf8(std::string_view cp932);

// Code page 932 bytes → UTF-8 as the user's code page shows them: a single-byte 0x5C becomes
// "¥" (never the second byte of a double-byte character, as in ソ 0x83 0x5C).
std::string toDisplayUtf8(std::string_view cp932);

// CR and LF written as the two characters \r and \n, so that a text stays on one line.
std::string escapeLineBreaks(std::string_view text);

// Every ASCII blank (0x20) replaced by the full-width blank (0x81 0x40). Safe byte by byte:
// 0x20 is never the second byte of a double-byte character.
std::string widenBlanks(std::string_view text);

// The three result marks and the two marker texts of a signal row, as code page 932 bytes.
inline constexpr std::string_view kMarkSuccess{"\x81\x9B"};                             // ○
inline constexpr std::string_view kMarkFailure{"\x81\x7E"};                             // ×
inline constexpr std::string_view kMarkUnknown{"\x81\x48"};                             // ？
inline constexpr std::string_view kNotExecuted{"\x96\xF1\x92\xE8\x82\xB9\x82\xB8"};     // 約定せず
inline constexpr std::string_view kUndeterminable{"\x94\xBB\x92\xE8\x95\x73\x89\xC2"};  // 判定不可
inline constexpr std::string_view kFullWidthBlank{"\x81\x40"};

}  // namespace kv
