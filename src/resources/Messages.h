#pragma once
// Texts the program shows that more than one place uses, as code page 932 bytes.

#include "text/Cp932.h"
#include "text/LineReader.h"

#include <cerrno>
#include <string>

namespace kv::messages {

inline const std::string aboutMenuItem = toCp932("バージョン情報 Kirvane(&A)...");
inline const std::string stateBeforeRun = toCp932("実行前");
inline const std::string cannotChangeWhileRunning = toCp932("実行中は変更できません。");
inline const std::string cannotSetWhileRunning = toCp932("実行中は設定できません。");
inline const std::string noSignalsOrMaster = toCp932("シミュレーションファイルまたはindex.txtがありません。");
inline const std::string alreadyRunning = toCp932("実行中です。");
inline const std::string noRun = toCp932("シミュレーションが実行されていません。");
inline const std::string autoRunInProgress = toCp932("自動実行中です。");
inline const std::string autoAlreadyRunning = toCp932("すでに自動実行中です。");
inline const std::string autoNotRunning = toCp932("自動実行されていません。");
inline const std::string csvFilter = toCp932("CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||");
inline const std::string simulationEnded = toCp932("シミュレーション終了！");
inline const std::string cannotOpenFile = toCp932("ファイルをオープンできません");
inline const std::string fileTooLarge =
    toCp932("ファイルが大きすぎるため読み込めません（" + std::to_string(kMaxInputLines) + " 行、" +
            std::to_string(kMaxInputBytes >> 20) + " MB まで）");
// What 読み込み says of a file it could not read, by the error number LineReader gave.
inline const std::string& cannotReadFile(int error)
{
    return error == EFBIG ? fileTooLarge : cannotOpenFile;
}
inline const std::string logWriteFailed =
    toCp932("ログファイルに書き込めません。このシミュレーションのログ保存を取りやめます。");
inline const std::string settingsFileNotWritten =
    toCp932("ファイルオープンエラー：kvn.conf\r\nオプションファイルが作成できませんでした。");

}  // namespace kv::messages
