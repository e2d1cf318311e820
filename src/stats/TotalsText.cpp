// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/TotalsText.h"

#include "stats/TallyFigures.h"

namespace kv {

TotalsText totalsText(const FigureSet& figures, std::optional<double> perDayAverage)
{
    TotalsText t;
    t[TotalsField::SuccessShare] = percentText(figures.successShare);
    t[TotalsField::Successes] = std::to_string(figures.successes);
    t[TotalsField::SuccessAverage] = percentText(figures.successAverage);
    t[TotalsField::SuccessLosses] = std::to_string(figures.successLosses);
    t[TotalsField::FailureShare] = percentText(figures.failureShare);
    t[TotalsField::Failures] = std::to_string(figures.failures);
    t[TotalsField::FailureAverage] = percentText(figures.failureAverage);
    t[TotalsField::FailureProfits] = std::to_string(figures.failureProfits);
    t[TotalsField::UnknownShare] = percentText(figures.unknownShare);
    t[TotalsField::Unknowns] = std::to_string(figures.unknowns);
    t[TotalsField::Signals] = std::to_string(figures.signalCount);
    t[TotalsField::SimpleAverage] = percentText(figures.simpleAverage);
    t[TotalsField::PerDayAverage] = percentText(perDayAverage);
    return t;
}

TotalsText stockFiguresText(const FigureSet& figures)
{
    FigureSet shown = figures;
    if (figures.signalCount != 0) {
        shown.successAverage = figures.successAverage.value_or(0.0);
        shown.failureAverage = figures.failureAverage.value_or(0.0);
    }
    TotalsText t = totalsText(shown, std::nullopt);
    t[TotalsField::PerDayAverage].clear();
    return t;
}

}  // namespace kv
