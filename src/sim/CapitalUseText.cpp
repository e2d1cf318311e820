// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/CapitalUseText.h"

#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"

namespace kv {

std::vector<std::string> capitalUseSentences(const ResultFigures& f)
{
    std::vector<std::string> sentences;
    // It matters once the positions took a share of the buying power that shows (0.1 % rounded).
    if (f.undecidedTrades > 0 && f.undecidedExposurePercent >= 0.05) {
        const bool allHeldToEnd = f.undecidedHeldToEnd == f.undecidedTrades;
        static const std::string heldToEnd =
            toCp932("判定不可のシグナルから買った %s 銘柄（取得額 %s）は期末まで保有され、"
                    "期間中は平均で買付余力の %s%% を占めました。");
        static const std::string held = toCp932("判定不可のシグナルから買った %s 銘柄（取得額 "
                                                "%s）は、期間中は平均で買付余力の %s%% を占めました。");
        sentences.push_back(format(allHeldToEnd ? heldToEnd : held,
                                   {groupedText(static_cast<double>(f.undecidedTrades), 0),
                                    yenText(f.undecidedCost), groupedText(f.undecidedExposurePercent, 1)}));
    }
    if (f.marginCallDays > 0) {
        static const std::string marginCalls = toCp932("追証の可能性: %s 日（初回 %s）");
        sentences.push_back(
            format(marginCalls,
                   {groupedText(static_cast<double>(f.marginCallDays), 0),
                    f.firstMarginCallDate ? paddedDateText(*f.firstMarginCallDate) : std::string("----")}));
    }
    return sentences;
}

}  // namespace kv
