// A fixture for tests of the real program: a folder of its own stands in for the Windows folder,
// and "SystemRoot" names it for the length of the test.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "support/Driver.h"

namespace driver {

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/' || c == '\\' || c == ':') c = '_';
        base = MakeDir(TestRoot() + "\\" + name);
        systemRoot.SetString(base);
    }
    void TearDown() override { RemoveTree(base); }

    std::string Staging() const { return base + "\\QuorvaneTemp"; }
    std::string StagingFile(const std::string& name) const { return Staging() + "\\" + name; }

    std::string base;  // "SystemRoot": the program's BaseDir is this with a backslash
    SystemRoot systemRoot;
};

// The buttons of the running window.
struct FormButtons {
    explicit FormButtons(HWND form)
        : install(ChildByText(form, "&Install")), cancel(ChildByText(form, "&Cancel")),
          agree(ChildByText(form, "I Agree")), memo(Child(form, "Edit")) {}
    HWND install, cancel, agree, memo;
};

}  // namespace driver
