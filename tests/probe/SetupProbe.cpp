// Stands in for the kit's Setup.exe in launch tests. Appends to the file named by
// QUORVANE_PROBE_LOG how it was started: its working folder, its command line and the kit files
// it found there with their sizes. Then it holds "_setup.1" open without sharing for
// QUORVANE_PROBE_HOLD_MS milliseconds, as a running setup holds its archive.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("QUORVANE_PROBE_LOG", log, MAX_PATH)) return 0;
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, cwd);
    HANDLE held = CreateFileA("_setup.1", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);

    std::string record = std::string("cwd=") + cwd + "\r\ncmd=" + GetCommandLineA() + "\r\nfiles=";
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA("*", &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                record += std::string(fd.cFileName) + ":" + std::to_string(fd.nFileSizeLow) + ";";
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    record += "\r\nheld=" + std::string(held != INVALID_HANDLE_VALUE ? "yes" : "no") + "\r\n";

    HANDLE out = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(out, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(out);

    char hold[32] = "";
    if (GetEnvironmentVariableA("QUORVANE_PROBE_HOLD_MS", hold, sizeof hold)) Sleep(strtoul(hold, nullptr, 10));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    out = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    WriteFile(out, "exit\r\n", 6, &written, nullptr);
    CloseHandle(out);
    return 0;
}
