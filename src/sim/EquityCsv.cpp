// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/EquityCsv.h"

#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"

namespace kv {

std::string equityCsv(const RunResults& results)
{
    static const std::string header = toCp932("日付,総資産,ドローダウン,ドローダウン率\r\n");
    const ResultFigures figures = results.figures();
    const std::vector<DayPoint>& days = results.days();
    std::string text = header;
    text.reserve(header.size() + days.size() * 40);
    for (size_t i = 0; i < days.size(); ++i) {
        text += paddedDateText(days[i].date);
        text += ',';
        appendFixed(text, days[i].assets, 0);
        text += ',';
        appendFixed(text, figures.drawdown[i], 0);
        text += ',';
        appendFixed(text, figures.drawdownPercent[i], 2);
        text += "\r\n";
    }
    return text;
}

bool writeEquityCsv(const RunResults& results, const std::filesystem::path& file)
{
    return writeWholeFile(file, equityCsv(results)) == WriteResult::Written;
}

}  // namespace kv
