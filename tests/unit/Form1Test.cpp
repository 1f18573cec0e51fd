// Form1 built in this process from its definition and driven by real keyboard input: layout,
// texts, tab order, focus and keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainUnit.h"
#include "support/Driver.h"
#include "support/InProcess.h"

namespace {

using driver::Key;
using forms::Application;
using inprocess::Pump;

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override { Start(); }
    void TearDown() override { Stop(); }
    void Start() {
        base = driver::MakeDir(driver::TestRoot() + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        systemRoot.SetString(base);
        Application->CreateForm(Form1);
        ASSERT_EQ(Application->MainForm(), Form1);
        Form1->Show();
        driver::Foreground(Form1->Handle());
        Pump();
    }
    void Stop() {
        Application->ReleaseForm(Form1);
        Form1 = nullptr;
        Pump();
        driver::RemoveTree(base);
        BaseDir = "C:\\Windows\\System\\";
    }
    HWND Focus() const { return GetFocus(); }
    void Press(WORD vk, std::vector<WORD> modifiers = {}) {
        driver::KeyWith(vk, modifiers);
        Pump();
    }
    HWND Named(const std::string& name) const {
        if (name == "form") return Form1->Handle();
        for (auto* c : Form1->TabList())
            if (c->Name == name) return c->Handle();
        return nullptr;
    }
    std::string MemoText() const { return driver::Text(Form1->Memo1->Handle()); }
    bool Terminated() const { return Application->Terminated(); }

    std::string base;
    driver::SystemRoot systemRoot;
};

RECT ChildRect(HWND child) {
    RECT r = driver::WindowRectOf(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(Form1Test, TheWindowHasItsFixedFrameAndPlace) {
    HWND form = Form1->Handle();
    RECT outer = driver::WindowRectOf(form), client{};
    GetClientRect(form, &client);
    EXPECT_EQ(outer.left, 220);
    EXPECT_EQ(outer.top, 86);
    EXPECT_EQ(client.right, 357);
    EXPECT_EQ(client.bottom, 296);
    LONG_PTR style = GetWindowLongPtrA(form, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(driver::Text(form), "Quorvane - Installation Programme..");
    EXPECT_EQ(GetWindow(form, GW_OWNER), Application->Handle());
    EXPECT_TRUE(GetClassLongPtrA(form, GCLP_HICON)) << "the application icon in the caption bar";
    EXPECT_TRUE(GetClassLongPtrA(Application->Handle(), GCLP_HICON)) << "and on the taskbar entry";
}

TEST_F(Form1Test, ControlsStandWhereTheDefinitionPutsThem) {
    const struct { forms::TWinControl* control; RECT rect; } cases[] = {
        {Form1->Button1, {6, 269, 53, 294}},
        {Form1->Button2, {303, 270, 353, 295}},
        {Form1->Memo1, {6, 137, 353, 265}},
        {Form1->Button3, {57, 269, 111, 294}},
    };
    for (const auto& c : cases) {
        RECT r = ChildRect(c.control->Handle());
        EXPECT_EQ(r.left, c.rect.left) << c.control->Name;
        EXPECT_EQ(r.top, c.rect.top) << c.control->Name;
        EXPECT_EQ(r.right, c.rect.right) << c.control->Name;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.control->Name;
    }
    EXPECT_EQ(driver::Text(Form1->Button1->Handle()), "&Install");
    EXPECT_EQ(driver::Text(Form1->Button2->Handle()), "&Cancel");
    EXPECT_EQ(driver::Text(Form1->Button3->Handle()), "I Agree");
    EXPECT_FALSE(IsWindowEnabled(Form1->Button1->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form1->Button3->Handle()));
    std::vector<std::string> tabOrder;
    for (auto* c : Form1->TabList()) tabOrder.push_back(c->Name);
    EXPECT_EQ(tabOrder, (std::vector<std::string>{"Button1", "Button2", "Memo1", "Button3"}));
    // Pictures and labels are drawn on the window's surface: the four are its only children.
    int children = 0;
    for (HWND c = GetWindow(Form1->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 4);
}

TEST_F(Form1Test, LabelsTakeTheSizeOfTheirOneLineText) {
    HDC dc = GetDC(nullptr);
    forms::TLabel* labels[] = {Form1->Label2, Form1->Label4, Form1->Label5, Form1->Label6, Form1->Label7, Form1->Label8};
    for (forms::TLabel* label : labels) {
        forms::UniqueFont handle = Form1->MakeFont(label->ParentFont ? Form1->Font : label->Font);
        HGDIOBJ old = SelectObject(dc, handle.Get());
        SIZE extent{};
        GetTextExtentPoint32A(dc, label->Caption.c_str(), static_cast<int>(label->Caption.size()), &extent);
        SelectObject(dc, old);
        EXPECT_EQ(label->Width, extent.cx) << label->Name;
        EXPECT_EQ(label->Height, extent.cy) << label->Name;
        EXPECT_LE(label->Height, Form1->TextHeight) << label->Name;
        EXPECT_EQ(label->Caption.find('&'), std::string::npos);
    }
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(Form1->Label2->Font.Bold);
    EXPECT_EQ(Form1->Label5->Caption, "Quorvane.. Version 3.0.. Release 1.0");
    EXPECT_EQ(Form1->Label4->Caption.front(), '"');
    EXPECT_EQ(Form1->Label4->Caption.back(), '"');
    // The origin line sits just right of the flag.
    EXPECT_GE(Form1->Label8->Left, Form1->Image1->Left + 34);
    EXPECT_LE(Form1->Label8->Left, Form1->Image1->Left + 40);
}

TEST_F(Form1Test, TheTermsAreThirtyNineLinesInTwelveParagraphs) {
    const auto& lines = Form1->Memo1->Lines;
    ASSERT_EQ(lines.size(), 39u);
    int empty = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 76u) << i;
        if (lines[i].empty()) {
            ++empty;
            EXPECT_TRUE(i > 0 && !lines[i - 1].empty()) << "single empty lines between paragraphs";
        } else if (i + 1 < lines.size() && !lines[i + 1].empty()) {
            EXPECT_EQ(lines[i].back(), ' ') << "a continued line ends in a space: " << lines[i];
        }
    }
    EXPECT_EQ(empty, 11);
    EXPECT_EQ(lines.front().substr(lines.front().size() - 2), "..");
    std::string all;
    for (const auto& l : lines) all += l + "\r\n";
    EXPECT_EQ(MemoText(), all);
    DWORD start = 1, end = 1;
    SendMessageA(Form1->Memo1->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u) << "caret at the start, nothing selected";
    LONG_PTR style = GetWindowLongPtrA(Form1->Memo1->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & (ES_AUTOHSCROLL | WS_HSCROLL | ES_READONLY)) << "word wrap, no horizontal bar";
}

bool IsDefaultLook(HWND button) { return (GetWindowLongPtrA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON; }

TEST_F(Form1Test, FocusStartsOnCancelWhichAloneLooksDefault) {
    EXPECT_EQ(Focus(), Form1->Button2->Handle());
    EXPECT_TRUE(IsDefaultLook(Form1->Button2->Handle()));
    EXPECT_FALSE(IsDefaultLook(Form1->Button3->Handle()));
    Press(VK_TAB);
    Press(VK_TAB);
    EXPECT_EQ(Focus(), Form1->Button3->Handle());
    EXPECT_TRUE(IsDefaultLook(Form1->Button3->Handle()));
    EXPECT_FALSE(IsDefaultLook(Form1->Button2->Handle()));
}

// Keys from a starting focus: where the focus ends, and whether Install got enabled or the
// program asked to end.
struct KeyCase {
    const char* what;
    std::vector<std::pair<WORD, std::vector<WORD>>> keys;
    const char* focus;  // control name, "form" or "" for "not checked"
    bool installEnabled;
    bool terminated;
};

TEST_F(Form1Test, KeysMoveTheFocusAndPressButtonsAsTheyShould) {
    const KeyCase cases[] = {
        {"Tab enters the text box", {{VK_TAB, {}}}, "Memo1", false, false},
        {"Tab wraps past the disabled Install", {{VK_TAB, {}}, {VK_TAB, {}}, {VK_TAB, {}}}, "Button2", false, false},
        {"Shift+Tab wraps backwards", {{VK_TAB, {VK_SHIFT}}}, "Button3", false, false},
        {"Right on a button acts as Tab", {{VK_RIGHT, {}}}, "Memo1", false, false},
        {"Up on a button acts as Shift+Tab", {{VK_UP, {}}}, "Button3", false, false},
        {"arrows in the text box move the caret", {{VK_TAB, {}}, {VK_DOWN, {}}, {VK_RIGHT, {}}}, "Memo1", false, false},
        {"Ctrl+Tab is not Tab", {{VK_TAB, {VK_CONTROL}}}, "Button2", false, false},
        {"Esc in the text box does nothing", {{VK_TAB, {}}, {VK_ESCAPE, {}}}, "Memo1", false, false},
        {"after Tab leaves the box, Esc closes", {{VK_TAB, {}}, {VK_ESCAPE, {}}, {VK_TAB, {}}, {VK_ESCAPE, {}}}, "Button3", false, true},
        {"Shift+Esc does nothing", {{VK_ESCAPE, {VK_SHIFT}}}, "Button2", false, false},
        {"Ctrl+Esc does nothing", {{VK_ESCAPE, {VK_CONTROL}}}, "Button2", false, false},
        {"Alt+I before I Agree does nothing", {{'I', {VK_MENU}}}, "Button2", false, false},
        {"plain I on a button before I Agree does nothing", {{'I', {}}}, "Button2", false, false},
        {"Space on I Agree enables Install", {{VK_TAB, {}}, {VK_TAB, {}}, {VK_SPACE, {}}}, "Button3", true, false},
        {"Enter on I Agree enables Install", {{VK_TAB, {VK_SHIFT}}, {VK_RETURN, {}}}, "Button3", true, false},
        {"I Agree twice changes nothing", {{VK_TAB, {VK_SHIFT}}, {VK_RETURN, {}}, {VK_SPACE, {}}}, "Button3", true, false},
        {"after I Agree, Tab wraps to Install", {{VK_TAB, {VK_SHIFT}}, {VK_SPACE, {}}, {VK_TAB, {}}}, "Button1", true, false},
        {"Esc presses Cancel and leaves the focus", {{VK_TAB, {VK_SHIFT}}, {VK_ESCAPE, {}}}, "Button3", false, true},
        {"Alt+C from the text box closes", {{VK_TAB, {}}, {'C', {VK_MENU}}}, "Memo1", false, true},
        {"Enter on Cancel closes", {{VK_RETURN, {}}}, "Button2", false, true},
    };
    for (const auto& c : cases) {
        Stop();
        Start();
        ASSERT_EQ(Focus(), Form1->Button2->Handle());
        for (const auto& k : c.keys) Press(k.first, k.second);
        EXPECT_EQ(Focus(), Named(c.focus)) << c.what;
        EXPECT_EQ(IsWindowEnabled(Form1->Button1->Handle()) != FALSE, c.installEnabled) << c.what;
        EXPECT_EQ(Terminated(), c.terminated) << c.what;
        EXPECT_EQ(driver::ListNames(base + "\\QuorvaneTemp").size(), 0u) << c.what << ": nothing installed";
    }
}

TEST_F(Form1Test, TheTextBoxTakesLettersAndEnterAsText) {
    Press(VK_TAB);
    std::string before = MemoText();
    Press('C');
    Press(VK_RETURN);
    EXPECT_FALSE(Terminated()) << "a plain C in the text box is typed, not an accelerator";
    EXPECT_EQ(MemoText(), "c\r\n" + before);
    EXPECT_EQ(Focus(), Form1->Memo1->Handle());
    // A plain C while a button has focus presses Cancel.
    Press(VK_TAB);
    Press('C');
    EXPECT_TRUE(Terminated());
}

TEST_F(Form1Test, WhenTheFocusedButtonIsDisabledTheWindowTakesTheFocus) {
    // The state after Install: both gated buttons disabled, the focus was on I Agree.
    Press(VK_TAB, {VK_SHIFT});
    Press(VK_SPACE);
    ASSERT_EQ(Focus(), Form1->Button3->Handle());
    Form1->Button1->SetEnabled(false);
    Form1->Button3->SetEnabled(false);
    EXPECT_EQ(Focus(), Form1->Handle());
    Press(VK_RETURN);
    Press('I', {VK_MENU});
    Press('I');
    EXPECT_FALSE(Terminated()) << "Enter does nothing there, nor a disabled button's accelerator";
    EXPECT_EQ(Focus(), Form1->Handle());
    Press(VK_TAB);
    EXPECT_EQ(Focus(), Form1->Button2->Handle());
    Press(VK_TAB);
    EXPECT_EQ(Focus(), Form1->Memo1->Handle());
    Press(VK_TAB);
    EXPECT_EQ(Focus(), Form1->Button2->Handle());
    // From the window itself, Esc and accelerators still work.
    Form1->Button2->SetEnabled(false);
    EXPECT_EQ(Focus(), Form1->Handle());
    Form1->Button2->SetEnabled(true);
    Press('C');
    EXPECT_TRUE(Terminated()) << "focus " << (void*)Focus() << " form " << (void*)Form1->Handle();
}

TEST_F(Form1Test, AMouseClickOnInstallBeforeIAgreeDoesNothing) {
    driver::ClickControl(Form1->Button1->Handle());
    Pump();
    EXPECT_FALSE(IsWindowEnabled(Form1->Button1->Handle()));
    EXPECT_EQ(driver::ListNames(base + "\\QuorvaneTemp").size(), 0u);
    EXPECT_EQ(Focus(), Form1->Button2->Handle());
}

}  // namespace
