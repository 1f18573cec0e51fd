#include "forms/Controls.h"

#include "forms/Forms.h"

namespace forms {

int AsInt(const TDefValue& v) {
    if (v.kind != TDefValue::Number) DefinitionError(v.line, "expected a number");
    return static_cast<int>(v.number);
}

bool AsBool(const TDefValue& v) {
    if (v.kind == TDefValue::Ident && v.text == "True") return true;
    if (v.kind == TDefValue::Ident && v.text == "False") return false;
    DefinitionError(v.line, "expected True or False");
}

const std::string& AsText(const TDefValue& v) {
    if (v.kind != TDefValue::Text) DefinitionError(v.line, "expected a quoted text");
    return v.text;
}

const std::string& AsIdent(const TDefValue& v) {
    if (v.kind != TDefValue::Ident) DefinitionError(v.line, "expected a name");
    return v.text;
}

void SetFontProperty(TFont& font, const std::string& name, const TDefValue& v) {
    if (name == "Font.Name") {
        font.Name = AsText(v);
    } else if (name == "Font.Height") {
        font.Height = AsInt(v);
    } else if (name == "Font.Charset") {
        if (AsIdent(v) != "DEFAULT_CHARSET") DefinitionError(v.line, "unknown charset " + v.text);
        font.Charset = DEFAULT_CHARSET;
    } else if (name == "Font.Color") {
        if (!ColorFromName(AsIdent(v), font.Color)) DefinitionError(v.line, "unknown colour " + v.text);
    } else if (name == "Font.Style") {
        if (v.kind != TDefValue::Set) DefinitionError(v.line, "expected a set of styles");
        font.Bold = false;
        for (const auto& style : v.items) {
            if (style != "fsBold") DefinitionError(v.line, "unknown font style " + style);
            font.Bold = true;
        }
    } else {
        DefinitionError(v.line, "unknown property " + name);
    }
}

// TControl

bool TControl::SetProperty(const std::string& name, const TDefValue& v) {
    if (name == "Left") Left = AsInt(v);
    else if (name == "Top") Top = AsInt(v);
    else if (name == "Width") Width = AsInt(v);
    else if (name == "Height") Height = AsInt(v);
    else return false;
    return true;
}

bool TControl::SetEvent(const std::string&, TNotifyEvent) { return false; }

void TControl::ScaleBy(int m, int d) {
    int right = MulDiv(Left + Width, m, d), bottom = MulDiv(Top + Height, m, d);
    Left = MulDiv(Left, m, d);
    Top = MulDiv(Top, m, d);
    Width = right - Left;
    Height = bottom - Top;
}

// TLabel

bool TLabel::SetProperty(const std::string& name, const TDefValue& v) {
    if (name == "Caption") Caption = AsText(v);
    else if (name == "AutoSize") AutoSize = AsBool(v);
    else if (name == "ShowAccelChar") ShowAccelChar = AsBool(v);
    else if (name == "ParentFont") ParentFont = AsBool(v);
    else if (name.rfind("Font.", 0) == 0) SetFontProperty(Font, name, v);
    else return TGraphicControl::SetProperty(name, v);
    return true;
}

void TLabel::ScaleBy(int m, int d) {
    TGraphicControl::ScaleBy(m, d);
    if (!ParentFont) Font.Height = MulDiv(Font.Height, m, d);
}

const TFont& TLabel::EffectiveFont() const { return ParentFont ? form_->Font : Font; }

UINT TLabel::TextFlags() const { return DT_LEFT | DT_EXPANDTABS | (ShowAccelChar ? 0 : DT_NOPREFIX); }

void TLabel::Loaded() {
    if (!ParentFont) font_ = form_->MakeFont(Font);
    if (AutoSize) AdjustBounds();
}

void TLabel::AdjustBounds() {
    const HDC dc = MeasuringDc();
    SelectedObject font(dc, ParentFont ? form_->FontHandle() : font_.Get());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, Caption.empty() ? " " : Caption.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
    Width = r.right;
    Height = r.bottom;
}

void TLabel::Paint(HDC dc) {
    RECT r = BoundsRect();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    SelectedObject font(dc, ParentFont ? form_->FontHandle() : font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, EffectiveFont().Color.ToRgb());
    DrawTextA(dc, Caption.c_str(), -1, &r, TextFlags());
}

// TImage

bool TImage::SetProperty(const std::string& name, const TDefValue& v) {
    if (name == "Picture") {
        if (!Picture.LoadFromResource(AsText(v)))
            DefinitionError(v.line, "no bitmap or icon picture named '" + v.text + "' in the image");
    } else if (name == "Transparent") {
        Transparent = AsBool(v);
    } else {
        return TGraphicControl::SetProperty(name, v);
    }
    return true;
}

void TImage::Paint(HDC dc) { Picture.Draw(dc, Left, Top, Transparent); }

// TBevel

bool TBevel::SetProperty(const std::string& name, const TDefValue& v) {
    if (name == "Shape" && AsIdent(v) == "bsBox") return true;
    if (name == "Style" && AsIdent(v) == "bsLowered") return true;
    return TGraphicControl::SetProperty(name, v);
}

void TBevel::Paint(HDC dc) {
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW), highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    RECT r = BoundsRect();
    RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, shadow);
    FillRect(dc, &left, shadow);
    FillRect(dc, &bottom, highlight);
    FillRect(dc, &right, highlight);
}

// TWinControl

TWinControl::~TWinControl() {
    // The window may outlive this object (until its form's window goes): give it back its own
    // window procedure.
    if (handle_ && defaultProc_) {
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    }
}

bool TWinControl::SetProperty(const std::string& name, const TDefValue& v) {
    if (name == "TabOrder") TabOrder = AsInt(v);
    else if (name == "TabStop") TabStop = AsBool(v);
    else if (name == "Enabled") enabled_ = AsBool(v);
    else return TControl::SetProperty(name, v);
    return true;
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    if (!hwnd || GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SubclassProc))
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

HWND TWinControl::CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle, HFONT font) {
    style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (TabStop ? WS_TABSTOP : 0) | (enabled_ ? 0 : WS_DISABLED);
    handle_ = CreateWindowExA(exStyle, className, text, style, Left, Top, Width, Height, form_->Handle(),
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!handle_) throw EOSError("Cannot create the control " + Name);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    defaultProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    return handle_;
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto self = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_SETFOCUS) self->form_->FocusEntered(hwnd);
    return Application->Dispatch([&] { return self->WndProc(msg, wp, lp); },
                                 [&] { return self->CallDefault(msg, wp, lp); });
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) { return CallDefault(msg, wp, lp); }

LRESULT TWinControl::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcA(defaultProc_, handle_, msg, wp, lp);
}

bool TWinControl::CanFocus() const { return handle_ && enabled_ && IsWindowVisible(handle_); }

void TWinControl::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (!handle_) return;
    if (!value) form_->ControlDisabling(this);
    EnableWindow(handle_, value);
}

// TButton

bool TButton::SetProperty(const std::string& name, const TDefValue& v) {
    if (name == "Caption") Caption = AsText(v);
    else if (name == "Cancel") Cancel = AsBool(v);
    else if (name == "Default") Default = AsBool(v);
    else return TWinControl::SetProperty(name, v);
    return true;
}

bool TButton::SetEvent(const std::string& name, TNotifyEvent handler) {
    if (name != "OnClick") return false;
    OnClick = std::move(handler);
    return true;
}

void TButton::CreateHandle(HFONT font) {
    CreateChild("BUTTON", Caption.c_str(), Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0, font);
}

void TButton::Notify(WORD code) {
    if (code == BN_CLICKED) Click();
}

void TButton::Click() {
    if (!Enabled()) return;
    if (OnClick) Application->Deliver([&] { OnClick(this); });
}

char TButton::Accelerator() const {
    for (std::size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&') continue;
        if (Caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return AnsiUpperChar(Caption[i + 1]);
    }
    return 0;
}

LRESULT TButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    // The focused button is drawn as the default button; no other button is.
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        LRESULT result = CallDefault(msg, wp, lp);
        bool focused = msg == WM_SETFOCUS;
        CallDefault(BM_SETSTYLE, focused || Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        return result;
    }
    return CallDefault(msg, wp, lp);
}

// TMemo

bool TMemo::SetProperty(const std::string& name, const TDefValue& v) {
    if (name == "Lines.Strings") {
        if (v.kind != TDefValue::List) DefinitionError(v.line, "expected a list of quoted lines");
        Lines = v.items;
    } else if (name == "ScrollBars") {
        const std::string& bars = AsIdent(v);
        if (bars != "ssVertical" && bars != "ssNone") DefinitionError(v.line, "unsupported scroll bars " + bars);
        VerticalScrollBar = bars == "ssVertical";
    } else if (name == "WordWrap") {
        WordWrap = AsBool(v);
    } else if (name == "ReadOnly") {
        ReadOnly = AsBool(v);
    } else {
        return TWinControl::SetProperty(name, v);
    }
    return true;
}

std::string TMemo::Text() const {
    std::string text;
    for (const auto& line : Lines) text += line + "\r\n";
    return text;
}

void TMemo::CreateHandle(HFONT font) {
    DWORD style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_LEFT | (WordWrap ? 0 : ES_AUTOHSCROLL) |
                  (VerticalScrollBar ? WS_VSCROLL : 0) | (ReadOnly ? ES_READONLY : 0);
    HWND hwnd = CreateChild("EDIT", "", style, WS_EX_CLIENTEDGE, font);
    SetWindowTextA(hwnd, Text().c_str());
    SendMessageA(hwnd, EM_SETSEL, 0, 0);
    SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
}

}  // namespace forms
