// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Cp932.h"

namespace kv {

std::string widenBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == ' ')
            out.append(kFullWidthBlank);
        else
            out.push_back(c);
    }
    return out;
}

}  // namespace kv
