// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Chart.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <algorithm>
#include <array>

namespace kv {

void Chart::set(std::string title, std::string xAxisText, std::vector<std::string> xTexts,
                std::vector<ChartSeries> series, std::vector<double> xValues)
{
    chartTitle = std::move(title);
    xAxis = std::move(xAxisText);
    positions = std::move(xTexts);
    // Places that do not increase, or do not match the positions, are not used.
    const bool increasing =
        std::adjacent_find(xValues.begin(), xValues.end(), std::greater_equal<double>()) == xValues.end();
    places = xValues.size() == positions.size() && xValues.size() >= 2 && increasing ? std::move(xValues)
                                                                                     : std::vector<double>{};
    allSeries = std::move(series);
    for (ChartSeries& s : allSeries)
        if (s.values.size() > positions.size())
            s.values.resize(positions.size());
    if (observer)
        observer->chartChanged();
}

double Chart::xOf(double p) const
{
    if (places.empty())
        return p;
    const double last = static_cast<double>(places.size() - 1);
    if (p <= 0)
        return places.front() + p * (places[1] - places.front());
    if (p >= last)
        return places.back() + (p - last) * (places.back() - places[places.size() - 2]);
    const auto i = static_cast<size_t>(std::floor(p));
    return places[i] + (p - static_cast<double>(i)) * (places[i + 1] - places[i]);
}

double Chart::positionAt(double x) const
{
    if (places.empty())
        return x;
    const double last = static_cast<double>(places.size() - 1);
    if (x <= places.front())
        return (x - places.front()) / (places[1] - places.front());
    if (x >= places.back())
        return last + (x - places.back()) / (places.back() - places[places.size() - 2]);
    const size_t i =
        static_cast<size_t>(std::upper_bound(places.begin(), places.end(), x) - places.begin()) - 1;
    return static_cast<double>(i) + (x - places[i]) / (places[i + 1] - places[i]);
}

namespace {

// Months since year 0 of a text YYYY/MM/DD (the day is not looked at), or −1 for another text.
int monthNumber(const std::string& text)
{
    if (text.size() < 7 || text[4] != '/')
        return -1;
    int year = 0;
    for (int i = 0; i < 4; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        year = year * 10 + (text[i] - '0');
    }
    if (text[5] < '0' || text[5] > '9' || text[6] < '0' || text[6] > '9')
        return -1;
    const int month = (text[5] - '0') * 10 + (text[6] - '0');
    if (month < 1 || month > 12)
        return -1;
    return year * 12 + month - 1;
}

std::vector<int> evenPositions(int first, int last, double gap)
{
    std::vector<int> chosen;
    const int span = last - first;
    const int labels = std::min(span, static_cast<int>(span / std::max(gap, 1.0))) + 1;
    for (int k = 0; k < labels; ++k)
        chosen.push_back(
            labels == 1 ? first : first + static_cast<int>(static_cast<long long>(span) * k / (labels - 1)));
    return chosen;
}

bool keepsGap(const std::vector<int>& chosen, double gap)
{
    for (size_t k = 1; k < chosen.size(); ++k)
        if (chosen[k] - chosen[k - 1] < gap)
            return false;
    return true;
}

}  // namespace

std::vector<int> Chart::labelPositions(int first, int last, double gap) const
{
    first = std::max(first, 0);
    last = std::min(last, pointCount() - 1);
    if (first > last)
        return {};
    // Steps in months; multiples of a year start on years divisible by them (2000, 2005, 2010).
    constexpr std::array kSteps{1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200};
    std::vector<int> months;
    months.reserve(static_cast<size_t>(last - first + 2));
    for (int i = std::max(first - 1, 0); i <= last; ++i)
        months.push_back(monthNumber(positions[static_cast<size_t>(i)]));
    const int offset = first > 0 ? 1 : 0;  // months[0] is the point before first, if any
    for (int step : kSteps) {
        std::vector<int> chosen;
        for (size_t k = 1; k < months.size(); ++k) {
            const int before = months[k - 1];
            const int now = months[k];
            if (before >= 0 && now >= 0 && before / step != now / step)
                chosen.push_back(first - offset + static_cast<int>(k));
        }
        if (step == kSteps.front() && chosen.size() < 2)
            break;
        if (keepsGap(chosen, gap))
            return chosen;
    }
    return evenPositions(first, last, gap);
}

}  // namespace kv
