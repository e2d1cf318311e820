#include "batch/BatchOptions.h"

#include "settings/SettingByName.h"

#include <charconv>

namespace kv {

namespace {

std::optional<int> parseRow(const std::string& text)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

}  // namespace

std::string batchUsage()
{
    std::string names;
    for (const std::string& name : settingNames())
        names += (names.empty() ? "" : ", ") + name;
    return "usage: kirvane-batch [--start-row N] [--end-row M] [--log FILE] [--set NAME=VALUE]... [--json] "
           "SIGNAL_FILE\n"
           "  Back-tests SIGNAL_FILE in the current folder (index.txt and kvn.conf are read there).\n"
           "  --start-row N, --end-row M  first and last signal-list row of the run (0-based)\n"
           "  --log FILE                  write the trade log to FILE\n"
           "  --set NAME=VALUE            change one setting for this run only; NAME is one of\n"
           "                              " +
        names +
        "\n"
        "  --json                      print the result as one JSON object\n";
}

ParsedBatchArguments parseBatchArguments(const std::vector<std::string>& arguments)
{
    BatchOptions options;
    bool haveFile = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--start-row" || arg == "--end-row") {
            std::optional<std::string> text = value();
            std::optional<int> row = text ? parseRow(*text) : std::nullopt;
            if (!row)
                return {std::nullopt, arg + " needs a row number (0 or more)"};
            (arg == "--start-row" ? options.startRow : options.endRow) = *row;
        } else if (arg == "--log") {
            std::optional<std::string> file = value();
            if (!file || file->empty())
                return {std::nullopt, "--log needs a file name"};
            options.logFile = *file;
        } else if (arg == "--set") {
            std::optional<std::string> assignment = value();
            size_t equals = assignment ? assignment->find('=') : std::string::npos;
            if (equals == std::string::npos)
                return {std::nullopt, "--set needs NAME=VALUE"};
            std::string name = assignment->substr(0, equals);
            SimulationSettings probe;
            if (!setSettingByName(probe, name, ""))
                return {std::nullopt, "--set: no setting is called '" + name + "'"};
            options.settings.emplace_back(name, assignment->substr(equals + 1));
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return {std::nullopt, "unknown option " + arg};
        } else if (haveFile) {
            return {std::nullopt, "only one signal file can be given"};
        } else {
            options.signalFile = arg;
            haveFile = true;
        }
    }
    if (!haveFile)
        return {std::nullopt, "no signal file given"};
    return {std::move(options), {}};
}

}  // namespace kv
