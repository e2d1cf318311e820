// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A test that could block for good (a FIFO opened the wrong way) ends the test program instead:
// SIGALRM, left to its default action, kills the process once `seconds` have passed, so the
// suite fails and never hangs.

#include <unistd.h>

namespace kv::test {

class Deadline {
public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
};

}  // namespace kv::test
