// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep/SweepGrid.h"

#include "settings/SettingByName.h"
#include "text/Numbers.h"

#include <cmath>
#include <limits>

namespace kv {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number written out in full: sign, digits, and optionally a point and digits.
struct DecimalText {
    bool valid = false;
    bool negative = false;
    std::string_view whole;     // the digits before the point
    std::string_view fraction;  // the digits after it; empty without a point
};

DecimalText readDecimal(std::string_view text)
{
    DecimalText d;
    size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        d.negative = text[pos] == '-';
        ++pos;
    }
    size_t begin = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    d.whole = text.substr(begin, pos - begin);
    if (d.whole.empty())
        return d;
    if (pos < text.size() && text[pos] == '.') {
        begin = ++pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos;
        d.fraction = text.substr(begin, pos - begin);
        if (d.fraction.empty())
            return d;
    }
    d.valid = pos == text.size();
    return d;
}

std::string quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

// A decimal held exactly as units of 10^-scale.
struct Scaled {
    int64_t units = 0;
    int scale = 0;
};

// Nothing when the text has more digits than 64 bits hold exactly.
std::optional<Scaled> toScaled(const DecimalText& d)
{
    Scaled s;
    s.scale = static_cast<int>(d.fraction.size());
    for (std::string_view digits : {d.whole, d.fraction}) {
        for (char c : digits) {
            if (__builtin_mul_overflow(s.units, int64_t{10}, &s.units) ||
                __builtin_add_overflow(s.units, int64_t{c - '0'}, &s.units))
                return std::nullopt;
        }
    }
    if (d.negative)
        s.units = -s.units;
    return s;
}

bool rescale(Scaled& s, int scale)
{
    for (; s.scale < scale; ++s.scale) {
        if (__builtin_mul_overflow(s.units, int64_t{10}, &s.units))
            return false;
    }
    return true;
}

// units × 10^-scale with exactly `scale` decimals: 15 and 1 give "1.5".
std::string formatScaled(int64_t units, int scale)
{
    const bool negative = units < 0;
    // The magnitude as unsigned, so that the int64 minimum has one too.
    uint64_t magnitude = negative ? uint64_t{0} - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
    std::string digits = std::to_string(magnitude);
    if (digits.size() <= static_cast<size_t>(scale))
        digits.insert(0, static_cast<size_t>(scale) + 1 - digits.size(), '0');
    if (scale > 0)
        digits.insert(digits.size() - static_cast<size_t>(scale), ".");
    return negative ? "-" + digits : digits;
}

}  // namespace

std::optional<std::string> refuseSettingValue(std::string_view name, std::string_view text)
{
    std::optional<SettingKind> kind = settingKind(name);
    if (!kind)
        return std::string(name) + " という設定はありません";
    const DecimalText d = readDecimal(text);
    if (!d.valid)
        return quoted(text) + " は数値ではありません";
    switch (*kind) {
    case SettingKind::Decimal:
        if (!std::isfinite(leadingDouble(text)))
            return quoted(text) + " は大きすぎます";
        return std::nullopt;
    case SettingKind::Whole: {
        if (!d.fraction.empty())
            return quoted(text) + " は整数ではありません";
        std::optional<Scaled> s = toScaled(d);
        if (!s || s->units < std::numeric_limits<int32_t>::min() ||
            s->units > std::numeric_limits<int32_t>::max())
            return quoted(text) + " は整数の範囲 (32 ビット) を超えています";
        return std::nullopt;
    }
    case SettingKind::Flag:
        if (text != "0" && text != "1")
            return quoted(text) + " は 0 でも 1 でもありません";
        return std::nullopt;
    }
    return std::nullopt;
}

ParsedAxis parseAxis(std::string_view name, std::string_view valuesText)
{
    const std::string where = "--vary " + std::string(name) + "=" + std::string(valuesText) + ": ";
    const std::string tooManyValues = "値が多すぎます (" + std::to_string(kMaxCombinations) + " まで)";
    if (!settingKind(name))
        return {std::nullopt, "--vary: " + std::string(name) + " という設定はありません"};
    SweepAxis axis{std::string(name), {}};

    if (valuesText.find(':') == std::string_view::npos) {
        for (size_t begin = 0;;) {
            size_t comma = valuesText.find(',', begin);
            std::string_view value =
                valuesText.substr(begin, comma == std::string_view::npos ? valuesText.npos : comma - begin);
            if (value.empty())
                return {std::nullopt, where + "空の値があります"};
            if (std::optional<std::string> refusal = refuseSettingValue(name, value))
                return {std::nullopt, where + *refusal};
            axis.values.emplace_back(value);
            if (axis.values.size() > kMaxCombinations)
                return {std::nullopt, where + tooManyValues};
            if (comma == std::string_view::npos)
                break;
            begin = comma + 1;
        }
        return {std::move(axis), {}};
    }

    std::string_view parts[3];
    size_t begin = 0;
    for (int i = 0; i < 3; ++i) {
        size_t colon = valuesText.find(':', begin);
        if ((i < 2) == (colon == std::string_view::npos))
            return {std::nullopt, where + "範囲は FROM:TO:STEP と書きます"};
        parts[i] = valuesText.substr(begin, i < 2 ? colon - begin : valuesText.npos);
        begin = colon + 1;
    }
    const char* labels[] = {"FROM", "TO", "STEP"};
    Scaled scaled[3];
    int scale = 0;
    for (int i = 0; i < 3; ++i) {
        // FROM and TO are values of the setting; STEP is a number of its kind, of either sign.
        const DecimalText d = readDecimal(parts[i]);
        if (i < 2) {
            if (std::optional<std::string> refusal = refuseSettingValue(name, parts[i]))
                return {std::nullopt, where + labels[i] + " " + *refusal};
        } else if (!d.valid) {
            return {std::nullopt, where + "STEP " + quoted(parts[i]) + " は数値ではありません"};
        } else if (!d.fraction.empty() && settingKind(name) != SettingKind::Decimal) {
            return {std::nullopt, where + "STEP " + quoted(parts[i]) + " は整数ではありません"};
        }
        std::optional<Scaled> s = toScaled(d);
        if (!s)
            return {std::nullopt, where + labels[i] + " の桁が多すぎます"};
        scaled[i] = *s;
        scale = std::max(scale, s->scale);
    }
    for (Scaled& s : scaled) {
        if (!rescale(s, scale))
            return {std::nullopt, where + "桁が多すぎます"};
    }
    const int64_t from = scaled[0].units, to = scaled[1].units, step = scaled[2].units;
    if (step == 0)
        return {std::nullopt, where + "STEP が 0 です"};
    int64_t span = 0;
    if (__builtin_sub_overflow(to, from, &span))
        return {std::nullopt, where + tooManyValues};
    if ((span > 0 && step < 0) || (span < 0 && step > 0))
        return {std::nullopt, where + "STEP の向きでは TO に届きません"};
    const uint64_t count = static_cast<uint64_t>(span / step) + 1;
    if (count > kMaxCombinations)
        return {std::nullopt, where + tooManyValues};
    for (uint64_t i = 0; i < count; ++i) {
        // from + i × step lies between FROM and TO, so it cannot overflow.
        axis.values.push_back(formatScaled(from + static_cast<int64_t>(i) * step, scale));
    }
    return {std::move(axis), {}};
}

SweepGrid::SweepGrid(std::vector<SweepAxis> axes) : axisList(std::move(axes))
{
    for (const SweepAxis& axis : axisList) {
        combinations *= axis.values.size();
        if (combinations > kMaxCombinations)
            combinations = kMaxCombinations + 1;
        TypedAxis& typed = typedAxes.emplace_back(TypedAxis{settingNamed(axis.name), {}});
        if (typed.setting) {
            for (const std::string& value : axis.values)
                typed.numbers.push_back(settingTextValue(*typed.setting, value));
        }
    }
}

std::vector<std::string_view> SweepGrid::valuesOf(uint64_t index) const
{
    std::vector<std::string_view> values(axisList.size());
    for (size_t a = axisList.size(); a-- > 0;) {
        const std::vector<std::string>& v = axisList[a].values;
        values[a] = v[index % v.size()];
        index /= v.size();
    }
    return values;
}

void SweepGrid::setValues(SimulationSettings& settings, uint64_t index) const
{
    // Axis by axis in their order, as the texts would be set (the last axis of a setting given
    // twice wins): the value positions first, last axis fastest.
    std::vector<size_t> positions(axisList.size());
    for (size_t a = axisList.size(); a-- > 0;) {
        positions[a] = index % axisList[a].values.size();
        index /= axisList[a].values.size();
    }
    for (size_t a = 0; a < typedAxes.size(); ++a) {
        if (typedAxes[a].setting)
            setSettingValue(settings, *typedAxes[a].setting, typedAxes[a].numbers[positions[a]]);
    }
}

std::vector<uint64_t> SweepGrid::shardIndices(uint64_t shard, uint64_t shards) const
{
    std::vector<uint64_t> indices;
    for (uint64_t i = shard; i < combinations; i += shards)
        indices.push_back(i);
    return indices;
}

}  // namespace kv
