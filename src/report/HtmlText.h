// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts made safe for an HTML page: whatever a file holds (a stock name, a file name) shows as
// text and is never read as markup or script.

#include <string>
#include <string_view>

namespace kv {

// UTF-8 text with & < > " ' written as character references.
std::string escapeHtml(std::string_view utf8);

// Code page 932 text as the window shows it (0x5C as ¥), escaped.
std::string htmlFromCp932(std::string_view cp932);

// A file name as the system gives it: UTF-8 when it reads as such, else code page 932; escaped.
std::string htmlFromFileName(std::string_view bytes);

// JSON text that may stand inside a <script> element: < > & written as \u003c \u003e \u0026.
// They occur only inside JSON strings, where the escapes read back as the same characters.
std::string scriptSafeJson(std::string_view json);

}  // namespace kv
