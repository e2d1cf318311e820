// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-scenario [SIGNAL_FILE]: starts the program exactly as it starts on the desktop, in the
// current directory, but on the scripted backend, and reads its commands from standard input.
// Everything the program shows is printed as UTF-8, one item per line.

#include "app/Application.h"
#include "text/CommandLine.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgram = "kirvane-scenario";

constexpr const char* kUsage =
    "使い方: kirvane-scenario [SIGNAL_FILE] < SCRIPT\n"
    "Kirvane をカレントフォルダーで画面なしに起動し、標準入力のコマンドを 1 行ずつ実行します。\n"
    "表示されるものはすべて UTF-8 で標準出力に書きます。SIGNAL_FILE は kirvane "
    "と同じく起動後に読み込みます。\n"
    "\n"
    "コマンド:\n"
    "  click ID | click OK | click CANCEL      ボタンを押す\n"
    "  enter                                   既定のボタンを押す (Enter キー)\n"
    "  select ID INDEX                         リストの行を選ぶ (-1: 選択なし)\n"
    "  type ID TEXT / check ID 0|1             エディットに入力する / チェックボックスを切り替える\n"
    "  menu ID                                 ウィンドウメニューの項目を選ぶ (16: バージョン情報)\n"
    "  answer-open PATH | answer-save PATH | answer-cancel   次のファイルダイアログの答え\n"
    "  answer-no                               次の「はい/いいえ」の質問に「いいえ」と答える\n"
    "                                          (用意がなければ「はい」)\n"
    "  tick N                                  メインウィンドウのタイマーを N 回進める\n"
    "  drop PATH                               ファイルをウィンドウにドロップする\n"
    "  close                                   一番上のダイアログを閉じる (Esc)\n"
    "  dump                                    一番上のダイアログのコントロールをすべて表示する\n"
    "\n"
    "  -h, --help  この使い方を表示して終了します\n"
    "  --version   バージョンを表示して終了します\n"
    "\n"
    "終了ステータス:\n"
    "  0  スクリプトが終わった、またはウィンドウが閉じた\n"
    "  2  コマンドラインの誤り\n"
    "  3  答えの用意されていないファイルダイアログが開いた\n";

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (kv::findStandardOption(arguments)) {
    case kv::StandardOption::Help:
        std::cout << kUsage;
        return 0;
    case kv::StandardOption::Version:
        std::cout << kv::versionText(kProgram);
        return 0;
    case kv::StandardOption::None:
        break;
    }
    kv::ApplicationArguments parsed = kv::parseApplicationArguments(arguments);
    if (!parsed.error.empty()) {
        std::cerr << kv::usageErrorText(kProgram, parsed.error);
        return kv::kExitUsage;
    }

    std::ios::sync_with_stdio(false);
    kv::HeadlessPlatform platform(std::cout, std::cerr);

    // answer-* lines at the top of the script answer the start-up's own file dialogs.
    std::optional<std::string> pending;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("answer-", 0) == 0) {
            platform.execute(line);
            continue;
        }
        pending = line;
        break;
    }
    platform.setLineSource([&pending]() -> std::optional<std::string> {
        if (pending) {
            std::optional<std::string> first = std::move(pending);
            pending.reset();
            return first;
        }
        std::string next;
        if (!std::getline(std::cin, next))
            return std::nullopt;
        return next;
    });

    try {
        int status = kv::runApplication(platform, parsed.signalFile);
        std::cout.flush();
        return status;
    } catch (const kv::HeadlessExit& exit) {
        std::cout.flush();
        return exit.status;
    }
}
