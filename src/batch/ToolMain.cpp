// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/ToolMain.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <new>
#include <signal.h>
#include <unistd.h>

namespace kv {

namespace {

std::atomic<int> caughtSignal{0};
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

extern "C" void askToStop(int signal)
{
    int none = 0;
    caughtSignal.compare_exchange_strong(none, signal);
    stopRequested = true;
}

}  // namespace

void catchInterruptions()
{
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

int interruption()
{
    return caughtSignal.load();
}

const std::atomic<bool>& interruptionRequested()
{
    return stopRequested;
}

void guardStandardStreams()
{
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // Standard output opened for reading only: every write to it fails with EBADF.
        int opened = ::open("/dev/null", (fd == STDERR_FILENO ? O_WRONLY : O_RDONLY));
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

int flushStandardOutput(int status)
{
    // Standard output is buffered: a write that fails shows only when it is flushed.
    std::cout.flush();
    if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout)
        return status;
    std::cerr << "error: the result could not be written to standard output\n";
    return kExitOutputFailed;
}

std::string exceptionText(const std::exception& e)
{
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return "not enough memory";
    return e.what();
}

int runReportingExceptions(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const std::exception& e) {
        std::cerr << "error: " << exceptionText(e) << '\n';
    } catch (...) {
        std::cerr << "error: the run ended unexpectedly\n";
    }
    return 1;
}

}  // namespace kv
