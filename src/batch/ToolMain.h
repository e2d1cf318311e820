// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the mains of kirvane-batch and kirvane-sweep do alike around their run: standard streams
// that cannot mislead, standard output's failure told with status 3, and no exception that
// ends the program without a word.

#include <atomic>
#include <exception>
#include <functional>
#include <string>

namespace kv {

// Status of a run whose result was made but could not be written to standard output.
inline constexpr int kExitOutputFailed = 3;

// Opens /dev/null on each of the standard descriptors 0, 1 and 2 that is closed (`>&-`), before
// the program opens any file of its own: the first file opened would otherwise take that
// number, and what the program prints would go into it. A closed standard output gets a
// descriptor that refuses writes, so that printing to it still fails and is told.
void guardStandardStreams();

// Catches SIGINT, SIGTERM and SIGHUP: instead of ending the program where it stands, each
// asks the run to stop at its next whole step, so that what it has written ends with whole
// lines. The run then ends with status 128 + the signal's number.
void catchInterruptions();

// The signal that asked the run to stop, 0 while none did.
int interruption();

// Set once a signal asked the run to stop.
const std::atomic<bool>& interruptionRequested();

// Flushes standard output: `status` when everything reached it, else kExitOutputFailed after
// saying so on standard error (a full disk, a closed output).
int flushStandardOutput(int status);

// The message for an exception that ended a run: "not enough memory" for std::bad_alloc.
std::string exceptionText(const std::exception& e);

// Runs `body` and returns its status; an exception that escapes it is told on standard error
// ("error: …") and gives status 1.
int runReportingExceptions(const std::function<int()>& body);

}  // namespace kv
