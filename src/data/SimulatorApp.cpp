#include "data/SimulatorApp.h"

#include "settings/SettingsFile.h"

namespace kv {

SimulatorApp& SimulatorApp::instance()
{
    static SimulatorApp app;
    return app;
}

std::filesystem::path SimulatorApp::settingsFile() const
{
    return dataFolder / kSettingsFileName;
}

void SimulatorApp::buildNameIndex()
{
    codesByName.clear();
    codesByName.reserve(kStockCodeCount);
    for (int32_t code = 0; code < kStockCodeCount; ++code) {
        const std::string& name = stockName[static_cast<size_t>(code)];
        if (name.empty())
            continue;
        auto [it, inserted] = codesByName.try_emplace(name, Codes{code, code});
        if (!inserted)
            it->second.highest = code;  // codes are visited in ascending order
    }
}

int32_t SimulatorApp::highestCodeNamed(std::string_view name) const
{
    auto it = codesByName.find(name);
    return it == codesByName.end() ? 0 : it->second.highest;
}

int32_t SimulatorApp::lowestCodeNamed(std::string_view name) const
{
    auto it = codesByName.find(name);
    return it == codesByName.end() ? 0 : it->second.lowest;
}

}  // namespace kv
