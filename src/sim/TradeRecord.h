// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trade record of a run, kept in memory whether or not the trade log goes to a file: the
// log's header and lines exactly as the log writes them, CR LF included, with every comma
// written as a single blank. No field of a line holds a blank (names keep no ASCII blank, and
// no byte of a double-byte character is a blank or a comma), so turning the blanks back into
// commas gives the log file byte for byte. It costs its bytes and nothing per line.

#include <string>
#include <string_view>

namespace kv {

class TradeRecord {
public:
    // Empties the record and starts it with the log's header line.
    void start(std::string_view header);
    // Appends one log line, its commas written as blanks.
    void add(std::string_view line);
    // Gives back the room a growing record keeps in reserve; called once the run stops adding.
    void trim() { bytes.shrink_to_fit(); }

    const std::string& text() const { return bytes; }

private:
    std::string bytes;
};

}  // namespace kv
