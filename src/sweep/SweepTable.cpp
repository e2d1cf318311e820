// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep/SweepTable.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace kv {

std::string sweepFigureColumn(const char* name, bool holdout, size_t part)
{
    if (!holdout)
        return name;
    std::string capitalised = name;
    capitalised[0] = static_cast<char>(capitalised[0] - 'a' + 'A');
    return (part == 0 ? "is" : "oos") + capitalised;
}

std::vector<std::string> sweepColumnNames(const SweepGrid& grid, bool holdout)
{
    std::vector<std::string> names;
    for (const SweepAxis& axis : grid.axes())
        names.push_back(axis.name);
    names.emplace_back("combination");
    for (size_t part = 0; part < (holdout ? 2u : 1u); ++part) {
        for (const SweepFigureField& field : sweepFigureFields())
            names.push_back(sweepFigureColumn(field.name, holdout, part));
    }
    return names;
}

std::string sweepNumberText(double value)
{
    if (!std::isfinite(value))
        return "null";  // as the JSON output has it
    char text[400];     // the largest double has 309 digits before the point
    std::snprintf(text, sizeof text, "%.6f", value);
    char* end = text + std::strlen(text);
    while (end[-1] == '0')
        --end;
    if (end[-1] == '.')
        --end;
    *end = '\0';
    return std::string_view(text) == "-0" ? "0" : text;
}

std::string sweepFigureText(const SweepFigureField& field, const SweepFigures& figures)
{
    const std::optional<double> v = field.value(figures);
    if (!v)
        return {};
    if (field.figure->kind == FigureKind::Count && std::isfinite(*v))
        return std::to_string(static_cast<int64_t>(*v));
    return sweepNumberText(*v);
}

std::vector<std::string> sweepRowTexts(const SweepGrid& grid, uint64_t index, const SweepFigures* parts,
                                       bool holdout)
{
    std::vector<std::string> texts;
    for (std::string_view value : grid.valuesOf(index))
        texts.emplace_back(value);
    texts.push_back(std::to_string(index));
    for (size_t part = 0; part < (holdout ? 2u : 1u); ++part) {
        for (const SweepFigureField& field : sweepFigureFields())
            texts.push_back(sweepFigureText(field, parts[part]));
    }
    return texts;
}

std::string sweepCsvLine(const std::vector<std::string>& texts)
{
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            line += ',';
        line += texts[i];
    }
    return line;
}

}  // namespace kv
