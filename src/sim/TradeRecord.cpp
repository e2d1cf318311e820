// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TradeRecord.h"

namespace kv {

void TradeRecord::start(std::string_view header)
{
    bytes.clear();
    bytes.shrink_to_fit();  // a new run does not keep the last one's room
    add(header);
}

void TradeRecord::add(std::string_view line)
{
    const size_t from = bytes.size();
    bytes += line;
    for (size_t i = from; i < bytes.size(); ++i)
        if (bytes[i] == ',')
            bytes[i] = ' ';
}

}  // namespace kv
