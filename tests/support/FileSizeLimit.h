// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A full disk for the tests: while it lives, no file of the process can grow beyond `bytes`;
// a write past that fails (EFBIG) as one on a full disk does (ENOSPC), instead of raising the
// signal that would end the process.

#include <csignal>
#include <sys/resource.h>

namespace kv::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

}  // namespace kv::test
