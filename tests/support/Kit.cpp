#include "support/Kit.h"

namespace driver {

const char* const kWriteOrder[10] = {"_inst32i.ex_", "_isdel.exe", "_setup.1", "_setup.dll", "_setup.lib",
                                     "Disk1.id",     "Setup.exe",  "Setup.ini", "Setup.ins", "Setup.pkg"};

void KitTest::SetUp() {
    InstallerTest::SetUp();
    log = base + "\\probe.log";
    SetEnvironmentVariableA("QUORVANE_PROBE_LOG", log.c_str());
    SetEnvironmentVariableA("QUORVANE_PROBE_HOLD_MS", "0");
}

void KitTest::TearDown() {
    WaitProbeExit();
    InstallerTest::TearDown();
}

HWND KitTest::StartAndInstall(Process& program) {
    HWND form = program.MainForm();
    if (!form) return nullptr;
    FormButtons b(form);
    Foreground(form);
    ClickControl(b.agree);
    WaitFor([&] { return IsWindowEnabled(b.install) != FALSE; });
    ClickControl(b.install);
    WaitFor([&] { return !IsWindowEnabled(b.install) && !IsWindowEnabled(b.agree); });
    return form;
}

std::string KitTest::ProbeRecord(DWORD ms) {
    std::string record;
    WaitFor([&] { return (record = ReadFileBytes(log)).find("held=") != std::string::npos; }, ms);
    return record == "<missing>" ? "" : record;
}

void KitTest::WaitProbeExit() {
    if (ReadFileBytes(log).find("held=") == std::string::npos) return;
    WaitFor([&] { return ReadFileBytes(log).find("exit") != std::string::npos; }, 15000);
    WaitNoProcess("Setup.exe");
}

::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    if (actual == "<missing>") return ::testing::AssertionFailure() << "the file is missing";
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at byte " << at;
}

}  // namespace driver
