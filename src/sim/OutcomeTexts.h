// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of what loading and running report, shared by the window (which shows them in
// message boxes and its status line) and the command-line tools (which print them), as code page
// 932 bytes.

#include "text/Cp932.h"
#include "text/LineReader.h"

#include <cerrno>
#include <string>

namespace kv::messages {

// Start-up: index.txt and kvn.conf.
inline const std::string masterReplacedNotice =
    toCp932("index.txt の UTF-8 から変換できず「？」にした文字：%d");
inline const std::string firstStart = toCp932("初回起動：オプションファイルを作成します。");
inline const std::string settingsFileUnreadable = toCp932("ファイルオープンエラー：kvn.conf\r\n");
inline const std::string settingsFileNotWritten =
    toCp932("ファイルオープンエラー：kvn.conf\r\nオプションファイルが作成できませんでした。");

// Loading a signal file.
inline const std::string cannotOpenFile = toCp932("ファイルをオープンできません");
inline const std::string fileOverLimit =
    toCp932("ファイルが大きすぎるため読み込めません（" + std::to_string(kMaxInputLines) + " 行、" +
            std::to_string(kMaxInputBytes >> 20) + " MB まで）");
// What 読み込み says of a file it could not read, by the error number LineReader gave.
inline const std::string& cannotReadFile(int error)
{
    return error == EFBIG ? fileOverLimit : cannotOpenFile;
}
inline const std::string fileTooLarge = toCp932("ファイルが大きすぎるため終了します。");
inline const std::string readyToRun = toCp932("必要に応じてオプションを変更し実行ボタンを押してください。");
inline const std::string signalsReplacedNotice = toCp932("（UTF-8 から変換できず「？」にした文字：%d）");

// Choosing the run's rows.
inline const std::string selectStart = toCp932("リストから開始銘柄を選択してください。");
inline const std::string startAfterEnd = toCp932("開始日が終了日より後です。");
inline const std::string selectEnd = toCp932("リストから終了銘柄を選択してください。");
inline const std::string endBeforeStart = toCp932("終了日が開始日より前です。");

// Running.
inline const std::string noSignalsOrMaster = toCp932("シミュレーションファイルまたはindex.txtがありません。");
inline const std::string logCannotOpen =
    toCp932("ファイルをオープンできません。ログ保存を取りやめます。記録する場合は再度オプションのログの保"
            "存にチェックを入れてください。");
inline const std::string logWriteFailed =
    toCp932("ログファイルに書き込めません。このシミュレーションのログ保存を取りやめます。");
inline const std::string simulationEnded = toCp932("シミュレーション終了！");

}  // namespace kv::messages
