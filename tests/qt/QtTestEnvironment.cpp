// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for all widget tests, on the offscreen platform unless told otherwise.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

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

const auto* environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
