// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ChartSvg.h"

#include "report/HtmlText.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// The drawing's units: the viewBox is 1000 wide, scaled to the page's width.
constexpr double kWidth = 1000;
constexpr double kLeft = 78;
constexpr double kRight = 990;
constexpr double kAssetsTop = 28;
constexpr double kAssetsBottom = 300;
constexpr double kDrawdownTop = 336;
constexpr double kDrawdownBottom = 452;
constexpr double kHeight = 480;

std::string coordinate(double value)
{
    return fixed(value, 1);
}

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts` pieces.
double niceStep(double span, int parts)
{
    if (!(span > 0) || !std::isfinite(span))
        return 1;
    double raw = span / parts;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power)
            return factor * power;
    }
    return 10 * power;
}

struct Axis {
    double low = 0;
    double high = 1;
    double step = 1;
};

Axis niceAxis(double low, double high, int parts)
{
    if (!(high > low)) {
        double pad = std::max(std::abs(low) * 0.01, 1.0);
        low -= pad;
        high += pad;
    }
    Axis axis;
    axis.step = niceStep(high - low, parts);
    axis.low = std::floor(low / axis.step) * axis.step;
    axis.high = std::ceil(high / axis.step) * axis.step;
    return axis;
}

double scaled(double value, const Axis& axis, double top, double bottom)
{
    return bottom - (value - axis.low) / (axis.high - axis.low) * (bottom - top);
}

// The day points where a year begins, or a month when the run spans under two years; at most
// about twelve labelled, every k-th of them.
std::vector<size_t> timeTicks(const std::vector<DayPoint>& days)
{
    const bool byYear = days.back().date / 10000 - days.front().date / 10000 >= 2;
    auto period = [byYear](int32_t date) { return byYear ? date / 10000 : date / 100; };
    std::vector<size_t> starts;
    for (size_t i = 1; i < days.size(); ++i) {
        if (period(days[i].date) != period(days[i - 1].date))
            starts.push_back(i);
    }
    const size_t every = starts.size() / 12 + 1;
    std::vector<size_t> ticks;
    for (size_t k = 0; k < starts.size(); k += every)
        ticks.push_back(starts[k]);
    return ticks;
}

std::string yen(double amount)
{
    return toDisplayUtf8(yenText(amount));
}

}  // namespace

std::string assetChartSvg(const std::vector<DayPoint>& days, const ResultFigures& figures)
{
    if (days.empty())
        return "<p class=\"note\">日ごとの記録がありません。</p>\n";
    const size_t n = days.size();
    const double plotWidth = kRight - kLeft;
    // Time runs evenly: a point's x follows its date, not its place in the list.
    const std::vector<double> time = timePositions(days);
    auto x = [&](size_t i) {
        return n == 1 ? kLeft + plotWidth / 2 : kLeft + plotWidth * time[i] / time.back();
    };

    double lowest = days[0].assets;
    double highest = days[0].assets;
    double deepest = 0;
    for (size_t i = 0; i < n; ++i) {
        if (std::isfinite(days[i].assets)) {
            lowest = std::min(lowest, days[i].assets);
            highest = std::max(highest, days[i].assets);
        }
        if (std::isfinite(figures.drawdownPercent[i]))
            deepest = std::max(deepest, figures.drawdownPercent[i]);
    }
    const Axis assets = niceAxis(lowest, highest, 5);
    const Axis drawdown = niceAxis(0, deepest > 0 ? deepest : 1, 3);
    const int drawdownDecimals = drawdown.step < 1 ? 1 : 0;
    auto assetY = [&](double v) { return scaled(v, assets, kAssetsTop, kAssetsBottom); };
    // The drawdown grows downward from its zero line at the panel's top.
    auto drawdownY = [&](double percent) {
        return kDrawdownTop +
            (percent - drawdown.low) / (drawdown.high - drawdown.low) * (kDrawdownBottom - kDrawdownTop);
    };

    std::string svg;
    svg.reserve(n * 160 + 4096);
    svg += "<svg class=\"chart\" viewBox=\"0 0 " + coordinate(kWidth) + " " + coordinate(kHeight) +
        "\" role=\"img\" aria-label=\"総資産とドローダウン\" xmlns=\"http://www.w3.org/2000/svg\">\n";
    svg += "<text class=\"panel\" x=\"" + coordinate(kLeft) + "\" y=\"18\">総資産 (円)</text>\n";
    svg += "<text class=\"panel\" x=\"" + coordinate(kLeft) + "\" y=\"" + coordinate(kDrawdownTop - 10) +
        "\">ドローダウン率 (%)</text>\n";

    // Grid lines and their labels.
    svg += "<g class=\"grid\">\n";
    for (double v = assets.low; v <= assets.high + assets.step / 2; v += assets.step) {
        const std::string y = coordinate(assetY(v));
        svg += "<line x1=\"" + coordinate(kLeft) + "\" x2=\"" + coordinate(kRight) + "\" y1=\"" + y +
            "\" y2=\"" + y + "\"/><text class=\"y\" x=\"" + coordinate(kLeft - 6) + "\" y=\"" + y + "\">" +
            groupedText(v, 0) + "</text>\n";
    }
    for (double v = drawdown.low; v <= drawdown.high + drawdown.step / 2; v += drawdown.step) {
        const std::string y = coordinate(drawdownY(v));
        svg += "<line x1=\"" + coordinate(kLeft) + "\" x2=\"" + coordinate(kRight) + "\" y1=\"" + y +
            "\" y2=\"" + y + "\"/><text class=\"y\" x=\"" + coordinate(kLeft - 6) + "\" y=\"" + y + "\">" +
            groupedText(-v, drawdownDecimals) + "%</text>\n";
    }
    for (size_t i : timeTicks(days)) {
        const std::string at = coordinate(x(i));
        svg += "<line x1=\"" + at + "\" x2=\"" + at + "\" y1=\"" + coordinate(kAssetsTop) + "\" y2=\"" +
            coordinate(kDrawdownBottom) + "\"/><text class=\"x\" x=\"" + at + "\" y=\"" +
            coordinate(kDrawdownBottom + 18) + "\">" + paddedDateText(days[i].date).substr(0, 7) +
            "</text>\n";
    }
    svg += "</g>\n";

    // The curve, and the drawdown filled from its zero line to the curve.
    svg += "<path class=\"assets\" d=\"";
    for (size_t i = 0; i < n; ++i) {
        svg += i == 0 ? "M" : "L";
        svg +=
            coordinate(x(i)) + "," + coordinate(assetY(std::isfinite(days[i].assets) ? days[i].assets : 0));
    }
    svg += "\"/>\n<path class=\"drawdown\" d=\"M" + coordinate(x(0)) + "," + coordinate(drawdownY(0));
    for (size_t i = 0; i < n; ++i) {
        const double percent = std::isfinite(figures.drawdownPercent[i]) ? figures.drawdownPercent[i] : 0;
        svg += "L" + coordinate(x(i)) + "," + coordinate(drawdownY(percent));
    }
    svg += "L" + coordinate(x(n - 1)) + "," + coordinate(drawdownY(0)) + "Z\"/>\n";

    // One hover area per day point, from halfway to the point before to halfway to the next.
    const std::string top = coordinate(kAssetsTop);
    const std::string height = coordinate(kDrawdownBottom - kAssetsTop);
    svg += "<g class=\"points\">\n";
    for (size_t i = 0; i < n; ++i) {
        const double left = n == 1 ? kLeft : i == 0 ? x(0) - (x(1) - x(0)) / 2 : (x(i - 1) + x(i)) / 2;
        const double right = n == 1 ? kRight
            : i + 1 == n            ? x(i) + (x(i) - x(i - 1)) / 2
                                    : (x(i) + x(i + 1)) / 2;
        const std::string width = coordinate(std::max(right - left, 0.1));
        svg += "<rect x=\"" + coordinate(left) + "\" y=\"" + top + "\" width=\"" + width + "\" height=\"" +
            height + "\"><title>" + paddedDateText(days[i].date) + " 総資産 " +
            escapeHtml(yen(days[i].assets)) + " ドローダウン " +
            signedPercentText(-figures.drawdownPercent[i]) + "</title></rect>\n";
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

}  // namespace kv
