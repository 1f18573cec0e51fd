#include "support/InProcess.h"

#include "forms/Forms.h"
#include "support/Driver.h"

namespace inprocess {

void Pump() {
    do {
        forms::Application->ProcessMessages();
    } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT) == WAIT_OBJECT_0);
}

namespace {
BoxCatcher* current = nullptr;

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM param) {
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}
}  // namespace

BoxCatcher::BoxCatcher() : hook_(SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId())) {
    current = this;
}

BoxCatcher::~BoxCatcher() {
    UnhookWindowsHookEx(hook_);
    current = nullptr;
}

LRESULT CALLBACK BoxCatcher::Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && current) {
        HWND hwnd = reinterpret_cast<HWND>(wp);
        char cls[64] = "";
        GetClassNameA(hwnd, cls, sizeof cls);
        std::string name = cls;
        if (name == "#32770" || name == "TMessageForm") {
            Box box{name, driver::Text(hwnd), driver::DialogText(hwnd),
                    static_cast<UINT>(GetWindowLongPtrA(hwnd, GWL_STYLE)), driver::WindowRectOf(hwnd), {}};
            EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&box.enabledWindows));
            current->boxes_.push_back(box);
            if (name == "#32770") PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
            else PostMessageA(hwnd, WM_CLOSE, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace inprocess
