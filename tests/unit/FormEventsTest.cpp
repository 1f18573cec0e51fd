// The framework's event flow on a small form of its own: the order of create, show, click and
// close, and what an exception leaving a handler does at each of them.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "forms/Forms.h"
#include "support/Driver.h"
#include "support/InProcess.h"

namespace {

using forms::Application;
using inprocess::BoxCatcher;
using inprocess::Pump;

class TTraceForm : public forms::TForm {
public:
    explicit TTraceForm(forms::TApplication* owner) : TForm(owner, "TTraceForm") {
        Publish("Button1", Button1);
        Publish("Button2", Button2);
        Publish<&TTraceForm::FormCreate>("FormCreate");
        Publish<&TTraceForm::FormShow>("FormShow");
        Publish<&TTraceForm::FormClose>("FormClose");
        Publish<&TTraceForm::Button1Click>("Button1Click");
        Publish<&TTraceForm::Button2Click>("Button2Click");
    }
    forms::TButton* Button1 = nullptr;
    forms::TButton* Button2 = nullptr;

    static std::vector<std::string> trace;
    static std::set<std::string> failIn;

    void FormCreate(forms::TObject*) { Record("create"); }
    void FormShow(forms::TObject*) { Record(IsWindowVisible(Handle()) ? "show (visible)" : "show"); }
    void FormClose(forms::TObject*, forms::TCloseAction& action) {
        Record(action == forms::caHide ? "close" : "close (odd action)");
    }
    void Button1Click(forms::TObject*) { Record("click1"); }
    void Button2Click(forms::TObject*) {
        Record("click2");
        Close();
        Record("click2 after close");
    }

private:
    void Record(const std::string& what) {
        std::string name = what.substr(0, what.find(' '));
        trace.push_back(what);
        if (failIn.count(name)) throw forms::Exception(failIn.count("empty") ? "" : "failure in " + name);
    }
};
std::vector<std::string> TTraceForm::trace;
std::set<std::string> TTraceForm::failIn;

class FormEvents : public ::testing::Test {
protected:
    void SetUp() override {
        TTraceForm::trace.clear();
        TTraceForm::failIn.clear();
        Pump();
    }
    void TearDown() override {
        if (form) Application->ReleaseForm(form);
        Pump();
    }
    void Create() {
        Application->CreateForm(form);
        ASSERT_EQ(Application->MainForm(), form);
    }
    void ShowAndActivate() {
        form->Show();
        driver::Foreground(form->Handle());
        Pump();
    }
    TTraceForm* form = nullptr;
    const std::vector<std::string>& trace = TTraceForm::trace;
};

using Trace = std::vector<std::string>;

TEST_F(FormEvents, CreateShowClickAndCloseComeInOrder) {
    Create();
    EXPECT_EQ(trace, Trace{"create"});
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    ShowAndActivate();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsWindowVisible(Application->Handle())) << "the taskbar entry";
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
    form->Button1->Click();
    form->Button2->Click();
    EXPECT_EQ(trace, (Trace{"create", "show", "click1", "click2", "close", "click2 after close"}));
    EXPECT_FALSE(Application->Terminated()) << "termination comes with the next turn of the loop";
    Pump();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(IsWindowVisible(form->Handle())) << "the close does not hide the main form";
}

TEST_F(FormEvents, TheSystemCloseMessageRunsTheSameCloseSequence) {
    Create();
    ShowAndActivate();
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(trace, (Trace{"create", "show", "close"}));
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormEvents, AClickOnADisabledButtonRunsNothing) {
    Create();
    form->Button1->SetEnabled(false);
    form->Button1->Click();
    EXPECT_EQ(trace, Trace{"create"});
}

TEST_F(FormEvents, AFailingHandlerIsReportedAndTheEventGoesOn) {
    const struct { const char* handler; Trace expected; bool terminated; } cases[] = {
        {"create", {"create", "show", "close"}, true},
        {"show", {"create", "show", "close"}, true},
        {"click2", {"create", "show", "click2", "close"}, true},
    };
    for (const auto& c : cases) {
        TTraceForm::trace.clear();
        TTraceForm::failIn = {c.handler};
        BoxCatcher boxes;
        Create();
        ShowAndActivate();
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << c.handler;
        TTraceForm::failIn.clear();
        SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_EQ(Application->Terminated(), c.terminated) << c.handler;
        if (std::string(c.handler) == "click2") {
            TTraceForm::failIn = {"click2"};
            TTraceForm::trace = {"create", "show"};
            form->Button2->Click();  // abandoned before its Close
            EXPECT_EQ(trace, (Trace{"create", "show", "click2"}));
        } else {
            EXPECT_EQ(trace, c.expected) << c.handler;
        }
        ASSERT_EQ(boxes.Boxes().size(), 1u) << c.handler;
        EXPECT_EQ(boxes.Boxes()[0].text, std::string("failure in ") + c.handler + ".");
        EXPECT_EQ(boxes.Boxes()[0].caption, Application->Title());
        Application->ReleaseForm(form);
        form = nullptr;
    }
}

TEST_F(FormEvents, AFailingCloseKeepsTheProgramRunningUntilALaterClose) {
    Create();
    ShowAndActivate();
    BoxCatcher boxes;
    TTraceForm::failIn = {"close"};
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "failure in close.");
    TTraceForm::failIn.clear();
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(trace, (Trace{"create", "show", "close", "close"}));
}

TEST_F(FormEvents, TheErrorBoxDisablesTheProgramsWindowsAndGivesActivationBack) {
    Create();
    ShowAndActivate();
    ASSERT_EQ(GetActiveWindow(), form->Handle());
    BoxCatcher boxes;
    TTraceForm::failIn = {"click1", "empty"};
    form->Button1->Click();
    Pump();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const auto& box = boxes.Boxes()[0];
    EXPECT_EQ(box.text, "") << "an empty message gives an empty box";
    for (HWND enabled : box.enabledWindows) {
        EXPECT_NE(enabled, form->Handle()) << "the form takes no input while the box is up";
        EXPECT_NE(enabled, Application->Handle());
    }
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(FormEvents, TheMessageDialogShowsTheTextUnchangedAndWrapsAtHalfTheScreen) {
    Create();
    ShowAndActivate();
    BoxCatcher boxes;
    const std::string longText = "Could Not Create " + std::string(300, 'x') + " and a tail with spaces";
    forms::ShowMessage("Could Not Create C:\\Missing\\QuorvaneTemp");
    forms::ShowMessage(longText);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].cls, "TMessageForm");
    EXPECT_EQ(boxes.Boxes()[0].caption, Application->Title());
    EXPECT_EQ(boxes.Boxes()[0].text, "Could Not Create C:\\Missing\\QuorvaneTemp") << "no full stop is added";
    EXPECT_EQ(boxes.Boxes()[1].text, longText);
    for (HWND enabled : boxes.Boxes()[0].enabledWindows) EXPECT_NE(enabled, form->Handle());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const auto& box : boxes.Boxes()) {
        EXPECT_NEAR(box.rect.left + box.rect.right, screenWidth, 1) << "centred";
        EXPECT_NEAR(box.rect.top + box.rect.bottom, screenHeight, 1) << "centred";
        EXPECT_LE(box.rect.right - box.rect.left, screenWidth / 2 + 60) << "wrapped at half the screen";
    }
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

}  // namespace
