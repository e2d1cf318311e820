// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the Qt widget tests: a dialog over any template that records what reaches
// it, and a helper that acts on a modal window once it is up.

#include "toolkit/Dialog.h"
#include "toolkit/DialogTemplate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace kv::test {

class RecordingDialog : public Dialog {
public:
    RecordingDialog(Platform& platform, const DialogTemplate& layout) : Dialog(platform), layout(layout) {}

    const DialogTemplate& dialogTemplate() const override { return layout; }
    void onCommand(int id, Notification notification) override
    {
        commands.emplace_back(id, notification);
        if (onCommandHook)
            onCommandHook(id);
        Dialog::onCommand(id, notification);
    }
    void onTimer(int) override { ++ticks; }

    const DialogTemplate& layout;
    std::vector<std::pair<int, Notification>> commands;
    std::function<void(int)> onCommandHook;
    int ticks = 0;
};

// Runs `action` on the active modal widget as soon as it is a visible W and `ready` holds; the
// polling timer runs inside whatever modal loop is up, so no test sleeps.
template <class W>
void whenModal(std::function<void(W*)> action, std::function<bool()> ready = {})
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, action = std::move(action), ready = std::move(ready)] {
                         auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
                         if (!modal || !modal->isVisible() || (ready && !ready()))
                             return;
                         timer->stop();
                         timer->deleteLater();
                         action(modal);
                     });
    timer->start();
}

// Delivers events until `condition` holds or `ms` milliseconds have passed; no sleeping.
inline bool waitFor(const std::function<bool()>& condition, int ms = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}

}  // namespace kv::test
