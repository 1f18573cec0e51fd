// Support for tests that create forms in this process and drive them with real input.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace inprocess {

// Handles the input and messages waiting for this thread, through the application's own loop
// step, until none has arrived for a short while.
void Pump();

// While it lives, every message box and message dialog that this thread opens is read and
// dismissed with its OK button, as a user would.
class BoxCatcher {
public:
    struct Box {
        std::string cls, caption, text;
        UINT style;
        RECT rect;  // on the screen
        std::vector<HWND> enabledWindows;  // the program's windows that were enabled meanwhile
    };
    BoxCatcher();
    ~BoxCatcher();
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;
    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
    HHOOK hook_;
    std::vector<Box> boxes_;
};

}  // namespace inprocess
