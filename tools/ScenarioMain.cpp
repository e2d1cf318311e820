// kirvane-scenario: starts the program exactly as it starts on the desktop, in the current
// directory, but on the scripted backend, and reads its commands from standard input.
// Everything the program shows is printed as UTF-8, one item per line.

#include "app/Application.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <iostream>
#include <optional>
#include <string>

int main()
{
    std::ios::sync_with_stdio(false);
    kv::HeadlessPlatform platform(std::cout, std::cerr);

    // answer-* lines at the top of the script answer the start-up's own file dialogs.
    std::optional<std::string> pending;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("answer-", 0) == 0) {
            platform.execute(line);
            continue;
        }
        pending = line;
        break;
    }
    platform.setLineSource([&pending]() -> std::optional<std::string> {
        if (pending) {
            std::optional<std::string> first = std::move(pending);
            pending.reset();
            return first;
        }
        std::string next;
        if (!std::getline(std::cin, next))
            return std::nullopt;
        return next;
    });

    try {
        int status = kv::runApplication(platform);
        std::cout.flush();
        return status;
    } catch (const kv::HeadlessExit& exit) {
        std::cout.flush();
        return exit.status;
    }
}
