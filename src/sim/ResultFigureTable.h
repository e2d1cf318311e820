// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every figure of a run's results described once: its key (in the JSON "results" object and as
// kirvane-sweep's column), its Japanese label, the kind of value it holds, how it is coloured,
// which way is better, and how to read it. The results window, the report, the JSON writer, the
// batch summary, the sweep and the optimisation window all loop over this table, so that a new
// figure is one row here plus the code that computes it.
//
// Texts for people come from figureText(): amounts as ¥1,983,154, rates as -0.84%, ratios as
// 1.20, counts grouped, dates as 2004/01/05, "----" for a figure without a finite value.
// Drawdowns are held as positive sizes (the JSON and the sweep write them so) and shown to
// people as falls, with a minus sign.

#include "sim/RunResults.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv {

enum class FigureKind { Yen, Percent, Ratio, Count, Date, BusinessDays };

// Gain: the figure is good news when above 0 (green), bad below (red). LossAbove0: a loss held as
// a positive size, red when above 0. None: never coloured.
enum class FigureColour { None, Gain, LossAbove0 };

// For ranking: whether a larger or a smaller value is the better one (None: not a ranking figure).
enum class FigureBetter { None, Larger, Smaller };

enum class FigureTone { Plain, Gain, Loss };

// What a figure is read from: the results' figures, the run's capital and the run's counters
// (zero where a caller has no run, as for results known by their profits only).
struct FigureInputs {
    const ResultFigures& figures;
    double capital = 0;
    int64_t purchases = 0;
    int64_t sales = 0;
};

// Where a figure appears (the sweep names the figures of its columns itself).
enum FigurePlace : unsigned {
    InResults = 1,  // the results window's 概要 and the report's full list
    InJson = 2,     // the "results" object of --json and of the report's data block
    InCards = 4,    // the report's cards at the top of its figures
};

struct FigureDescription {
    const char* key;
    const char* label;  // UTF-8 source text
    FigureKind kind;
    FigureColour colour;
    FigureBetter better;
    bool shownAsFall;  // a drawdown: shown with a minus sign
    unsigned places;
    std::optional<double> (*read)(const FigureInputs&);

    std::optional<double> value(const FigureInputs& inputs) const { return read(inputs); }
};

// Every figure, in the order the results window and the report list them (and the JSON writes
// those it holds).
std::span<const FigureDescription> resultFigureTable();

// The figure of that key; nullptr when there is none.
const FigureDescription* figureByKey(std::string_view key);

// The figure's text for people (code page 932): as the kind formats it, a drawdown as a fall,
// "----" when it has no finite value.
std::string figureText(const FigureDescription& figure, std::optional<double> value);

// The figure's colour: by its rule, Plain for a value that is 0, missing or not finite.
FigureTone figureTone(const FigureDescription& figure, std::optional<double> value);

// The tone of a plain amount: gain above 0, loss below.
FigureTone signTone(std::optional<double> value);

}  // namespace kv
