// The message dialog: a modal window with the text and one OK button.
#include <algorithm>
#include <cstring>

#include "forms/Forms.h"

namespace forms {

namespace {

constexpr const char* kDialogClass = "TMessageForm";
constexpr const char* kTextClass = "TMessageText";
constexpr UINT kTextFlags = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;

struct DialogState {
    bool done = false;
};

struct TextState {
    const std::string* text;
    HFONT font;
};

// The dialog's text, drawn from the caller's string as it stands, however long (a window text
// passed through the platform may be cut short), and readable through WM_GETTEXT.
LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto state = reinterpret_cast<const TextState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_PAINT: {
        PaintDc paint(hwnd);
        RECT r;
        GetClientRect(hwnd, &r);
        SelectedObject font(paint.Get(), state->font);
        SetBkMode(paint.Get(), TRANSPARENT);
        SetTextColor(paint.Get(), GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(paint.Get(), state->text->c_str(), static_cast<int>(state->text->size()), &r, kTextFlags);
        return 0;
    }
    case WM_GETTEXTLENGTH:
        return state ? static_cast<LRESULT>(state->text->size()) : 0;
    case WM_GETTEXT: {
        if (!state || wp == 0) return 0;
        std::size_t n = std::min<std::size_t>(state->text->size(), wp - 1);
        std::memcpy(reinterpret_cast<char*>(lp), state->text->data(), n);
        reinterpret_cast<char*>(lp)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK && HIWORD(wp) == BN_CLICKED && state) state->done = true;
        return 0;
    case WM_CLOSE:
        if (state) state->done = true;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

void ShowMessage(const std::string& text) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterClassOnce(kDialogClass, &DialogProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), false);
    RegisterClassOnce(kTextClass, &TextProc, nullptr, false);

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    UniqueFont font(CreateFontIndirectA(&metrics.lfMessageFont));

    // Measure: the text wraps at word boundaries within half the screen's width.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT textRect{0, 0, screenWidth / 2, 0};
    TEXTMETRICA tm{};
    {
        const HDC dc = MeasuringDc();
        SelectedObject selected(dc, font.Get());
        GetTextMetricsA(dc, &tm);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, kTextFlags | DT_CALCRECT);
    }
    const int unitX = std::max<int>(tm.tmAveCharWidth, 1), unitY = std::max<int>(tm.tmHeight, 1);
    const int margin = MulDiv(8, unitX, 4), vmargin = MulDiv(8, unitY, 8);
    const int buttonWidth = MulDiv(50, unitX, 4), buttonHeight = MulDiv(14, unitY, 8);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

    // However long the text, the dialog fits the screen with its button on it.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int frameHeight = frame.bottom - frame.top;
    const int textWidth = textRect.right;
    const int textHeight = std::min<int>(textRect.bottom, screenHeight - frameHeight - 3 * vmargin - buttonHeight);
    const int clientWidth = std::max(textWidth, buttonWidth) + 2 * margin;
    const int clientHeight = vmargin + textHeight + vmargin + buttonHeight + vmargin;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;

    DialogState state;
    UniqueWindow dialog(CreateWindowExA(exStyle, kDialogClass, Application->Title().c_str(), style,
                                        (screenWidth - width) / 2, (screenHeight - height) / 2, width, height,
                                        Application->Handle(), nullptr, instance, &state));
    if (!dialog) throw EOSError("Cannot create the message dialog");
    TextState textState{&text, font.Get()};
    CreateWindowExA(0, kTextClass, "", WS_CHILD | WS_VISIBLE, margin, vmargin, textWidth, textHeight, dialog.Get(),
                    nullptr, instance, &textState);
    HWND ok = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              (clientWidth - buttonWidth) / 2, vmargin + textHeight + vmargin, buttonWidth,
                              buttonHeight, dialog.Get(), reinterpret_cast<HMENU>(IDOK), instance, nullptr);
    SendMessageA(ok, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);

    // While the dialog is up, the program's other windows take no input.
    TaskWindowsDisabled disabled(dialog.Get());
    ShowWindow(dialog.Get(), SW_SHOWNORMAL);
    SetForegroundWindow(dialog.Get());
    SetFocus(ok);

    MSG msg;
    while (!state.done) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // hand the quit on to the outer loop
            break;
        }
        // Enter and Esc both press OK: it is the default and the cancel button.
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
            (msg.hwnd == dialog.Get() || IsChild(dialog.Get(), msg.hwnd))) {
            state.done = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ShowWindow(dialog.Get(), SW_HIDE);
}

}  // namespace forms
