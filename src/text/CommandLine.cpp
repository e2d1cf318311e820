// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/CommandLine.h"

#include "text/Version.h"

namespace kv {

std::string versionText(std::string_view program)
{
    std::string text = std::string(program) + " (Kirvane) " + std::string(kBuildVersion) + "\n";
    text += "Copyright (C) " + std::string(kCopyright) + "\n";
    text += "ライセンス " + std::string(kLicence) +
        ": GNU GPL バージョン 3 以降 <https://www.gnu.org/licenses/gpl-3.0.html>\n"
        "これはフリーソフトウェアです。自由に変更し、再配布できます。\n"
        "法律で認められる範囲で、保証は一切ありません。\n";
    return text;
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
