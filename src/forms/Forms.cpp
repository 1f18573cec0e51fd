#include "forms/Forms.h"

#include <algorithm>
#include <cstdint>

namespace forms {

namespace {

HICON ApplicationIcon() { return LoadIconA(GetModuleHandleA(nullptr), "MAINICON"); }

// The caption's small version of the application icon, made once for every window class that
// shows it. A class registered without one gets its own copy, re-read from the resource and
// scaled, for each class (over a millisecond each under Wine).
UniqueIcon applicationSmallIcon;

HICON ApplicationSmallIcon() {
    if (!applicationSmallIcon)
        applicationSmallIcon.Reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                                                 GetSystemMetrics(SM_CXSMICON),
                                                                 GetSystemMetrics(SM_CYSMICON), 0)));
    return applicationSmallIcon.Get();
}

bool KeyDown(int key) { return GetKeyState(key) < 0; }

std::string ModuleFileName(HMODULE module) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(module, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Upper(std::string s) {
    if (!s.empty()) CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

std::unique_ptr<TControl> NewControl(const std::string& kind) {
    if (kind == "TButton") return std::make_unique<TButton>();
    if (kind == "TLabel") return std::make_unique<TLabel>();
    if (kind == "TImage") return std::make_unique<TImage>();
    if (kind == "TBevel") return std::make_unique<TBevel>();
    if (kind == "TMemo") return std::make_unique<TMemo>();
    return nullptr;
}

}  // namespace

void RegisterClassOnce(const char* name, WNDPROC proc, HBRUSH background, bool withIcon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, name, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = withIcon ? ApplicationIcon() : nullptr;
    wc.hIconSm = withIcon ? ApplicationSmallIcon() : nullptr;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!RegisterClassExA(&wc)) throw EOSError(std::string("Cannot register the window class ") + name);
}

// TForm

TForm::TForm(TApplication* owner, const char* className) : owner_(owner), className_(className) {}

TForm::~TForm() {
    controls_.clear();
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        if (!owner_->ShuttingDown()) DestroyWindow(handle_);
    }
}

void TForm::Create() {
    std::string resource = Upper(className_);
    DWORD size = 0;
    auto data = static_cast<const char*>(FindResourceData(resource.c_str(), MAKEINTRESOURCEA(10), &size));
    if (!data) throw EResNotFound("Resource " + resource + " not found");
    CreateFromDefinition(std::string(data, size));
}

void TForm::CreateFromDefinition(const std::string& text) {
    Load(ParseFormDefinition(text));
    ScaleForScreen();
    CreateWindowAndControls();
    owner_->Deliver([&] { if (OnCreate) OnCreate(this); });
}

TNotifyEvent TForm::NotifyMethod(const TDefValue& v) const {
    const TNotifyEvent* method = FindMethod(notifyMethods_, AsIdent(v));
    if (!method) DefinitionError(v.line, std::string(className_) + " has no method " + v.text);
    return *method;
}

bool TForm::SetFormProperty(const std::string& name, const TDefValue& v) {
    if (name == "Left") FormLeft = AsInt(v);
    else if (name == "Top") FormTop = AsInt(v);
    else if (name == "ClientWidth") ClientWidth = AsInt(v);
    else if (name == "ClientHeight") ClientHeight = AsInt(v);
    else if (name == "Caption") Caption = AsText(v);
    else if (name == "PixelsPerInch") PixelsPerInch = AsInt(v);
    else if (name == "TextHeight") TextHeight = AsInt(v);
    else if (name == "Scaled") Scaled = AsBool(v);
    else if (name.rfind("Font.", 0) == 0) SetFontProperty(Font, name, v);
    else if (name == "Color") { if (!ColorFromName(AsIdent(v), Color)) DefinitionError(v.line, "unknown colour " + v.text); }
    else if (name == "BorderStyle") { if (AsIdent(v) != "bsSingle") DefinitionError(v.line, "only bsSingle is supported"); }
    else if (name == "BorderIcons") {
        if (v.kind != TDefValue::Set || v.items != std::vector<std::string>{"biSystemMenu"})
            DefinitionError(v.line, "only [biSystemMenu] is supported");
    }
    else if (name == "Position") { if (AsIdent(v) != "poDesigned") DefinitionError(v.line, "only poDesigned is supported"); }
    else if (name == "Visible") { if (AsBool(v)) DefinitionError(v.line, "a form is created hidden"); }
    else if (name == "OnCreate") OnCreate = NotifyMethod(v);
    else if (name == "OnShow") OnShow = NotifyMethod(v);
    else if (name == "OnClose") {
        const TCloseEvent* method = FindMethod(closeMethods_, AsIdent(v));
        if (!method) DefinitionError(v.line, std::string(className_) + " has no close method " + v.text);
        OnClose = *method;
    } else return false;
    return true;
}

void TForm::Load(const TDefObject& def) {
    if (def.kind != className_) DefinitionError(def.line, "the form is a " + def.kind + ", expected " + className_);
    for (const auto& p : def.properties)
        if (!SetFormProperty(p.first, p.second)) DefinitionError(p.second.line, "unknown property " + p.first + " of the form");
    DesignFontHeight = Font.Height;
    for (const auto& child : def.children) LoadControl(child);
    for (const auto& field : fields_) {
        bool bound = std::any_of(controls_.begin(), controls_.end(), [&](const auto& c) { return c->Name == field.name; });
        if (!bound) DefinitionError(def.line, std::string("no control named ") + field.name);
    }
    for (const auto& c : controls_)
        if (auto w = dynamic_cast<TWinControl*>(c.get())) tabList_.push_back(w);
    // By tab order; controls of equal order keep their definition order. An insertion sort: a
    // form has a handful of controls, and the library's stable sort costs 2 KB of image.
    for (std::size_t i = 1; i < tabList_.size(); ++i)
        for (std::size_t j = i; j > 0 && unsigned(tabList_[j]->TabOrder) < unsigned(tabList_[j - 1]->TabOrder); --j)
            std::swap(tabList_[j], tabList_[j - 1]);
}

void TForm::LoadControl(const TDefObject& def) {
    std::unique_ptr<TControl> control = NewControl(def.kind);
    if (!control) DefinitionError(def.line, "unknown control kind " + def.kind);
    if (!def.children.empty()) DefinitionError(def.children.front().line, "a " + def.kind + " cannot hold controls");
    for (const auto& c : controls_)
        if (c->Name == def.name) DefinitionError(def.line, "a second control named " + def.name);
    control->Name = def.name;
    control->form_ = this;
    for (const auto& p : def.properties) {
        bool known = p.first.rfind("On", 0) == 0 ? control->SetEvent(p.first, NotifyMethod(p.second))
                                                 : control->SetProperty(p.first, p.second);
        if (!known) DefinitionError(p.second.line, "unknown property " + p.first + " of " + def.kind);
    }
    for (const auto& field : fields_)
        if (def.name == field.name && !field.bind(control.get(), field.field))
            DefinitionError(def.line, "the field " + def.name + " does not hold a " + def.kind);
    controls_.push_back(std::move(control));
}

UniqueFont TForm::MakeFont(const TFont& font) const {
    UniqueFont made = font.Create();
    const HDC dc = MeasuringDc();
    char face[LF_FACESIZE] = "";
    {
        SelectedObject selected(dc, made.Get());
        GetTextFaceA(dc, sizeof face, face);
    }
    if (lstrcmpiA(face, font.Name.c_str()) == 0 || DesignFontHeight >= 0 || font.Height >= 0) return made;
    // The largest cell height whose text is no taller than the named font's would be.
    const int target = MulDiv(-font.Height, TextHeight, -DesignFontHeight);
    TFont substitute = font;
    for (substitute.Height = target; substitute.Height > target / 2; --substitute.Height) {
        UniqueFont candidate = substitute.Create();
        SelectedObject selected(dc, candidate.Get());
        SIZE zero{};
        GetTextExtentPoint32A(dc, "0", 1, &zero);
        if (zero.cy <= target) return candidate;
    }
    return made;
}

void TForm::ScaleForScreen() {
    const HDC dc = MeasuringDc();
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    if (!Scaled || dpi == PixelsPerInch) return;
    Font.Height = MulDiv(Font.Height, dpi, PixelsPerInch);
    UniqueFont font = MakeFont(Font);
    SelectedObject selected(dc, font.Get());
    SIZE zero{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    if (zero.cy == TextHeight) return;
    for (auto& c : controls_) c->ScaleBy(zero.cy, TextHeight);
    ClientWidth = MulDiv(ClientWidth, zero.cy, TextHeight);
    ClientHeight = MulDiv(ClientHeight, zero.cy, TextHeight);
}

void TForm::CreateWindowAndControls() {
    RegisterClassOnce(className_, &WindowProc, nullptr, true);
    font_ = MakeFont(Font);
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_WINDOWEDGE;
    RECT r{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    handle_ = CreateWindowExA(exStyle, className_, Caption.c_str(), style, FormLeft, FormTop, r.right - r.left,
                              r.bottom - r.top, owner_->Handle(), nullptr, GetModuleHandleA(nullptr), this);
    if (!handle_) throw EOSError(std::string("Cannot create the window ") + className_);
    for (auto& c : controls_) {
        if (auto w = dynamic_cast<TWinControl*>(c.get())) w->CreateHandle(font_.Get());
        c->Loaded();
    }
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto self = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->handle_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto self = reinterpret_cast<TForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    return Application->Dispatch([&] { return self->WndProc(msg, wp, lp); },
                                 [&] { return DefWindowProcA(hwnd, msg, wp, lp); });
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(handle_, &r);
        HBRUSH brush = CreateSolidBrush(Color.ToRgb());
        FillRect(reinterpret_cast<HDC>(wp), &r, brush);
        DeleteObject(brush);
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        if (lp) {
            if (TWinControl* control = TWinControl::FromHandle(reinterpret_cast<HWND>(lp)))
                control->Notify(HIWORD(wp));
        }
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) Activated(true);
        return 0;
    case WM_SETFOCUS:
        savedFocus_ = handle_;
        return 0;
    case WM_PARENTNOTIFY:
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp) ExitProcess(0);
        return 0;
    default:
        return DefWindowProcA(handle_, msg, wp, lp);
    }
}

void TForm::Paint() {
    PaintDc paint(handle_);
    for (auto& c : controls_) {
        auto graphic = dynamic_cast<TGraphicControl*>(c.get());
        if (!graphic) continue;
        SavedDc saved(paint.Get());
        RECT r = graphic->BoundsRect();
        IntersectClipRect(paint.Get(), r.left, r.top, r.right, r.bottom);
        graphic->Paint(paint.Get());
    }
}

void TForm::Activated(bool active) {
    if (!active) return;
    TWinControl* saved = TWinControl::FromHandle(savedFocus_);
    if (saved && saved->CanFocus()) {
        SetFocus(saved->Handle());
    } else if (savedFocus_ == handle_) {
        SetFocus(handle_);
    } else if (TWinControl* first = NextInTabOrder(nullptr, true)) {
        SetFocus(first->Handle());
    } else {
        SetFocus(handle_);
    }
}

void TForm::ControlDisabling(TWinControl* control) {
    if (GetFocus() == control->Handle()) SetFocus(handle_);
    if (savedFocus_ == control->Handle()) savedFocus_ = handle_;
}

TWinControl* TForm::NextInTabOrder(HWND from, bool forward) const {
    const int n = static_cast<int>(tabList_.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (tabList_[i]->Handle() == from) start = i;
    if (start < 0) start = forward ? -1 : n;
    for (int step = 1; step <= n; ++step) {
        int i = ((start + (forward ? step : -step)) % n + n) % n;
        if (tabList_[i]->TabStop && tabList_[i]->CanFocus()) return tabList_[i];
    }
    return nullptr;
}

TButton* TForm::ButtonWithAccelerator(char key) const {
    char upper = AnsiUpperChar(key);
    for (auto& c : controls_) {
        auto button = dynamic_cast<TButton*>(c.get());
        if (button && button->Accelerator() != 0 && button->Accelerator() == upper) return button;
    }
    return nullptr;
}

TButton* TForm::CancelButton() const {
    for (auto& c : controls_) {
        auto button = dynamic_cast<TButton*>(c.get());
        if (button && button->Cancel) return button;
    }
    return nullptr;
}

bool TForm::IsFormKeyMessage(const MSG& msg) {
    if (msg.hwnd != handle_ && !IsChild(handle_, msg.hwnd)) return false;
    TWinControl* focused = TWinControl::FromHandle(msg.hwnd);
    auto button = dynamic_cast<TButton*>(focused);
    bool inMemo = dynamic_cast<TMemo*>(focused) != nullptr;
    bool onForm = msg.hwnd == handle_;
    switch (msg.message) {
    case WM_KEYDOWN: {
        bool shift = KeyDown(VK_SHIFT), ctrl = KeyDown(VK_CONTROL), alt = KeyDown(VK_MENU);
        switch (msg.wParam) {
        case VK_TAB:
            if (ctrl || alt) return false;
            if (TWinControl* next = NextInTabOrder(msg.hwnd, !shift)) SetFocus(next->Handle());
            return true;
        case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
            if (!button) return false;
            if (TWinControl* next = NextInTabOrder(msg.hwnd, msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN))
                SetFocus(next->Handle());
            return true;
        case VK_RETURN:
            if (button) button->Click();
            return button || onForm;
        case VK_ESCAPE:
            // The text box keeps Esc to itself; elsewhere a plain Esc presses the cancel button.
            if (!inMemo && !shift && !ctrl && !alt) {
                if (TButton* cancel = CancelButton()) cancel->Click();
            }
            return true;
        default:
            return false;
        }
    }
    case WM_CHAR:
        // A plain letter is an accelerator while a button or the form itself has focus.
        if (button || onForm) {
            if (TButton* target = ButtonWithAccelerator(static_cast<char>(msg.wParam))) {
                target->Click();
                return true;
            }
        }
        return false;
    case WM_SYSCHAR:
        if (TButton* target = ButtonWithAccelerator(static_cast<char>(msg.wParam))) {
            if (!target->Enabled()) return false;
            target->Click();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TForm::Show() {
    visible_ = true;
    if (owner_->MainForm() == this) owner_->ShowTaskbarEntry();
    owner_->Deliver([&] { if (OnShow) OnShow(this); });
    ShowWindow(handle_, WindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void TForm::Close() {
    TCloseAction action = caHide;  // nothing can refuse: no close query
    if (!owner_->Deliver([&] { if (OnClose) OnClose(this, action); })) return;
    if (action == caNone) return;
    if (owner_->MainForm() == this) {
        owner_->Terminate();
    } else {
        visible_ = false;
        ShowWindow(handle_, SW_HIDE);
    }
}

// TApplication

namespace {
TApplication theApplication;
}
TApplication* const Application = &theApplication;

TApplication::TApplication() : title_(ApplicationTitleFromPath(ModuleFileName(nullptr))) {
    try {
        RegisterClassOnce("TApplication", &WindowProc, nullptr, true);
    } catch (const Exception&) {
        return;  // no window: CreateForm reports it
    }
    int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExA(0, "TApplication", title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                              nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

// The process ends after this: its windows go with it, and no message reaches any of them.
// Taking them down one by one first would cost more than the rest of the shutdown together
// (under Wine, some 20 ms of display traffic), for nothing anyone could see.
TApplication::~TApplication() {
    shuttingDown_ = true;
    DestroyForms();
    if (handle_) SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
}

void TApplication::DestroyForms() {
    mainForm_ = nullptr;
    forms_.clear();
}

void TApplication::Run() {
    if (!handle_) throw EOSError("Cannot create the application window");
    if (mainForm_) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        GetStartupInfoA(&startup);
        WORD show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
        if (show == SW_SHOWMINNOACTIVE) {
            ShowWindow(handle_, SW_SHOWMINNOACTIVE);  // the taskbar entry alone, until restored
        } else {
            if (show == SW_SHOWMAXIMIZED) mainForm_->WindowState = wsMaximized;
            mainFormShown_ = true;
            mainForm_->Show();
        }
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) HandleMessage(msg);
    terminated_ = true;
    // The shutdown: the process ends here, with exit code 0, and its windows and objects go with
    // it. No event of the program's is delivered on the way, and every object stays valid to the
    // end, so a message the platform still sends a window while it takes it down finds its owner.
    ExitProcess(0);
}

void TApplication::HandleMessage(MSG& msg) {
    bool handled = false;
    for (auto& form : forms_)
        if (form->Handle() && form->IsFormKeyMessage(msg)) handled = true;
    if (!handled) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    RaisePendingFailure();
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            continue;
        }
        HandleMessage(msg);
    }
}

void TApplication::ReleaseForm(TForm* form) {
    if (form == mainForm_) {
        mainForm_ = nullptr;
        mainFormShown_ = false;
        terminated_ = false;
    }
    for (auto it = forms_.begin(); it != forms_.end(); ++it) {
        if (it->get() == form) {
            forms_.erase(it);
            break;
        }
    }
}

bool TApplication::Deliver(FunctionRef<void> handler) {
    try {
        handler();
        return true;
    } catch (const Exception& e) {
        ShowException(e);
    } catch (const std::exception& e) {
        ShowException(Exception(e.what()));
    }
    return false;
}

LRESULT TApplication::Dispatch(FunctionRef<LRESULT> body, FunctionRef<LRESULT> fallback) {
    try {
        return body();
    } catch (...) {
        if (!pendingFailure_) pendingFailure_ = std::current_exception();
    }
    return fallback();
}

void TApplication::RaisePendingFailure() {
    if (pendingFailure_) std::rethrow_exception(std::exchange(pendingFailure_, nullptr));
}

void TApplication::ShowException(const Exception& e) {
    std::string text = WithFullStop(e.Message());
    TaskWindowsDisabled disabled(nullptr);
    MessageBoxA(handle_, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::ShowApplicationError(const Exception& e) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<const char*>(e.Address()), &module);
    std::string moduleName = ModuleFileName(module);
    moduleName = moduleName.substr(moduleName.find_last_of("\\/") + 1);
    // The code address in upper-case hex, all digits of a pointer.
    char address[2 * sizeof(void*) + 1];
    auto value = reinterpret_cast<std::uintptr_t>(e.Address());
    for (int i = 2 * sizeof(void*) - 1; i >= 0; --i, value >>= 4) address[i] = "0123456789ABCDEF"[value & 15];
    address[2 * sizeof(void*)] = '\0';
    std::string message = e.Message();
    if (message.empty() || message.back() != '.') message += '.';
    std::string text = std::string("Exception ") + e.ClassName() + " in module " + moduleName + " at " + address +
                       ".\n" + message;
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

void TApplication::ShowTaskbarEntry() {
    if (handle_ && !IsWindowVisible(handle_)) ShowWindow(handle_, SW_SHOWNOACTIVATE);
}

void TApplication::Minimize() {
    ShowOwnedPopups(handle_, FALSE);
    ShowWindow(handle_, SW_MINIMIZE);
}

void TApplication::Restore() {
    ShowWindow(handle_, SW_RESTORE);
    if (mainForm_ && !mainFormShown_) {
        mainFormShown_ = true;
        mainForm_->Show();
    } else {
        ShowOwnedPopups(handle_, TRUE);
        if (mainForm_) SetActiveWindow(mainForm_->Handle());
    }
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto created = static_cast<TApplication*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        created->handle_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto self = reinterpret_cast<TApplication*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    return self->Dispatch([&] { return self->WndProc(msg, wp, lp); },
                          [&] { return DefWindowProcA(hwnd, msg, wp, lp); });
}

LRESULT TApplication::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND:
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE: Minimize(); return 0;
        case SC_RESTORE: Restore(); return 0;
        case SC_CLOSE: if (mainForm_) mainForm_->Close(); return 0;
        }
        break;
    case WM_CLOSE:
        if (mainForm_) mainForm_->Close();
        return 0;
    case WM_SETFOCUS:
        if (mainForm_ && IsWindowVisible(mainForm_->Handle()) && IsWindowEnabled(mainForm_->Handle()))
            SetActiveWindow(mainForm_->Handle());
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp) ExitProcess(0);  // the session ends now: no close sequence
        return 0;
    }
    return DefWindowProcA(handle_, msg, wp, lp);
}

// TaskWindowsDisabled

TaskWindowsDisabled::TaskWindowsDisabled(HWND except) : except_(except), active_(GetActiveWindow()) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK TaskWindowsDisabled::Collect(HWND hwnd, LPARAM param) {
    auto self = reinterpret_cast<TaskWindowsDisabled*>(param);
    if (hwnd != self->except_ && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        self->disabled_.push_back(hwnd);
    }
    return TRUE;
}

TaskWindowsDisabled::~TaskWindowsDisabled() {
    for (HWND hwnd : disabled_)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
}

}  // namespace forms
