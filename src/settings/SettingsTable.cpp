// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsTable.h"

#include "text/Numbers.h"

namespace kv {

namespace {

using S = SimulationSettings;

// clang-format off
const SettingDescription kSettings[] = {
    // name                    field                      kvn.conf    whole yen  shown ×
    {"capital",               &S::capital,               {0, -1},    true,      1},
    {"lossWithinThreeYears",  &S::lossWithinThreeYears,  {1, -1},    true,      1},
    {"leverage",              &S::leverage,              {2, -1},    false,     1},
    {"marginMaintenanceRate", &S::marginMaintenanceRate, {3, -1},    false,     100},
    {"maxCommission",         &S::maxCommission,         {10, -1},   false,     1},
    {"taxRate",               &S::taxRate,               {4, -1},    false,     100},
    {"spareAmount",           &S::spareAmount,           {5, -1},    false,     1},
    {"maxPurchaseAmount",     &S::maxPurchaseAmount,     {6, -1},    false,     1},
    {"maxStocks",             &S::maxStocks,             {7, -1},    false,     1},
    {"unknownProfitRate",     &S::unknownProfitRate,     {8, -1},    false,     100},
    {"operatingRate",         &S::operatingRate,         {11, -1},   false,     100},
    {"buyPriority",           &S::buyPriority,           {13, -1},   false,     1},
    {"shortSellSystem",       &S::shortSellSystem,       {17, -1},   false,     1},
    {"operationType",         &S::operationType,         {14, -1},   false,     1},
    {"commissionSchedule",    &S::commissionSchedule,    {9, 12},    false,     1},
    {"saveLog",               &S::saveLog,               {15, -1},   false,     1},
    {"tradeOrder",            &S::tradeOrder,            {16, -1},   false,     1},
};
// clang-format on

}  // namespace

SettingKind SettingDescription::kind() const
{
    struct Kind {
        SettingKind operator()(double S::*) const { return SettingKind::Decimal; }
        SettingKind operator()(int32_t S::*) const { return SettingKind::Whole; }
        SettingKind operator()(bool S::*) const { return SettingKind::Flag; }
    };
    return std::visit(Kind{}, field);
}

std::span<const SettingDescription> settingsTable()
{
    return kSettings;
}

const SettingDescription* settingNamed(std::string_view name)
{
    for (const SettingDescription& s : kSettings)
        if (name == s.name)
            return &s;
    return nullptr;
}

double settingValue(const SimulationSettings& settings, const SettingDescription& setting)
{
    struct Get {
        const S& settings;
        double operator()(double S::*f) const { return settings.*f; }
        double operator()(int32_t S::*f) const { return settings.*f; }
        double operator()(bool S::*f) const { return settings.*f ? 1 : 0; }
    };
    return std::visit(Get{settings}, setting.field);
}

void setSettingValue(SimulationSettings& settings, const SettingDescription& setting, double value)
{
    struct Set {
        S& settings;
        double value;
        void operator()(double S::*f) const { settings.*f = value; }
        void operator()(int32_t S::*f) const { settings.*f = truncateToInt32(value); }
        void operator()(bool S::*f) const { settings.*f = value != 0; }
    };
    std::visit(Set{settings, value}, setting.field);
}

void setSettingText(SimulationSettings& settings, const SettingDescription& setting, std::string_view text)
{
    struct Assign {
        S& settings;
        std::string_view text;
        void operator()(double S::*f) const { settings.*f = leadingDouble(text); }
        void operator()(int32_t S::*f) const { settings.*f = leadingInt(text); }
        void operator()(bool S::*f) const { settings.*f = leadingInt(text) != 0; }
    };
    std::visit(Assign{settings, text}, setting.field);
}

}  // namespace kv
