// The controls a form is built from: labels, pictures and dividers drawn on the form's surface,
// and push buttons and multi-line text boxes that are child windows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Classes.h"
#include "forms/FormDef.h"
#include "forms/Graphics.h"

namespace forms {

class TForm;

// An event property: a method of some object, called with the sender (and more). Empty when
// nothing is bound.
template <class... Args>
class TEvent {
public:
    TEvent() = default;
    TEvent(void* self, void (*call)(void*, Args...)) : self_(self), call_(call) {}
    explicit operator bool() const { return call_ != nullptr; }
    void operator()(Args... args) const { call_(self_, args...); }

private:
    void* self_ = nullptr;
    void (*call_)(void*, Args...) = nullptr;
};

using TNotifyEvent = TEvent<TObject*>;

// Conversions of definition values; each raises EParserError naming the line.
int AsInt(const TDefValue& v);
bool AsBool(const TDefValue& v);
const std::string& AsText(const TDefValue& v);
const std::string& AsIdent(const TDefValue& v);
void SetFontProperty(TFont& font, const std::string& name, const TDefValue& v);  // Font.*

class TControl : public TObject {
public:
    std::string Name;
    int Left = 0, Top = 0, Width = 0, Height = 0;

    TForm* Form() const { return form_; }
    RECT BoundsRect() const { return RECT{Left, Top, Left + Width, Top + Height}; }

    // Applies one property of the definition; false when the control has no such property.
    virtual bool SetProperty(const std::string& name, const TDefValue& v);
    virtual bool SetEvent(const std::string& name, TNotifyEvent handler);
    // Multiplies every edge (and a font of the control's own) by m / d.
    virtual void ScaleBy(int m, int d);
    // Called once every property is set and the form's window exists.
    virtual void Loaded() {}

protected:
    friend class TForm;
    TForm* form_ = nullptr;
};

// A control drawn on the form's own surface.
class TGraphicControl : public TControl {
public:
    virtual void Paint(HDC dc) = 0;
};

class TLabel : public TGraphicControl {
public:
    std::string Caption;
    bool AutoSize = true;
    bool ShowAccelChar = true;
    bool ParentFont = true;
    TFont Font;  // used when ParentFont is off

    bool SetProperty(const std::string& name, const TDefValue& v) override;
    void ScaleBy(int m, int d) override;
    void Loaded() override;
    void Paint(HDC dc) override;
    // Sets Width and Height to the caption's one-line extent in the label's font.
    void AdjustBounds();

private:
    UINT TextFlags() const;
    const TFont& EffectiveFont() const;
    UniqueFont font_;
};

class TImage : public TGraphicControl {
public:
    TPicture Picture;
    bool Transparent = false;

    bool SetProperty(const std::string& name, const TDefValue& v) override;
    void Paint(HDC dc) override;
};

// A divider; only the box, lowered style is drawn: a shadow edge top-left, a highlight edge
// bottom-right, which on a two-pixel box is an etched line.
class TBevel : public TGraphicControl {
public:
    bool SetProperty(const std::string& name, const TDefValue& v) override;
    void Paint(HDC dc) override;
};

// A control that is a child window.
class TWinControl : public TControl {
public:
    ~TWinControl() override;
    HWND Handle() const { return handle_; }
    int TabOrder = -1;
    bool TabStop = true;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool CanFocus() const;

    bool SetProperty(const std::string& name, const TDefValue& v) override;

    // Creates the child window inside the form; the form's font is passed in.
    virtual void CreateHandle(HFONT font) = 0;
    // A notification from the child window (WM_COMMAND code).
    virtual void Notify(WORD /*code*/) {}

    static TWinControl* FromHandle(HWND hwnd);

protected:
    HWND CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle, HFONT font);
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND handle_ = nullptr;
    WNDPROC defaultProc_ = nullptr;
    bool enabled_ = true;
};

class TButton : public TWinControl {
public:
    std::string Caption;
    bool Cancel = false;
    bool Default = false;
    TNotifyEvent OnClick;

    bool SetProperty(const std::string& name, const TDefValue& v) override;
    bool SetEvent(const std::string& name, TNotifyEvent handler) override;
    void CreateHandle(HFONT font) override;
    void Notify(WORD code) override;

    // Presses the button: runs OnClick unless the button is disabled.
    void Click();
    // The upper-case accelerator letter of the caption ("&C" gives 'C'), or 0.
    char Accelerator() const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class TMemo : public TWinControl {
public:
    std::vector<std::string> Lines;
    bool VerticalScrollBar = false;
    bool WordWrap = true;
    bool ReadOnly = false;

    bool SetProperty(const std::string& name, const TDefValue& v) override;
    void CreateHandle(HFONT font) override;
    std::string Text() const;  // every line followed by a line break
};

}  // namespace forms
