// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/HtmlText.h"

#include "text/Cp932.h"
#include "text/InputEncoding.h"

namespace kv {

std::string escapeHtml(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string htmlFromCp932(std::string_view cp932)
{
    return escapeHtml(toDisplayUtf8(cp932));
}

std::string htmlFromFileName(std::string_view bytes)
{
    if (detectInputEncoding(bytes) == InputEncoding::Utf8)
        return escapeHtml(bytes);
    return htmlFromCp932(bytes);
}

std::string scriptSafeJson(std::string_view json)
{
    std::string out;
    out.reserve(json.size());
    for (char c : json) {
        switch (c) {
        case '<':
            out += "\\u003c";
            break;
        case '>':
            out += "\\u003e";
            break;
        case '&':
            out += "\\u0026";
            break;
        default:
            out += c;
        }
    }
    return out;
}

}  // namespace kv
