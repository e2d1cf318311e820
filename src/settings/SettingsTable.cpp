// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsTable.h"

#include "text/Numbers.h"

namespace kv {

namespace {

using S = SimulationSettings;

// clang-format off
const SettingDescription kSettings[] = {
    // name                    field                      kvn.conf    whole yen  shown ×  optimise  label, unit, choices
    {"capital",               &S::capital,               {0, -1},    true,      1,       true,     "資本金", "円", {}},
    {"lossWithinThreeYears",  &S::lossWithinThreeYears,  {1, -1},    true,      1,       true,     "３年以内の損失", "円", {}},
    {"leverage",              &S::leverage,              {2, -1},    false,     1,       true,     "運用倍率", "倍", {}},
    {"marginMaintenanceRate", &S::marginMaintenanceRate, {3, -1},    false,     100,     true,     "追証最低保障率", "%", {}},
    {"maxCommission",         &S::maxCommission,         {10, -1},   false,     1,       false,    "最大手数料", "円", {}},
    {"taxRate",               &S::taxRate,               {4, -1},    false,     100,     true,     "税率", "%", {}},
    {"spareAmount",           &S::spareAmount,           {5, -1},    false,     1,       false,    "予備資金", "円", {}},
    {"maxPurchaseAmount",     &S::maxPurchaseAmount,     {6, -1},    false,     1,       true,     "最大購入金額", "円", {}},
    {"maxStocks",             &S::maxStocks,             {7, -1},    false,     1,       true,     "最大購入銘柄数", "", {}},
    {"unknownProfitRate",     &S::unknownProfitRate,     {8, -1},    false,     100,     true,     "不明時の利益率", "%", {}},
    {"operatingRate",         &S::operatingRate,         {11, -1},   false,     100,     true,     "運用率", "%", {}},
    {"buyPriority",           &S::buyPriority,           {13, -1},   false,     1,       true,     "優先購入銘柄", "",
        {"単位株価の低い順"}},
    {"shortSellSystem",       &S::shortSellSystem,       {17, -1},   false,     1,       false,    "空売りシステム", "", {}},
    {"operationType",         &S::operationType,         {14, -1},   false,     1,       true,     "運用タイプ", "",
        {"単日運用率設定：運用率いっぱいまで購入", "銘柄運用率設定：運用率/最大購入数まで購入"}},
    {"commissionSchedule",    &S::commissionSchedule,    {9, 12},    false,     1,       true,     "手数料", "",
        {"カブドットコム証券信用＆±指値", "手数料なし", "イートレード証券", "タイコム証券"}},
    {"saveLog",               &S::saveLog,               {15, -1},   false,     1,       false,    "ログの保存", "", {}},
    {"tradeOrder",            &S::tradeOrder,            {16, -1},   false,     1,       true,     "売買の順序", "",
        {"利確、損切優先：売→買", "仕掛優先：買→売"}},
    {"taxModel",              &S::taxModel,              {-1, -1},   false,     1,       true,     "税金の計算", "",
        {"売却ごと（損失は戻しません）", "特定口座（年ごとに損益通算、損失は３年繰越）"}, SettingFile::KirvaneIni,
        "特定口座の計算は、税率を 20.315 % (0.20315、上場株式の譲渡益の今の税率) にすると実際の口座に近くなります。"},
    {"undecidedHoldDays",     &S::undecidedHoldDays,     {-1, -1},   false,     1,       true,     "判定不可の保有日数", "営業日",
        {}, SettingFile::KirvaneIni,
        "判定不可のシグナルから買った銘柄を、この営業日数の後に売ります（0: 期末まで保有）。"},
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

int SettingDescription::choiceCount() const
{
    int count = 0;
    while (count < static_cast<int>(choices.size()) && choices[static_cast<size_t>(count)])
        ++count;
    return count;
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

double settingTextValue(const SettingDescription& setting, std::string_view text)
{
    switch (setting.kind()) {
    case SettingKind::Decimal:
        return leadingDouble(text);
    case SettingKind::Whole:
        return leadingInt(text);
    case SettingKind::Flag:
        return leadingInt(text) != 0 ? 1 : 0;
    }
    return 0;
}

void setSettingText(SimulationSettings& settings, const SettingDescription& setting, std::string_view text)
{
    setSettingValue(settings, setting, settingTextValue(setting, text));
}

}  // namespace kv
