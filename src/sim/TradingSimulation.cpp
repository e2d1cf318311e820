#include "sim/TradingSimulation.h"

namespace kv {

TradingSimulation::TradingSimulation(SimulatorApp& app, Platform& platform, const ListBox& signalList,
                                     std::string& messageLine)
    : app(app), platform(platform), signalList(signalList), messageLine(messageLine)
{
}

}  // namespace kv
