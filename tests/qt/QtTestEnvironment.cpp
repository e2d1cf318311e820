// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for all widget tests, on the offscreen platform unless told otherwise, and a
// deadline for each test: a failed check inside a modal window's callback leaves the window up,
// and its loop would otherwise wait for the suite's limit.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include <unistd.h>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    int argc = 1;
    char name[10] = "qt_tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};

// SIGALRM, left to its default action, ends the program; the slowest widget test takes a few
// seconds.
class EachTestHasADeadline : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ::alarm(30); }
    void OnTestEnd(const ::testing::TestInfo&) override { ::alarm(0); }
};

const auto* environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
const auto* deadline = [] {
    auto* listener = new EachTestHasADeadline;
    ::testing::UnitTest::GetInstance()->listeners().Append(listener);
    return listener;
}();

}  // namespace
