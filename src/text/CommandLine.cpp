#include "text/CommandLine.h"

namespace kv {

std::string versionText(std::string_view program)
{
    return std::string(program) + " (Kirvane) " + std::string(kVersion) + "\n";
}

std::string usageErrorText(std::string_view program, std::string_view problem)
{
    std::string name(program);
    return name + ": " + std::string(problem) + "（使い方は " + name + " --help）\n";
}

StandardOption findStandardOption(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "-h" || argument == "--help")
            return StandardOption::Help;
        if (argument == "--version")
            return StandardOption::Version;
    }
    return StandardOption::None;
}

bool isOption(std::string_view argument)
{
    return argument.size() > 1 && argument[0] == '-';
}

}  // namespace kv
