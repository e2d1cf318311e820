// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid of a parameter sweep: one axis per varied setting, each a list of value texts, and
// every combination of them. Combination i reads its values like the digits of a number whose
// last axis changes fastest, so the grid order is that of nested loops in the order the axes
// were given.

#include "settings/SettingsTable.h"
#include "settings/SimulationSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The most combinations one sweep may hold, so that a mistyped range is refused at once instead
// of running for days.
inline constexpr uint64_t kMaxCombinations = 1'000'000;

struct SweepAxis {
    std::string name;                 // a setting's field name
    std::vector<std::string> values;  // value texts, each one the setting can take
};

// Why `text` is no value of the named setting, or nothing when it is one. Values are numbers
// written out in full — an optional sign, digits, and for decimal settings a point and digits —
// whole numbers within the int32 range for whole-number settings, 0 or 1 for flags. They convert
// as kvn.conf converts them.
[[nodiscard]] std::optional<std::string> refuseSettingValue(std::string_view name, std::string_view text);

// The axis of one --vary NAME=SPEC, or why it is refused. SPEC is either a list "V1,V2,..." or a
// range "FROM:TO:STEP": FROM, FROM + STEP, ... as long as they do not pass TO (TO included when a
// step lands on it), computed in exact decimals. A STEP of 0, or one leading away from TO, is
// refused.
struct ParsedAxis {
    std::optional<SweepAxis> axis;
    std::string error;
};
ParsedAxis parseAxis(std::string_view name, std::string_view valuesText);

class SweepGrid {
public:
    SweepGrid() = default;
    explicit SweepGrid(std::vector<SweepAxis> axes);

    const std::vector<SweepAxis>& axes() const { return axisList; }

    // The number of combinations: the product of the axes' sizes; 1 without an axis. Saturates
    // just above kMaxCombinations, which is all a caller needs to refuse the grid.
    uint64_t size() const { return combinations; }

    // The value of each axis in combination `index` (below size()), in axis order.
    std::vector<std::string_view> valuesOf(uint64_t index) const;

    // Sets the values of combination `index` into `settings`, as setSettingText would set the
    // texts; the texts are read once, when the grid is built. An axis naming no setting sets
    // nothing.
    void setValues(SimulationSettings& settings, uint64_t index) const;

    // The combinations of shard `shard` out of `shards` (0 ≤ shard < shards): those whose index
    // modulo shards is shard, ascending.
    std::vector<uint64_t> shardIndices(uint64_t shard, uint64_t shards) const;

private:
    // An axis's values as the numbers setSettingValue takes.
    struct TypedAxis {
        const SettingDescription* setting;
        std::vector<double> numbers;
    };

    std::vector<SweepAxis> axisList;
    std::vector<TypedAxis> typedAxes;  // by axis
    uint64_t combinations = 1;
};

}  // namespace kv
