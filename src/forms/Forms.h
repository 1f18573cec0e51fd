// Forms and the application object.
#pragma once
#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "forms/Controls.h"

namespace forms {

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseEvent = TEvent<TObject*, TCloseAction&>;

class TApplication;

// A top-level window built from its form definition, a resource named after its class in
// upper case ("TFORM1" for TForm1).
class TForm : public TObject {
public:
    TForm(TApplication* owner, const char* className);
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    std::string Caption;
    int ClientWidth = 0, ClientHeight = 0;
    int FormLeft = 0, FormTop = 0;
    TFont Font;
    TColor Color = TColor::System(COLOR_BTNFACE);
    int PixelsPerInch = 96;
    int TextHeight = 13;
    int DesignFontHeight = -11;  // the window font's height as the definition gives it
    bool Scaled = true;
    TWindowState WindowState = wsNormal;
    TNotifyEvent OnCreate, OnShow;
    TCloseEvent OnClose;

    HWND Handle() const { return handle_; }
    HFONT FontHandle() const { return font_.Get(); }
    // A font for this form or one of its controls. Where the face is not installed, a
    // substitute of the same pixel height: the definition's TextHeight is the height of its
    // window font, and other sizes keep that proportion.
    UniqueFont MakeFont(const TFont& font) const;
    const char* ClassName() const { return className_; }
    bool Visible() const { return visible_; }

    // Builds the window and its controls from the definition, then delivers OnCreate.
    void Create();
    // The same from a definition given as text.
    void CreateFromDefinition(const std::string& text);
    // The show step: the taskbar entry, OnShow, then the window on the screen.
    void Show();
    // The close request: runs the close sequence at once and returns.
    void Close();

    // The controls in creation order.
    const std::vector<std::unique_ptr<TControl>>& Controls() const { return controls_; }
    // The focusable controls in tab order.
    const std::vector<TWinControl*>& TabList() const { return tabList_; }

    // Keyboard handling of the form, applied to a message before it is dispatched.
    bool IsFormKeyMessage(const MSG& msg);
    // Called by a control that is about to be disabled.
    void ControlDisabling(TWinControl* control);
    // Called when a control (or the form) takes the focus: it gets it back on reactivation.
    void FocusEntered(HWND hwnd) { savedFocus_ = hwnd; }

protected:
    // Published fields and methods: the definition binds controls and events by these names.
    template <class T>
    void Publish(const char* name, T*& field) {
        fields_.push_back(FieldBinding{name, &field, &Bind<T>});
    }
    // Publish<&TForm1::Button1Click>("Button1Click"): an event handler, by the name the
    // definition binds it with.
    template <auto Method>
    void Publish(const char* name) {
        using F = typename MethodTraits<decltype(Method)>::Class;
        void* self = static_cast<F*>(this);
        if constexpr (MethodTraits<decltype(Method)>::IsClose)
            closeMethods_.push_back({name, TCloseEvent(self, [](void* o, TObject* s, TCloseAction& a) {
                                         (static_cast<F*>(o)->*Method)(s, a);
                                     })});
        else
            notifyMethods_.push_back({name, TNotifyEvent(self, [](void* o, TObject* s) { (static_cast<F*>(o)->*Method)(s); })});
    }

private:
    void Load(const TDefObject& def);
    bool SetFormProperty(const std::string& name, const TDefValue& v);
    TNotifyEvent NotifyMethod(const TDefValue& v) const;
    void LoadControl(const TDefObject& def);
    void ScaleForScreen();
    void CreateWindowAndControls();
    void Paint();
    void Activated(bool active);
    TWinControl* NextInTabOrder(HWND from, bool forward) const;
    TButton* ButtonWithAccelerator(char key) const;
    TButton* CancelButton() const;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);

    TApplication* owner_;
    const char* className_;
    HWND handle_ = nullptr;
    UniqueFont font_;
    bool visible_ = false;
    bool activatedOnce_ = false;
    HWND savedFocus_ = nullptr;
    std::vector<std::unique_ptr<TControl>> controls_;
    std::vector<TWinControl*> tabList_;
    // A published field: its name, where it is, and how a control is checked and stored there.
    struct FieldBinding {
        const char* name;
        void* field;
        bool (*bind)(TControl* control, void* field);
    };
    template <class T>
    static bool Bind(TControl* control, void* field) {
        return (*static_cast<T**>(field) = dynamic_cast<T*>(control)) != nullptr;
    }
    std::vector<FieldBinding> fields_;
    template <class M>
    struct MethodTraits;
    template <class C>
    struct MethodTraits<void (C::*)(TObject*)> {
        using Class = C;
        static constexpr bool IsClose = false;
    };
    template <class C>
    struct MethodTraits<void (C::*)(TObject*, TCloseAction&)> {
        using Class = C;
        static constexpr bool IsClose = true;
    };
    template <class E>
    static const E* FindMethod(const std::vector<std::pair<const char*, E>>& methods, const std::string& name) {
        for (const auto& m : methods)
            if (name == m.first) return &m.second;
        return nullptr;
    }
    std::vector<std::pair<const char*, TNotifyEvent>> notifyMethods_;
    std::vector<std::pair<const char*, TCloseEvent>> closeMethods_;
};

class TApplication : public TObject {
public:
    TApplication();
    ~TApplication() override;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Nothing to prepare: kept as the program's first step.
    void Initialize() {}
    // Constructs a form, builds it from its definition and delivers OnCreate; the first form
    // created becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        forms_.emplace_back(new T(this));
        reference = static_cast<T*>(forms_.back().get());
        reference->Create();
        if (!mainForm_) mainForm_ = reference;
    }
    // Shows the main form, runs the event loop until termination is requested, then ends the
    // process with exit code 0.
    [[noreturn]] void Run();
    // Requests termination: the loop ends at its next turn.
    void Terminate() { PostQuitMessage(0); }
    // Handles every message waiting in the queue, as the event loop would; returns when none is
    // left. A quit message sets Terminated.
    void ProcessMessages();
    bool Terminated() const { return terminated_; }
    bool ShuttingDown() const { return shuttingDown_; }
    // Destroys a form without any event; a released main form leaves the application without one.
    void ReleaseForm(TForm* form);

    const std::string& Title() const { return title_; }
    HWND Handle() const { return handle_; }
    TForm* MainForm() const { return mainForm_; }

    // Runs an event handler; an exception that leaves it is shown in the error box.
    // True when the handler ran to its end.
    bool Deliver(FunctionRef<void> handler);
    // The error box for an exception that left a handler.
    void ShowException(const Exception& e);
    // The box for a failure outside the handlers; the program then ends with exit code 1.
    void ShowApplicationError(const Exception& e);

    // Runs a window procedure body; a failure inside it is kept and raised again from the
    // event loop, outside any platform frame.
    LRESULT Dispatch(FunctionRef<LRESULT> body, FunctionRef<LRESULT> fallback);
    void RaisePendingFailure();

    // Shows the taskbar entry (the application's own window) without activating it.
    void ShowTaskbarEntry();

private:
    void HandleMessage(MSG& msg);
    void Minimize();
    void Restore();
    void DestroyForms();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);

    std::string title_;
    HWND handle_ = nullptr;
    TForm* mainForm_ = nullptr;
    bool mainFormShown_ = false;
    bool terminated_ = false;
    bool shuttingDown_ = false;
    std::vector<std::unique_ptr<TForm>> forms_;
    std::exception_ptr pendingFailure_;
};

extern TApplication* const Application;

// Registers a window class of this module once; the application icon when withIcon.
void RegisterClassOnce(const char* name, WNDPROC proc, HBRUSH background, bool withIcon);

// The message dialog: the text unchanged, one OK button; returns when it has been dismissed.
void ShowMessage(const std::string& text);

// Disables every visible, enabled window of the program for as long as it lives; then enables
// them again and activates the window that was active before.
class TaskWindowsDisabled {
public:
    explicit TaskWindowsDisabled(HWND except);
    ~TaskWindowsDisabled();
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND hwnd, LPARAM self);
    HWND except_;
    HWND active_;
    std::vector<HWND> disabled_;
};

}  // namespace forms
