// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop platform of the window benchmarks, with the questions answered by the benchmark:
// every open dialog picks the benchmark's signal file, every save dialog is cancelled, every
// yes/no question gets `answerYes`, and a message box goes to `onMessage` (nothing when unset)
// instead of waiting for a click.

#include "toolkit/qt/QtPlatform.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

class AnsweringQtPlatform : public kv::QtPlatform {
public:
    explicit AnsweringQtPlatform(std::filesystem::path signalFile) : signalFile(std::move(signalFile)) {}

    std::optional<std::filesystem::path> openFile(const kv::FileDialogOptions&) override
    {
        return signalFile;
    }
    std::optional<std::filesystem::path> saveFile(const kv::FileDialogOptions&) override
    {
        return std::nullopt;
    }
    bool askYesNo(const std::string&) override { return answerYes; }
    void messageBox(const std::string& text) override
    {
        if (onMessage)
            onMessage(text);
    }

    std::filesystem::path signalFile;
    bool answerYes = true;
    std::function<void(const std::string&)> onMessage;
};
