// The running window as a user sees it: a picture of its client area checked at the points
// that show each picture and the divider, the layout at another screen density, and the
// keyboard paths that end in an installation.
#include "support/Fixture.h"

#include <map>

namespace driver {
namespace {

// A copy of the window's client area, taken from the screen.
class ClientPicture {
public:
    explicit ClientPicture(HWND form) {
        RECT r = ClientRectOnScreen(form);
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
        pixels_.resize(static_cast<std::size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) pixels_[static_cast<std::size_t>(y) * width_ + x] = GetPixel(memory, x, y);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    std::map<COLORREF, int> Count(RECT r) const {
        std::map<COLORREF, int> counts;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) ++counts[At(x, y)];
        return counts;
    }

private:
    int width_, height_;
    std::vector<COLORREF> pixels_;
};

using Window = InstallerTest;

TEST_F(Window, PicturesAndTheDividerAreDrawnOnTheWindowsSurface) {
    Process program(InstallExe());
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    Foreground(form);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    program.Settle();
    ClientPicture picture(form);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF silver = RGB(192, 192, 192), white = RGB(255, 255, 255), gray = RGB(128, 128, 128);

    // The banner: white and gray relief letters; its silver base colour is left out.
    auto banner = picture.Count(RECT{52, 2, 349, 34});
    EXPECT_GT(banner[white], 150);
    EXPECT_GT(banner[gray], 150);
    if (face != silver) {
        EXPECT_EQ(banner[silver], 0) << "the transparent colour is not drawn";
    }
    EXPECT_GT(banner[face], 5000) << "the window shows through";
    // The divider: a shadow row over a highlight row.
    EXPECT_EQ(picture.At(100, 71), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(picture.At(100, 72), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(picture.At(100, 73), face);
    // The flag: 32 x 20 in the icon's rows 6 to 25, the window's rows 271 to 290; masked rows
    // above and below show the window.
    EXPECT_EQ(picture.At(125, 280), RGB(0, 128, 0));
    EXPECT_EQ(picture.At(136, 280), white);
    EXPECT_EQ(picture.At(147, 280), RGB(255, 0, 0));
    EXPECT_EQ(picture.At(125, 271), RGB(0, 128, 0));
    EXPECT_EQ(picture.At(125, 290), RGB(0, 128, 0));
    EXPECT_EQ(picture.At(136, 269), face);
    EXPECT_EQ(picture.At(136, 292), face);
    // The installer icon: its blue screen, drawn through its mask.
    auto icon = picture.Count(RECT{13, 2, 45, 34});
    EXPECT_GT(icon[RGB(0, 0, 255)], 50);
    EXPECT_GT(icon[face], 50);
    // Label text in the window font.
    auto label5 = picture.Count(RECT{66, 77, 240, 90});
    EXPECT_GT(label5[GetSysColor(COLOR_WINDOWTEXT)], 100);
}

TEST_F(Window, AtOneHundredTwentyDotsPerInchTheLayoutScalesByTheTextHeight) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD dpi = 120;
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi), sizeof dpi);
    struct Restore {
        HKEY key;
        ~Restore() {
            RegDeleteValueA(key, "LogPixels");
            RegCloseKey(key);
        }
    } restore{key};

    // What the two steps give: the font height times 120/96, then everything by the new text
    // height of "0" over 13.
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(MulDiv(-11, 120, 96), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE zero{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    ASSERT_NE(zero.cy, 13);

    Process program(InstallExe());
    HWND form = program.MainForm();
    ASSERT_TRUE(form);
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, MulDiv(357, zero.cy, 13));
    EXPECT_EQ(client.bottom, MulDiv(296, zero.cy, 13));
    RECT outer = WindowRectOf(form);
    EXPECT_EQ(outer.left, 220) << "the position is not scaled";
    RECT cancel = WindowRectOf(ChildByText(form, "&Cancel"));
    RECT origin = ClientRectOnScreen(form);
    EXPECT_EQ(cancel.left - origin.left, MulDiv(303, zero.cy, 13));
    EXPECT_EQ(cancel.right - origin.left, MulDiv(353, zero.cy, 13));
    EXPECT_EQ(cancel.top - origin.top, MulDiv(270, zero.cy, 13));
}

// Keyboard paths through I Agree to Install, with the probe kit.
TEST_F(Window, TheKeyboardAloneCanAgreeAndInstall) {
    std::string log = base + "\\probe.log";
    SetEnvironmentVariableA("QUORVANE_PROBE_LOG", log.c_str());
    SetEnvironmentVariableA("QUORVANE_PROBE_HOLD_MS", "0");
    const struct { const char* what; std::vector<std::pair<WORD, std::vector<WORD>>> keys; } paths[] = {
        {"Shift+Tab, Space, Tab, Enter", {{VK_TAB, {VK_SHIFT}}, {VK_SPACE, {}}, {VK_TAB, {}}, {VK_RETURN, {}}}},
        {"Left, Enter, Alt+I", {{VK_LEFT, {}}, {VK_RETURN, {}}, {'I', {VK_MENU}}}},
        {"Up, Space, plain I", {{VK_UP, {}}, {VK_SPACE, {}}, {'I', {}}}},
    };
    for (const auto& path : paths) {
        DeleteFileA(log.c_str());
        Process program(ProbeInstallExe());
        HWND form = program.MainForm();
        ASSERT_TRUE(form);
        Foreground(form);
        for (const auto& k : path.keys) KeyWith(k.first, k.second);
        ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(log).find("exit") != std::string::npos; }, 10000)) << path.what;
        ASSERT_TRUE(WaitNoProcess("Setup.exe")) << "the kit has ended";
        FormButtons b(form);
        EXPECT_FALSE(IsWindowEnabled(b.install)) << path.what;
        EXPECT_FALSE(IsWindowEnabled(b.agree)) << path.what;
        PostMessageA(form, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.ExitCode(), 0) << path.what;
        EXPECT_FALSE(Exists(Staging())) << path.what << ": " << ::testing::PrintToString(ListNames(Staging()));
    }
}

}  // namespace
}  // namespace driver
