// The program's life from start to exit, driven from outside as a user and Windows would:
// the window, the staging folder, every way to close, start-up show commands, the session end,
// the application title, and failures before the window is ever used.
#include "support/Fixture.h"

#include <functional>

namespace driver {
namespace {

using Lifecycle = InstallerTest;

TEST_F(Lifecycle, ShowsTheWindowCreatesTheFolderAndRemovesItOnClose) {
    Process program(InstallExe());
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    EXPECT_EQ(Text(form), "Quorvane - Installation Programme..");
    EXPECT_TRUE(IsDir(Staging()));
    HWND application = program.Window("TApplication", false);
    ASSERT_TRUE(application);
    EXPECT_EQ(Text(application), "Install") << "the taskbar entry carries the application title";
    EXPECT_EQ(GetWindow(form, GW_OWNER), application);
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_FALSE(Exists(Staging()));
}

TEST_F(Lifecycle, EveryWayOfClosingClearsTheFolderAwayAndExitsWithZero) {
    const struct { const char* way; std::function<void(HWND form, const FormButtons&, const Process&)> close; } ways[] = {
        {"Cancel clicked", [](HWND, const FormButtons& b, const Process&) { ClickControl(b.cancel); }},
        {"Esc", [](HWND, const FormButtons&, const Process&) { Key(VK_ESCAPE); }},
        {"Enter at start", [](HWND, const FormButtons&, const Process&) { Key(VK_RETURN); }},
        {"Space at start", [](HWND, const FormButtons&, const Process&) { Key(VK_SPACE); }},
        {"Alt+C", [](HWND, const FormButtons&, const Process&) { Key('C', {VK_MENU}); }},
        {"plain c on a button", [](HWND, const FormButtons&, const Process&) { Key('C'); }},
        {"Alt+F4", [](HWND, const FormButtons&, const Process&) { Key(VK_F4, {VK_MENU}); }},
        {"the close message", [](HWND form, const FormButtons&, const Process&) { PostMessageA(form, WM_CLOSE, 0, 0); }},
        {"Close on the system menu", [](HWND form, const FormButtons&, const Process&) {
             PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
        {"Close on the taskbar entry's menu", [](HWND, const FormButtons&, const Process& p) {
             PostMessageA(p.Window("TApplication", false), WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
    };
    for (const auto& w : ways) {
        Process program(InstallExe());
        HWND form = program.MainForm();
        ASSERT_TRUE(form) << w.way;
        FormButtons buttons(form);
        WriteFileBytes(StagingFile("left-over.txt"), "from the kit");
        Foreground(form);
        ASSERT_TRUE(WaitFor([&] { return FocusOf(form) == buttons.cancel; })) << w.way << ": focus starts on Cancel";
        w.close(form, buttons, program);
        EXPECT_EQ(program.ExitCode(), 0) << w.way;
        EXPECT_FALSE(Exists(Staging())) << w.way;
    }
}

// Waits for the message dialog, checks it and dismisses it one of the ways a user can.
void ExpectCouldNotCreate(Process& program, const std::string& path, const char* title, int way) {
    HWND dialog = program.WaitWindow("TMessageForm");
    ASSERT_TRUE(dialog) << path;
    EXPECT_EQ(Text(dialog), title);
    EXPECT_EQ(DialogText(dialog), "Could Not Create " + path);
    HWND form = program.Window("TForm1", false);
    EXPECT_FALSE(IsWindowVisible(form)) << "the window is not on the screen yet";
    Foreground(dialog);
    switch (way % 4) {
    case 0: Key(VK_RETURN); break;
    case 1: Key(VK_ESCAPE); break;
    case 2: PostMessageA(dialog, WM_CLOSE, 0, 0); break;
    default: ClickControl(ChildByText(dialog, "OK")); break;
    }
    EXPECT_EQ(program.ExitCode(), 0) << "the program ends without waiting for input";
}

TEST_F(Lifecycle, AFolderThatCannotBeCreatedIsReportedAndTheProgramEnds) {
    int way = 0;
    {
        systemRoot.SetString(base + "\\Missing");
        Process program(InstallExe());
        ExpectCouldNotCreate(program, base + "\\Missing\\QuorvaneTemp", "Install", way++);
        EXPECT_FALSE(Exists(base + "\\Missing")) << "the base folder is not created";
    }
    {
        systemRoot.SetString(base + "\\Missing\\");
        Process program(InstallExe());
        ExpectCouldNotCreate(program, base + "\\Missing\\\\QuorvaneTemp", "Install", way++);
    }
    for (; way < 4; ++way) {
        systemRoot.SetString(base);
        WriteFileBytes(Staging(), "a file in the folder's place");
        Process program(InstallExe());
        ExpectCouldNotCreate(program, Staging(), "Install", way);
        EXPECT_EQ(ReadFileBytes(Staging()), "a file in the folder's place");
    }
}

TEST_F(Lifecycle, ANumberForSystemRootIsReportedAndTheInitialBaseDirIsUsed) {
    DWORD number = 1;
    systemRoot.Set(REG_DWORD, &number, sizeof number);
    Process program(InstallExe());
    HWND box = program.WaitWindow("#32770");
    ASSERT_TRUE(box);
    EXPECT_EQ(Text(box), "Install");
    EXPECT_EQ(DialogText(box), "Invalid data type for 'SystemRoot'");
    EXPECT_FALSE(IsWindowVisible(program.Window("TForm1", false)));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    // The window is still created and shown, with the folder under the initial BaseDir.
    bool windowsSystem = IsDir("C:\\Windows\\System");
    if (windowsSystem) {
        HWND form = program.MainForm();
        ASSERT_TRUE(form);
        EXPECT_TRUE(IsDir("C:\\Windows\\System\\QuorvaneTemp"));
        PostMessageA(form, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.ExitCode(), 0);
    } else {
        ExpectCouldNotCreate(program, "C:\\Windows\\System\\QuorvaneTemp", "Install", 0);
    }
}

TEST_F(Lifecycle, AMissingOrEmptySystemRootPutsTheFolderAtTheRootOfTheCurrentDrive) {
    for (int empty = 0; empty < 2; ++empty) {
        if (empty) systemRoot.SetString("");
        else systemRoot.Remove();
        std::string drive = base.substr(0, 2);
        ASSERT_FALSE(Exists(drive + "\\QuorvaneTemp"));
        Process program(InstallExe(), SW_SHOWNORMAL, base);
        HWND form = program.MainForm();
        ASSERT_TRUE(form);
        EXPECT_TRUE(IsDir(drive + "\\QuorvaneTemp"));
        PostMessageA(form, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.ExitCode(), 0);
        EXPECT_FALSE(Exists(drive + "\\QuorvaneTemp"));
    }
}

TEST_F(Lifecycle, AnExpandStringIsUsedUnexpanded) {
    systemRoot.SetString("%QUORVANE_NOT_EXPANDED%", REG_EXPAND_SZ);
    MakeDir(base + "\\%QUORVANE_NOT_EXPANDED%");
    Process program(InstallExe(), SW_SHOWNORMAL, base);
    ASSERT_TRUE(program.MainForm());
    EXPECT_TRUE(IsDir(base + "\\%QUORVANE_NOT_EXPANDED%\\QuorvaneTemp")) << "a path relative to the working folder";
}

TEST_F(Lifecycle, StartedMinimizedTheWindowAndFolderWaitForTheFirstRestore) {
    Process program(InstallExe(), SW_SHOWMINNOACTIVE);
    HWND application = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (application = program.Window("TApplication")) != nullptr; }));
    program.Settle();
    EXPECT_TRUE(IsIconic(application));
    EXPECT_FALSE(IsWindowVisible(program.Window("TForm1", false)));
    EXPECT_FALSE(Exists(Staging())) << "no show event yet";
    PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    EXPECT_TRUE(IsDir(Staging()));
    EXPECT_FALSE(IsZoomed(form));
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0);
}

TEST_F(Lifecycle, StartedMaximizedTheWindowIsShownMaximized) {
    Process program(InstallExe(), SW_SHOWMAXIMIZED);
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    EXPECT_TRUE(IsZoomed(form));
}

TEST_F(Lifecycle, AtTheEndOfTheSessionTheProgramAgreesAndEndsWithoutItsCleanUp) {
    Process program(InstallExe());
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    WriteFileBytes(StagingFile("Setup.ini"), "kit file");
    DWORD_PTR agreed = 0;
    ASSERT_TRUE(SendMessageTimeoutA(form, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000, &agreed));
    EXPECT_EQ(agreed, 1u);
    PostMessageA(form, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_TRUE(Exists(StagingFile("Setup.ini")));
}

TEST_F(Lifecycle, ARenamedCopyTakesItsTitleFromItsFileName) {
    std::string copy = base + "\\SETUP.KIT.EXE";
    ASSERT_TRUE(CopyFileA(InstallExe().c_str(), copy.c_str(), FALSE));
    systemRoot.SetString(base + "\\Missing");
    Process program(copy);
    ExpectCouldNotCreate(program, base + "\\Missing\\QuorvaneTemp", "Setup", 0);
}

TEST_F(Lifecycle, AMalformedFormDefinitionIsAnApplicationErrorWithExitCodeOne) {
    std::string dir = MakeDir(base + "\\bad");
    std::string copy = dir + "\\Install.exe";
    ASSERT_TRUE(CopyFileA(InstallExe().c_str(), copy.c_str(), FALSE));
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_TRUE(update);
    std::string bad = "object Form1: TForm1\r\n  Left 220\r\nend\r\n";
    ASSERT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(10), "TFORM1", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                &bad[0], static_cast<DWORD>(bad.size())));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    Process program(copy);
    HWND box = program.WaitWindow("#32770");
    ASSERT_TRUE(box);
    EXPECT_EQ(Text(box), "Application Error");
    std::string text = DialogText(box);
    EXPECT_EQ(text.rfind("Exception EParserError in module Install.exe at ", 0), 0u) << text;
    EXPECT_NE(text.find(".\nForm definition, line 2: expected '='."), std::string::npos) << text;
    EXPECT_FALSE(program.Window("TForm1"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.ExitCode(), 1);
}

}  // namespace
}  // namespace driver
