#include "settings/SettingByName.h"

#include "text/Numbers.h"

#include <variant>

namespace kv {

namespace {

using Field =
    std::variant<double SimulationSettings::*, int32_t SimulationSettings::*, bool SimulationSettings::*>;

struct NamedField {
    const char* name;
    Field field;
};

const NamedField kFields[] = {
    {"capital", &SimulationSettings::capital},
    {"lossWithinThreeYears", &SimulationSettings::lossWithinThreeYears},
    {"leverage", &SimulationSettings::leverage},
    {"marginMaintenanceRate", &SimulationSettings::marginMaintenanceRate},
    {"maxCommission", &SimulationSettings::maxCommission},
    {"taxRate", &SimulationSettings::taxRate},
    {"spareAmount", &SimulationSettings::spareAmount},
    {"maxPurchaseAmount", &SimulationSettings::maxPurchaseAmount},
    {"maxStocks", &SimulationSettings::maxStocks},
    {"unknownProfitRate", &SimulationSettings::unknownProfitRate},
    {"operatingRate", &SimulationSettings::operatingRate},
    {"buyPriority", &SimulationSettings::buyPriority},
    {"shortSellSystem", &SimulationSettings::shortSellSystem},
    {"operationType", &SimulationSettings::operationType},
    {"commissionSchedule", &SimulationSettings::commissionSchedule},
    {"saveLog", &SimulationSettings::saveLog},
    {"tradeOrder", &SimulationSettings::tradeOrder},
};

struct Assign {
    SimulationSettings& settings;
    std::string_view value;
    void operator()(double SimulationSettings::*field) const { settings.*field = leadingDouble(value); }
    void operator()(int32_t SimulationSettings::*field) const { settings.*field = leadingInt(value); }
    void operator()(bool SimulationSettings::*field) const { settings.*field = leadingInt(value) != 0; }
};

}  // namespace

bool setSettingByName(SimulationSettings& settings, std::string_view name, std::string_view value)
{
    for (const NamedField& f : kFields) {
        if (name == f.name) {
            std::visit(Assign{settings, value}, f.field);
            return true;
        }
    }
    return false;
}

std::optional<SettingKind> settingKind(std::string_view name)
{
    struct Kind {
        SettingKind operator()(double SimulationSettings::*) const { return SettingKind::Decimal; }
        SettingKind operator()(int32_t SimulationSettings::*) const { return SettingKind::Whole; }
        SettingKind operator()(bool SimulationSettings::*) const { return SettingKind::Flag; }
    };
    for (const NamedField& f : kFields) {
        if (name == f.name)
            return std::visit(Kind{}, f.field);
    }
    return std::nullopt;
}

std::vector<std::string> settingNames()
{
    std::vector<std::string> names;
    for (const NamedField& f : kFields)
        names.emplace_back(f.name);
    return names;
}

}  // namespace kv
