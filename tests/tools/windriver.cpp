// windriver: small window chores for scripts.
//   windriver wait CLASS [MS]    waits until a visible top-level window of CLASS is up and idle
//   windriver close CLASS        sends WM_CLOSE to the first visible window of CLASS
// Exit code 0 on success, 1 when the window was not found in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static HWND FindVisible(const char* cls) {
    HWND hwnd = FindWindowA(cls, nullptr);
    return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: windriver wait|close CLASS [MS]\n");
        return 2;
    }
    const char* cls = argv[2];
    if (std::strcmp(argv[1], "wait") == 0) {
        DWORD ms = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 20000;
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20)) {
            if (HWND hwnd = FindVisible(cls)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
                    WaitForInputIdle(process, 5000);
                    CloseHandle(process);
                }
                RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                Sleep(300);  // let the desktop finish drawing before a picture is taken
                return 0;
            }
        }
        return 1;
    }
    if (std::strcmp(argv[1], "close") == 0) {
        HWND hwnd = FindVisible(cls);
        if (!hwnd) return 1;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
