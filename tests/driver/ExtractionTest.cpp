// Install: the kit written into the staging folder and its Setup.exe started, on real files,
// with the probe kit whose Setup.exe records how it was started.
#include "support/Kit.h"

#include <algorithm>
#include <cstring>

namespace driver {
namespace {

using Extraction = KitTest;

TEST_F(Extraction, WritesTheKitUnchangedThenStartsSetupOnceInTheFolderWithoutWaiting) {
    SetEnvironmentVariableA("QUORVANE_PROBE_HOLD_MS", "3000");
    Process program(ProbeInstallExe());
    HWND form = StartAndInstall(program);
    ASSERT_TRUE(form);
    std::string record = ProbeRecord();
    ASSERT_FALSE(record.empty()) << "Setup.exe was not started";
    EXPECT_NE(record.find("cwd=" + Staging() + "\r\n"), std::string::npos) << record;
    // No parameters: the command line is the program's name alone.
    std::size_t cmd = record.find("cmd=");
    std::string commandLine = record.substr(cmd + 4, record.find("\r\n", cmd) - cmd - 4);
    EXPECT_NE(commandLine.find("Setup.exe"), std::string::npos) << commandLine;
    EXPECT_EQ(commandLine.find_first_not_of(' ', commandLine.find("Setup.exe") + 9 + (commandLine.back() == '"')), std::string::npos)
        << commandLine;
    // Every file was there, whole, when it started.
    for (const char* name : kWriteOrder) {
        std::string content = KitFile(name);
        if (std::string(name) != "_setup.1") {  // held open by the running kit
            EXPECT_TRUE(SameBytes(ReadFileBytes(StagingFile(name)), content)) << name;
        }
        EXPECT_EQ(FileSize(StagingFile(name)), static_cast<std::int64_t>(content.size())) << name;
        EXPECT_NE(record.find(std::string(name) + ":" + std::to_string(content.size()) + ";"), std::string::npos) << name;
    }
    EXPECT_EQ(ListNames(Staging()).size(), 10u);
    // The window did not wait: it answers while the kit still runs, with both buttons disabled
    // and the focus on the window itself after the mouse press.
    DWORD_PTR unused;
    EXPECT_TRUE(SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &unused));
    // The focus is on the window itself: Install, pressed with the mouse, was disabled under it.
    EXPECT_EQ(FocusOf(form), form);
    // A close while the kit holds one of its files: that file and the folder stay, no message.
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0);
    // The running Setup.exe cannot be deleted either.
    EXPECT_EQ(ListNames(Staging()), (std::vector<std::string>{"Setup.exe", "_setup.1"}));
    EXPECT_EQ(std::count(record.begin(), record.end(), '='), 4) << "started once";
    WaitProbeExit();
    EXPECT_EQ(ListNames(Staging()), (std::vector<std::string>{"Setup.exe", "_setup.1"})) << "nothing tries again";
}

TEST_F(Extraction, TheStandInKitIsWrittenByteForByte) {
    Process program(InstallExe());
    HWND form = StartAndInstall(program);
    ASSERT_TRUE(form);
    bool done = WaitFor([&] { return FileSize(StagingFile("Setup.pkg")) == 163; });
    ASSERT_TRUE(done);
    std::int64_t total = 0;
    for (const char* name : kWriteOrder) {
        EXPECT_TRUE(SameBytes(ReadFileBytes(StagingFile(name)), ReadFileBytes(KitDir() + "\\" + name))) << name;
        total += FileSize(StagingFile(name));
    }
    EXPECT_EQ(total, 1185792);
}

TEST_F(Extraction, LeftOverFilesAreTruncatedAndRewritten) {
    Process program(ProbeInstallExe());
    ASSERT_TRUE(program.MainForm());
    for (const char* name : kWriteOrder) WriteFileBytes(StagingFile(name), KitFile(name) + std::string(4096, 'X'));
    StartAndInstall(program);
    ASSERT_FALSE(ProbeRecord().empty());
    for (const char* name : kWriteOrder) EXPECT_TRUE(SameBytes(ReadFileBytes(StagingFile(name)), KitFile(name))) << name;
}

TEST_F(Extraction, AnEntryThatCannotBeCreatedStopsTheExtractionThereAndStartsNothing) {
    // A folder of an entry's name stands in the way of each entry in turn: the entries before it
    // are written, it and the ones after are not. This also shows the write order.
    for (int blocked = 0; blocked < 10; ++blocked) {
        Process program(ProbeInstallExe());
        ASSERT_TRUE(program.MainForm());
        MakeDir(StagingFile(kWriteOrder[blocked]));
        StartAndInstall(program);
        HWND box = WaitErrorBox(program);
        ASSERT_TRUE(box) << kWriteOrder[blocked];
        EXPECT_EQ(Text(box), "Install");
        EXPECT_EQ(DialogText(box), "Cannot create file " + StagingFile(kWriteOrder[blocked]) + ".");
        for (int i = 0; i < 10; ++i) {
            if (i < blocked) {
                EXPECT_TRUE(SameBytes(ReadFileBytes(StagingFile(kWriteOrder[i])), KitFile(kWriteOrder[i]))) << blocked;
            } else if (i > blocked) {
                EXPECT_FALSE(Exists(StagingFile(kWriteOrder[i]))) << kWriteOrder[i] << " after " << blocked;
            }
        }
        HWND form = program.Window("TForm1");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        FormButtons b(form);
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(form) != FALSE; }));
        EXPECT_FALSE(IsWindowEnabled(b.install));
        EXPECT_FALSE(IsWindowEnabled(b.agree));
        PostMessageA(form, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.ExitCode(), 0);
        EXPECT_TRUE(IsDir(StagingFile(kWriteOrder[blocked]))) << "the folder in the way stays";
        RemoveTree(Staging());
    }
    EXPECT_EQ(ReadFileBytes(log), "<missing>") << "Setup.exe was never started";
}

TEST_F(Extraction, AnExistingSetupIniThatMayNotBeReplacedKeepsItsContent) {
    const struct { const char* what; DWORD attributes; bool heldOpen; } cases[] = {
        {"read-only", FILE_ATTRIBUTE_READONLY, false},
        // Windows also refuses to replace a hidden or a system file this way; Wine replaces them.
        {"held open without sharing", FILE_ATTRIBUTE_NORMAL, true},
    };
    for (const auto& c : cases) {
        Process program(ProbeInstallExe());
        ASSERT_TRUE(program.MainForm());
        WriteFileBytes(StagingFile("Setup.ini"), "old content", c.attributes);
        HANDLE held = c.heldOpen ? CreateFileA(StagingFile("Setup.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
        StartAndInstall(program);
        HWND box = WaitErrorBox(program);
        ASSERT_TRUE(box) << c.what;
        EXPECT_EQ(DialogText(box), "Cannot create file " + StagingFile("Setup.ini") + ".") << c.what;
        for (int i = 0; i < 7; ++i) EXPECT_EQ(FileSize(StagingFile(kWriteOrder[i])), static_cast<std::int64_t>(KitFile(kWriteOrder[i]).size()));
        EXPECT_FALSE(Exists(StagingFile("Setup.ins"))) << c.what;
        EXPECT_FALSE(Exists(StagingFile("Setup.pkg"))) << c.what;
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(ReadFileBytes(StagingFile("Setup.ini")), "old content") << c.what;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        PostMessageA(program.Window("TForm1"), WM_CLOSE, 0, 0);
        EXPECT_EQ(program.ExitCode(), 0);
        RemoveTree(Staging());
    }
    EXPECT_EQ(ReadFileBytes(log), "<missing>") << "Setup.exe was never started";
}

TEST_F(Extraction, AFolderRemovedAfterTheWindowWasShownFailsAtTheFirstFile) {
    Process program(ProbeInstallExe());
    ASSERT_TRUE(program.MainForm());
    RemoveTree(Staging());
    StartAndInstall(program);
    HWND box = WaitErrorBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(DialogText(box), "Cannot create file " + StagingFile("_inst32i.ex_") + ".");
    EXPECT_FALSE(Exists(Staging()));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ReadFileBytes(log), "<missing>");
}

TEST_F(Extraction, InstallPressedTwiceInQuickSuccessionWritesAndStartsTheKitOnce) {
    SetEnvironmentVariableA("QUORVANE_PROBE_HOLD_MS", "1500");
    Process program(ProbeInstallExe());
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    FormButtons b(form);
    Foreground(form);
    ClickControl(b.agree);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(b.install) != FALSE; }));
    ClickControl(b.install);
    ClickControl(b.install);
    Key('I', {VK_MENU});
    std::string record = ProbeRecord();
    ASSERT_FALSE(record.empty());
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0);
    WaitProbeExit();
    std::string all = ReadFileBytes(log);
    std::size_t starts = 0;
    for (std::size_t at = all.find("cwd="); at != std::string::npos; at = all.find("cwd=", at + 1)) ++starts;
    EXPECT_EQ(starts, 1u) << all;
}

}  // namespace
}  // namespace driver
