// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts the window shows that more than one place uses, as code page 932 bytes. The texts the
// command-line tools print too are in sim/OutcomeTexts.h.

#include "text/Cp932.h"

#include <string>

namespace kv::messages {

inline const std::string aboutMenuItem = toCp932("バージョン情報 Kirvane(&A)...");
inline const std::string stateBeforeRun = toCp932("実行前");
inline const std::string cannotChangeWhileRunning = toCp932("実行中は変更できません。");
inline const std::string cannotSetWhileRunning = toCp932("実行中は設定できません。");
inline const std::string alreadyRunning = toCp932("実行中です。");
inline const std::string noRun = toCp932("シミュレーションが実行されていません。");
inline const std::string autoRunInProgress = toCp932("自動実行中です。");
inline const std::string autoAlreadyRunning = toCp932("すでに自動実行中です。");
inline const std::string autoNotRunning = toCp932("自動実行されていません。");
inline const std::string inputNotWritable = toCp932("入力ファイルには書き込めません：");
inline const std::string runningLogNotWritable = toCp932("実行中のログファイルには書き込めません");
inline const std::string outputLocked = toCp932("他の実行が書き込み中です：");
inline const std::string quitWhileRunning = toCp932("シミュレーション実行中です。終了しますか？");
inline const std::string csvFilter = toCp932("CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||");

}  // namespace kv::messages
