#pragma once
// Start-up of the program: the main window runs modally on the given platform, in the current
// working directory, and the program ends when it closes.

namespace kv {

class Platform;

// Builds the main window over the application object and runs it; returns the exit status.
int runApplication(Platform& platform);

}  // namespace kv
