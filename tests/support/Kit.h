// The installer driven through I Agree and Install with the probe kit, for extraction tests.
#pragma once
#include <string>

#include "support/Fixture.h"

namespace driver {

extern const char* const kWriteOrder[10];

class KitTest : public InstallerTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Presses I Agree and then Install with the mouse; the form, or null.
    HWND StartAndInstall(Process& program);
    HWND WaitErrorBox(Process& program) { return program.WaitWindow("#32770", 10000); }
    // The probe's record of its start, or "" when it did not start in time.
    std::string ProbeRecord(DWORD ms = 10000);
    bool ProbeStarted() { return ReadFileBytes(log) != "<missing>"; }
    std::string KitFile(const char* name) { return ReadFileBytes(ProbeKitDir() + "\\" + name); }
    // The probe writes "exit" last; a test waits for it to have ended before the next one
    // starts, since a running program keeps its working folder from being removed.
    void WaitProbeExit();

    std::string log;
};

// Equal bytes, with a short message instead of megabytes of data when they differ.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected);

}  // namespace driver
