// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The save dialog of every file the window writes (the trade log, 売買記録's CSV, 運用成績's
// picture and CSV): a file the window reads — index.txt, kvn.conf, the loaded signal file — is
// never one to write, under whatever name or link it is chosen.

#include "toolkit/Platform.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// Asks for a file with `options`. A file that is one of `inputs` is refused with a message
// (「入力ファイルには書き込めません：kvn.conf」) and the question is asked again; so is the
// trade log a run of this process is writing (「実行中のログファイルには書き込めません」) and a
// file another run holds locked (「他の実行が書き込み中です：log.csv」). Nothing when the user
// cancels.
std::optional<std::filesystem::path> askForOutputFile(Platform& platform, const FileDialogOptions& options,
                                                      const std::vector<std::filesystem::path>& inputs);

// The same for a file of one kind (its default extension and the dialog's filter, code page
// 932), asking before an existing file is replaced.
std::optional<std::filesystem::path> askForOutputFile(Platform& platform, const char* defaultExtension,
                                                      const std::string& filter,
                                                      const std::vector<std::filesystem::path>& inputs);

}  // namespace kv
