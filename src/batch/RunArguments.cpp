// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/RunArguments.h"

#include "sweep/SweepGrid.h"
#include "settings/SettingByName.h"
#include "text/CommandLine.h"

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

std::optional<std::string> takeSetting(const std::optional<std::string>& assignment, RunArguments& common,
                                       SetValueCheck setValues)
{
    size_t equals = assignment ? assignment->find('=') : std::string::npos;
    if (equals == std::string::npos)
        return "--set には NAME=VALUE が必要です";
    std::string name = assignment->substr(0, equals);
    std::string value = assignment->substr(equals + 1);
    if (!settingKind(name))
        return "--set: " + name + " という設定はありません";
    if (setValues == SetValueCheck::Exact) {
        if (std::optional<std::string> refusal = refuseSettingValue(name, value))
            return "--set " + *assignment + ": " + *refusal;
    }
    common.settings.emplace_back(std::move(name), std::move(value));
    return std::nullopt;
}

}  // namespace

std::string parseRunArguments(const std::vector<std::string>& arguments, RunArguments& common,
                              SetValueCheck setValues, const std::vector<ToolOption>& own)
{
    bool haveFile = false;
    bool optionsEnded = false;  // after "--" every argument is a file name
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (optionsEnded || !isOption(arg)) {
            if (haveFile)
                return "シグナルファイルは一つだけ指定できます: " + arg;
            common.signalFile = arg;
            haveFile = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            common.json = true;
        } else if (arg == "--start-row" || arg == "--end-row") {
            std::optional<std::string> text = value();
            std::optional<int> row = text ? parseRow(*text) : std::nullopt;
            if (!row)
                return arg + " には 0 以上の行番号が必要です";
            (arg == "--start-row" ? common.startRow : common.endRow) = *row;
        } else if (arg == "--set") {
            if (std::optional<std::string> refusal = takeSetting(value(), common, setValues))
                return *refusal;
        } else {
            const ToolOption* option = nullptr;
            for (const ToolOption& o : own) {
                if (o.name == arg)
                    option = &o;
            }
            if (!option)
                return "不明なオプションです: " + arg;
            if (std::optional<std::string> refusal = option->take(value()))
                return *refusal;
        }
    }
    if (!haveFile)
        return "シグナルファイルが指定されていません";
    return {};
}

}  // namespace kv
