// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trade list of a run as the rows of 運用成績's table 取引一覧: one row per sale, read from the
// run's results when a row is shown, never copied as texts (a long run keeps hundreds of
// thousands of trades). A filter keeps the trades whose code or stock name holds a text; the
// rows sort by the trades' values (numbers as numbers, dates as dates).

#include "sim/RunResults.h"
#include "toolkit/Table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class SignalRows;

class TradeListRows : public TableRows {
public:
    // `results` and `names` (the run's signal rows; nullptr: no names) must outlive the rows.
    TradeListRows(const RunResults& results, const SignalRows* names) : results(results), names(names) {}

    // Takes the trades the results hold now whose code or name contains `filter` (code page 932;
    // blanks around it do not count; an empty filter keeps every trade).
    void take(std::string_view filter);
    int total() const { return static_cast<int>(results.tradeList().size()); }
    // The sums of the trades shown, one per column of tradeColumns() (0 for a column that is not
    // summed), each trade's value rounded as the table shows it.
    std::vector<double> sums() const;
    // 合計 and, for each summed column, its heading and its sum as the table writes it (code page
    // 932).
    std::string sumsText() const;

    // The table's columns: the trade list's headings, numbers right-aligned.
    static std::vector<TableColumn> columns();

    int count() const override { return static_cast<int>(shown.size()); }
    TableCell cell(int row, int column) const override;
    bool lessThan(int a, int b, int column) const override;
    void sortRows(std::vector<int32_t>& order, int column, bool ascending) const override;

private:
    const Trade* trade(int row) const;
    std::string_view name(const Trade& trade) const;

    const RunResults& results;
    const SignalRows* names;
    std::vector<int32_t> shown;  // indices into the trade list
};

// Whether `text` holds `part` at the start of a character (code page 932: never in the middle
// of a double-byte character).
bool containsText(std::string_view text, std::string_view part);

}  // namespace kv
