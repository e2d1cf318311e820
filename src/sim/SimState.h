// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The phase a run performs next. The numbers are the run's state codes; the main window names
// each state in its 状態 field.

#include <cstdint>

namespace kv {

enum class SimState : int32_t {
    BeforeRun = 0,   // 実行前: no run
    BeforeSale = 1,  // 売却前待機: sell the sell list
    AfterSale = 2,   // 売却後待機: gather the next day's rows as candidates
    BeforeBuy = 3,   // 購入前待機: buy from the candidates
    AfterBuy = 4,    // 購入後待機: drop the candidates not bought
    DayDone = 5,     // 購入完了: open the next day
    Ended = 99,      // 終了: sell everything still held
};

}  // namespace kv
