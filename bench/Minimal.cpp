// The limit the installer is measured against: a plain Win32 program with the same window
// contents (three buttons and a multi-line edit), whose Install button does the same ten
// CreateFileA/WriteFile/CloseHandle calls from arrays in its image and the same ShellExecuteA,
// and whose close deletes the ten files and the folder. No framework, no form definition.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "dumpUnit.h"

namespace {

std::string Staging() {
    char root[MAX_PATH] = "";
    DWORD size = sizeof root;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "SystemRoot", nullptr, nullptr, reinterpret_cast<BYTE*>(root), &size);
        RegCloseKey(key);
    }
    return std::string(root) + "\\QuorvaneTemp";
}

HWND install, agree;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lp) == agree) EnableWindow(install, TRUE);
        if (reinterpret_cast<HWND>(lp) == install) {
            std::string dir = Staging();
            for (const TPayloadFile& f : PayloadFiles) {
                HANDLE h = CreateFileA((dir + "\\" + f.Name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
                DWORD written;
                WriteFile(h, f.Bytes, static_cast<DWORD>(f.Size), &written, nullptr);
                CloseHandle(h);
            }
            ShellExecuteA(hwnd, nullptr, "Setup.exe", nullptr, dir.c_str(), SW_SHOW);
        }
        return 0;
    case WM_CLOSE: {
        std::string dir = Staging();
        for (const TPayloadFile& f : PayloadFiles) DeleteFileA((dir + "\\" + f.Name).c_str());
        RemoveDirectoryA(dir.c_str());
        PostQuitMessage(0);
        return 0;
    }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    CreateDirectoryA(Staging().c_str(), nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "Minimal";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("Minimal", "Minimal", WS_CAPTION | WS_SYSMENU, 220, 86, 363, 325, nullptr, nullptr, instance, nullptr);
    install = CreateWindowA("BUTTON", "&Install", WS_CHILD | WS_VISIBLE | WS_DISABLED, 6, 269, 47, 25, hwnd, nullptr, instance, nullptr);
    CreateWindowA("BUTTON", "&Cancel", WS_CHILD | WS_VISIBLE, 303, 270, 50, 25, hwnd, nullptr, instance, nullptr);
    agree = CreateWindowA("BUTTON", "I Agree", WS_CHILD | WS_VISIBLE, 57, 269, 54, 25, hwnd, nullptr, instance, nullptr);
    CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "Terms", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 6, 137, 347, 128,
                    hwnd, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
