#include "support/Driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <stdexcept>

namespace driver {

namespace {

std::string FromBuildPath(const char* unixPath) {
    // Wine shows the Unix root as drive Z:.
    std::string p = std::string("Z:") + unixPath;
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

const char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

struct FindState {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindows(HWND hwnd, LPARAM param) {
    auto state = reinterpret_cast<FindState*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == state->pid) state->found.push_back(hwnd);
    return TRUE;
}

std::string ClassOf(HWND hwnd) {
    char cls[256] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    return cls;
}

}  // namespace

std::string InstallExe() { return FromBuildPath(INSTALL_EXE); }
std::string ProbeInstallExe() { return FromBuildPath(PROBE_INSTALL_EXE); }
std::string I686InstallExe() { return FromBuildPath(I686_INSTALL_EXE); }
std::string KitDir() { return FromBuildPath(INSTALL_KIT_DIR); }
std::string ProbeKitDir() { return FromBuildPath(PROBE_KIT_DIR); }

bool WaitFor(const std::function<bool()>& pred, DWORD ms, DWORD pollMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > ms) return false;
        if (pollMs) Sleep(pollMs);
        else SwitchToThread();
    }
}

Process::Process(const std::string& exe, WORD show, const std::string& workDir) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show;
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi_))
        throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
    WaitForInputIdle(pi_.hProcess, 10000);
}

Process::~Process() {
    if (Running()) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

bool Process::Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

long Process::ExitCode(DWORD ms) {
    if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
}

std::vector<HWND> Process::Windows() const {
    FindState state{pi_.dwProcessId, {}};
    EnumWindows(&CollectWindows, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND Process::Window(const char* cls, bool visibleOnly, const char* caption) const {
    for (HWND hwnd : Windows()) {
        if (ClassOf(hwnd) != cls) continue;
        if (visibleOnly && !IsWindowVisible(hwnd)) continue;
        if (caption && Text(hwnd) != caption) continue;
        return hwnd;
    }
    return nullptr;
}

HWND Process::WaitWindow(const char* cls, DWORD ms, const char* caption) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = Window(cls, true, caption)) != nullptr || !Running(); }, ms);
    if (found) Settle();
    return found;
}

void Process::Settle() const { WaitForInputIdle(pi_.hProcess, 5000); }

std::string Text(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length)) return "";
    std::string buffer(length + 1, '\0');
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_BLOCK, 5000, &length))
        return "";
    buffer.resize(std::min<std::size_t>(length, buffer.size()));
    return buffer;
}

HWND Child(HWND parent, const char* cls, int index) {
    HWND child = nullptr;
    for (int i = 0; i <= index; ++i) {
        child = FindWindowExA(parent, child, cls, nullptr);
        if (!child) return nullptr;
    }
    return child;
}

HWND ChildByText(HWND parent, const char* text) { return FindWindowExA(parent, nullptr, nullptr, text); }

RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT ClientRectOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

HWND ActiveOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
    return info.hwndActive;
}

std::string DialogText(HWND dialog) {
    if (HWND text = FindWindowExA(dialog, nullptr, "TMessageText", nullptr)) return Text(text);
    for (HWND child = FindWindowExA(dialog, nullptr, "Static", nullptr); child;
         child = FindWindowExA(dialog, child, "Static", nullptr)) {
        std::string text = Text(child);
        if (!text.empty()) return text;
    }
    return "";
}

void Foreground(HWND hwnd) {
    SetForegroundWindow(hwnd);
    // Active, and the program has handled the activation: the focus is set.
    WaitFor([&] { return GetForegroundWindow() == hwnd && ActiveOf(hwnd) == hwnd && FocusOf(hwnd) != nullptr; }, 5000);
}

namespace {
void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof input);
}
}  // namespace

void Key(WORD vk, std::initializer_list<WORD> modifiers) { KeyWith(vk, std::vector<WORD>(modifiers)); }

void KeyWith(WORD vk, const std::vector<WORD>& modifiers) {
    for (WORD m : modifiers) SendKey(m, false);
    SendKey(vk, false);
    SendKey(vk, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) SendKey(*it, true);
}

void Type(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        WORD vk = LOBYTE(scan);
        if (HIBYTE(scan) & 1) Key(vk, {VK_SHIFT});
        else Key(vk);
    }
}

void Click(POINT screen) {
    // The position travels with the button events, in the same input stream.
    INPUT input[3]{};
    for (INPUT& i : input) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 32;
        i.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 32;
        i.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof input[0]);
}

void ClickControl(HWND control) {
    RECT r = WindowRectOf(control);
    Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

SystemRoot::SystemRoot() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExA(key, "SystemRoot", nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        had_ = RegQueryValueExA(key, "SystemRoot", nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
}

SystemRoot::~SystemRoot() {
    if (had_) Set(type_, data_.data(), static_cast<DWORD>(data_.size()));
    else Remove();
}

void SystemRoot::Set(DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open the CurrentVersion key");
    LONG rc = RegSetValueExA(key, "SystemRoot", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) throw std::runtime_error("cannot set SystemRoot");
}

void SystemRoot::SetString(const std::string& text, DWORD type) {
    Set(type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void SystemRoot::Remove() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, "SystemRoot");
    RegCloseKey(key);
}

std::string TestRoot() {
    static std::string root;
    if (root.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "qtest-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount());
        CreateDirectoryA(root.c_str(), nullptr);
    }
    return root;
}

std::string MakeDir(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

void WriteFileBytes(const std::string& path, const std::string& bytes, DWORD attributes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    if (attributes != FILE_ATTRIBUTE_NORMAL) SetFileAttributesA(path.c_str(), attributes);
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string("<missing>");
    DWORD size = GetFileSize(h, nullptr);
    if (size == INVALID_FILE_SIZE) {
        CloseHandle(h);
        return std::string("<not a file>");
    }
    std::string data(size, '\0');
    DWORD got = 0;
    if (!data.empty()) ReadFile(h, &data[0], static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(h);
    data.resize(got);
    return data;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDir(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListNames(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") names.push_back(n);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL | (a & FILE_ATTRIBUTE_DIRECTORY));
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(a & FILE_ATTRIBUTE_REPARSE_POINT))
            for (const auto& n : ListNames(path)) RemoveTree(path + "\\" + n);
        RemoveDirectoryA(path.c_str());
    } else {
        DeleteFileA(path.c_str());
    }
}

bool WaitNoProcess(const char* exeName, DWORD ms) {
    return WaitFor([&] {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return false;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        bool found = false;
        for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
            found = lstrcmpiA(entry.szExeFile, exeName) == 0;
        CloseHandle(snapshot);
        return !found;
    }, ms);
}

std::int64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace driver
