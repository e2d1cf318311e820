// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Chart.h"

namespace kv {

void Chart::set(std::string title, std::string xAxisText, std::vector<std::string> xTexts,
                std::vector<ChartSeries> series)
{
    chartTitle = std::move(title);
    xAxis = std::move(xAxisText);
    positions = std::move(xTexts);
    allSeries = std::move(series);
    for (ChartSeries& s : allSeries)
        if (s.values.size() > positions.size())
            s.values.resize(positions.size());
    if (observer)
        observer->chartChanged();
}

}  // namespace kv
