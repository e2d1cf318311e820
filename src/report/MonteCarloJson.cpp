// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/MonteCarloJson.h"

#include "report/ResultsJson.h"

#include <string>

namespace kv {

namespace {

nlohmann::ordered_json percentilesJson(const MonteCarloResult& r, const Percentiles& p)
{
    nlohmann::ordered_json object;
    for (size_t k = 0; k < kMonteCarloPercentiles.size(); ++k)
        object["p" + std::to_string(kMonteCarloPercentiles[k])] = r.computed ? jsonNumber(p[k]) : nullptr;
    return object;
}

}  // namespace

nlohmann::ordered_json monteCarloJson(const MonteCarloResult& r)
{
    auto figure = [&](double value) {
        return r.computed ? jsonNumber(value) : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json mc;
    mc["paths"] = r.settings.paths;
    mc["seed"] = r.settings.seed;
    mc["order"] = std::string(monteCarloOrderName(r.settings.order));
    mc["trades"] = r.trades;
    mc["finalAssets"] = percentilesJson(r, r.finalAssets);
    mc["maxDrawdownPercent"] = percentilesJson(r, r.maxDrawdownPercent);
    mc["lossProbabilityPercent"] = figure(r.lossProbabilityPercent);
    nlohmann::ordered_json levels;
    for (size_t l = 0; l < kMonteCarloDrawdownLevels.size(); ++l)
        levels[std::to_string(kMonteCarloDrawdownLevels[l])] = figure(r.drawdownAtLeastPercent[l]);
    mc["drawdownAtLeastPercent"] = std::move(levels);
    mc["ruinProbabilityPercent"] = figure(r.ruinProbabilityPercent);
    mc["actualMaxDrawdownPercent"] = figure(r.actualMaxDrawdownPercent);
    mc["pathsWithSmallerDrawdownPercent"] = figure(r.pathsWithSmallerDrawdownPercent);
    return mc;
}

}  // namespace kv
