// The program's life from start to exit: window, staging folder, the ways to close.
#include "support/Fixture.h"

namespace driver {
namespace {

using Lifecycle = InstallerTest;

TEST_F(Lifecycle, ShowsTheWindowCreatesTheFolderAndRemovesItOnClose) {
    Process program(InstallExe());
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    EXPECT_EQ(Text(form), "Quorvane - Installation Programme..");
    EXPECT_TRUE(IsDir(Staging()));
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_FALSE(Exists(Staging()));
}

}  // namespace
}  // namespace driver
