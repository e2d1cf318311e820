// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/StatisticsReport.h"

#include "data/SimulatorApp.h"
#include "stats/TallyFigures.h"
#include "stats/TotalsText.h"
#include "text/Cp932.h"

namespace kv {

void printSimpleTotals(std::ostream& out, const SimulatorApp& app)
{
    const double u = app.settings.unknownProfitRate;
    TotalsText t =
        totalsText(figureSetOf(app.tallies.overallTally, u), perDayAverageProfit(app.tallies.dateTally, u));
    auto field = [&t](TotalsField f) { return toUtf8(t[f]); };
    out << "単純集計\n"
        << "  成功時: " << field(TotalsField::SuccessShare)
        << "  シグナル数: " << field(TotalsField::Successes)
        << "  平均利益: " << field(TotalsField::SuccessAverage)
        << "  うち損失数: " << field(TotalsField::SuccessLosses) << "\n"
        << "  失敗時: " << field(TotalsField::FailureShare)
        << "  シグナル数: " << field(TotalsField::Failures)
        << "  平均利益: " << field(TotalsField::FailureAverage)
        << "  うち利益数: " << field(TotalsField::FailureProfits) << "\n"
        << "  不明: " << field(TotalsField::UnknownShare) << "  シグナル数: " << field(TotalsField::Unknowns)
        << "\n"
        << "  総シグナル数: " << field(TotalsField::Signals)
        << "  単純平均利益: " << field(TotalsField::SimpleAverage)
        << "  日別平均利益: " << field(TotalsField::PerDayAverage) << "\n";
}

}  // namespace kv
