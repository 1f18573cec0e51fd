// Test support: drive a real Install.exe from another process, the way a user and Windows would.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace driver {

// Windows paths of the programs under test.
std::string InstallExe();       // the product build
std::string ProbeInstallExe();  // the same program carrying the probe kit
std::string I686InstallExe();   // the product image (not runnable here; read only)
std::string KitDir();           // the folder of the kit that InstallExe embeds
std::string ProbeKitDir();      // the folder of the probe kit

// Waits until pred() holds or ms pass; true when it held.
bool WaitFor(const std::function<bool()>& pred, DWORD ms = 5000, DWORD pollMs = 10);

class Process {
public:
    // Starts exe with the given start-up show command and working folder ("" = ours).
    explicit Process(const std::string& exe, WORD show = SW_SHOWNORMAL, const std::string& workDir = "");
    ~Process();  // ends the program if it still runs
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return pi_.dwProcessId; }
    HANDLE Handle() const { return pi_.hProcess; }
    bool Running() const;
    // Waits for the exit; the exit code, or -1 on a time-out.
    long ExitCode(DWORD ms = 10000);

    // A top-level window of this process with the class (and, when given, the caption).
    HWND Window(const char* cls, bool visibleOnly = true, const char* caption = nullptr) const;
    HWND WaitWindow(const char* cls, DWORD ms = 10000, const char* caption = nullptr) const;
    std::vector<HWND> Windows() const;
    HWND MainForm(DWORD ms = 10000) const { return WaitWindow("TForm1", ms); }
    // Waits until the program is idle after start-up.
    void Settle() const;

private:
    PROCESS_INFORMATION pi_{};
};

// The text of a window, and of a child control by class and index.
std::string Text(HWND hwnd);
HWND Child(HWND parent, const char* cls, int index = 0);
HWND ChildByText(HWND parent, const char* text);
RECT WindowRectOf(HWND hwnd);
RECT ClientRectOnScreen(HWND hwnd);
HWND FocusOf(HWND top);         // the focused window of top's thread
HWND ActiveOf(HWND top);        // the active window of top's thread
// The text of a message box or message dialog: its static text child that holds text.
std::string DialogText(HWND dialog);

// Real keyboard input, delivered to the foreground window.
void Foreground(HWND hwnd);
void Key(WORD vk, std::initializer_list<WORD> modifiers = {});
void KeyWith(WORD vk, const std::vector<WORD>& modifiers);
void Type(const std::string& text);
// A real mouse click at a screen point.
void Click(POINT screen);
void ClickControl(HWND control);

// The "SystemRoot" value that the installer reads, restored on destruction.
class SystemRoot {
public:
    SystemRoot();
    ~SystemRoot();
    SystemRoot(const SystemRoot&) = delete;
    SystemRoot& operator=(const SystemRoot&) = delete;
    void Set(DWORD type, const void* data, DWORD size);
    void SetString(const std::string& text, DWORD type = REG_SZ);
    void Remove();

private:
    bool had_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// Files and folders.
std::string TestRoot();  // a fresh folder for this test process, under the prefix's temp
std::string MakeDir(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
std::string ReadFileBytes(const std::string& path);
bool Exists(const std::string& path);
bool IsDir(const std::string& path);
std::vector<std::string> ListNames(const std::string& dir);  // sorted, without . and ..
void RemoveTree(const std::string& path);                    // clears attributes first
std::int64_t FileSize(const std::string& path);
// Waits until no process of this image name runs (a running program keeps its image and its
// working folder from being deleted).
bool WaitNoProcess(const char* exeName, DWORD ms = 10000);

}  // namespace driver
