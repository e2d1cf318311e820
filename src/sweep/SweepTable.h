// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results of a sweep as one table: a column per varied setting, the combination's index,
// then the figures (twice with a hold-out, in-sample first). kirvane-sweep writes it as CSV and
// the optimisation window shows the very same texts, so both read alike.

#include "sweep/SweepFigures.h"
#include "sweep/SweepGrid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// The column names: "operatingRate,maxStocks,combination,finalAssets,…"; with a hold-out each
// figure as "isFinalAssets" and "oosFinalAssets".
std::vector<std::string> sweepColumnNames(const SweepGrid& grid, bool holdout);

// The name of a figure's column; `part` 0 is the in-sample part of a hold-out, 1 the other.
std::string sweepFigureColumn(const char* name, bool holdout, size_t part);

// The texts of combination `index`'s row; `parts` holds its figures (two with a hold-out).
// Amounts and rates have at most 6 decimals and no trailing zeros; a figure without a value is
// empty.
std::vector<std::string> sweepRowTexts(const SweepGrid& grid, uint64_t index, const SweepFigures* parts,
                                       bool holdout);

// One figure of a row as the table writes it: a count whole, the rest as sweepNumberText()
// writes them; empty without a value.
std::string sweepFigureText(const SweepFigureField& field, const SweepFigures& figures);

// A figure as the table writes it: rounded to 6 decimals, without trailing zeros.
std::string sweepNumberText(double value);

// A row or the header as one CSV line, without its line end.
std::string sweepCsvLine(const std::vector<std::string>& texts);

}  // namespace kv
