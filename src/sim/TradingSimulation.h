#pragma once
// The portfolio simulation of a run: its state, the three portfolio lists and the texts it
// shows. simulateStep() performs one phase of a trading day. The main window owns one and binds
// its lists and texts to controls; the batch tool drives the very same object through the main
// window.

#include "toolkit/ListBox.h"

#include <string>

namespace kv {

class Platform;
class SimulatorApp;

class TradingSimulation {
public:
    // signalList is the main window's signal list; messageLine its status line (edit 1002),
    // which the loader writes too.
    TradingSimulation(SimulatorApp& app, Platform& platform, const ListBox& signalList,
                      std::string& messageLine);

    // ... run state, figures, lists, texts, simulateStep(), start/reset helpers:
    // to be completed by the trading-simulation work.

    int simState = 0;               // 0: no run active; 1..5 and 99: the phase to perform next
    double operatingAssets = 0;     // buying power, 運用資産
    double totalAssets = 0;         // 総資産
    bool autoRunning = false;

    ListBox holdingsList;           // 1024 所持銘柄
    ListBox candidateList;          // 1021 購入候補
    ListBox sellList;               // 1025 売却リスト

    std::string stateText;          // 1019 状態
    std::string currentDateText;    // 1020
    std::string holdingsFigureText; // 1022
    std::string sellFigureText;     // 1030
    std::string operatingAssetsText;// 1023
    std::string totalAssetsText;    // 1026

private:
    SimulatorApp& app;
    Platform& platform;
    const ListBox& signalList;
    std::string& messageLine;
};

}  // namespace kv
