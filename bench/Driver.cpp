// bench: runs the programs under measurement in rounds, A and B (and C) interleaved, and
// prints medians with min and max, and the ratio A/B taken pair by pair.
//   bench ROUNDS A.exe B.exe [NSIS.exe NSIS_TARGET_DIR]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/Driver.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// bench/run points SystemRoot here.
const char* const kStaging = "C:\\bench\\QuorvaneTemp";

struct Sample {
    bool cleared = false;  // the close left no staging folder behind
    double start = 0, install = 0, close = 0;
    double peakWorkingSet = 0, peakPrivate = 0;  // KiB
};

struct Found {
    DWORD pid;
    HWND hwnd;
};

BOOL CALLBACK FindTop(HWND hwnd, LPARAM param) {
    auto f = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == f->pid && IsWindowVisible(hwnd) && std::string(cls) != "TApplication" && std::string(cls) != "IME") {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

PROCESS_INFORMATION Start(const std::string& cmd) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = cmd;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %s\n", cmd.c_str());
        std::exit(2);
    }
    return pi;
}

void Memory(HANDLE process, Sample& s) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    s.peakWorkingSet = counters.PeakWorkingSetSize / 1024.0;
    s.peakPrivate = counters.PeakPagefileUsage / 1024.0;
}

// The display server and the Wine desktop are still taking the last program's windows down
// when its process has ended; each start waits for that, whichever program comes next. Then it
// starts the program and times it to its idle window.
PROCESS_INFORMATION StartToIdle(const std::string& cmd, Sample& s) {
    Sleep(100);
    double t0 = Now();
    PROCESS_INFORMATION pi = Start(cmd);
    WaitForInputIdle(pi.hProcess, 30000);
    s.start = Now() - t0;
    return pi;
}

// A user closes the window after the kit's Setup.exe has started and gone its own way. Until
// it has, its image is open in the staging folder (which then cannot be cleared, so the close
// would do less than its whole job) and its start-up competes for this machine's two cores.
// So the close is timed once the probe Setup.exe (it returns at once) has ended and the
// machine has had a moment to settle.
void AwaitSetupEnded() {
    driver::WaitNoProcess("Setup.exe", 10000);
    Sleep(50);
}

// One whole life of a program with the installer's window: start to idle, I Agree, Install
// pressed to handler done, memory, close to exit.
Sample Cycle(const std::string& exe) {
    Sample s;
    PROCESS_INFORMATION pi = StartToIdle("\"" + exe + "\"", s);
    Found f{pi.dwProcessId, nullptr};
    for (int i = 0; i < 3000 && !f.hwnd; ++i) {
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&f));
        if (!f.hwnd) Sleep(1);
    }
    HWND agree = FindWindowExA(f.hwnd, nullptr, "Button", "I Agree");
    HWND install = FindWindowExA(f.hwnd, nullptr, "Button", "&Install");
    SendMessageA(agree, BM_CLICK, 0, 0);
    double t1 = Now();
    SendMessageA(install, BM_CLICK, 0, 0);
    s.install = Now() - t1;
    Memory(pi.hProcess, s);
    AwaitSetupEnded();
    double t2 = Now();
    PostMessageA(f.hwnd, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 30000);
    s.close = Now() - t2;
    s.cleared = GetFileAttributesA(kStaging) == INVALID_FILE_ATTRIBUTES;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return s;
}

// The peer installer: start to idle window (then ended), and a silent extraction of the kit.
Sample NsisCycle(const std::string& exe, const std::string& target) {
    Sample s;
    PROCESS_INFORMATION pi = StartToIdle("\"" + exe + "\"", s);
    Memory(pi.hProcess, s);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    double t1 = Now();
    pi = Start("\"" + exe + "\" /S /D=" + target);
    WaitForSingleObject(pi.hProcess, 60000);
    s.install = Now() - t1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return s;
}

struct Stats {
    double median, min, max;
};

Stats Of(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return Stats{median, v.front(), v.back()};
}

std::string Cell(const Stats& s, const char* unit) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.1f %s (%.1f-%.1f)", s.median, unit, s.min, s.max);
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench ROUNDS A.exe B.exe [NSIS.exe TARGET]\n");
        return 2;
    }
    int rounds = std::atoi(argv[1]);
    std::string a = argv[2], b = argv[3];
    bool peer = argc >= 6;
    // One run of each first, not counted: it warms the caches.
    Cycle(a);
    Cycle(b);
    std::vector<Sample> as, bs, cs;
    for (int i = 0; i < rounds; ++i) {
        as.push_back(Cycle(a));
        bs.push_back(Cycle(b));
        if (peer) cs.push_back(NsisCycle(argv[4], argv[5]));
    }
    struct Row {
        const char* name;
        double Sample::*field;
        const char* unit;
    } rows[] = {
        {"start to idle window", &Sample::start, "ms"},
        {"Install pressed to handler done", &Sample::install, "ms"},
        {"close to exit", &Sample::close, "ms"},
        {"peak working set", &Sample::peakWorkingSet, "KiB"},
        {"peak private bytes", &Sample::peakPrivate, "KiB"},
    };
    std::printf("| figure | A: Install.exe | B: the limit | A/B (pairwise median) | C: NSIS |\n|---|---|---|---|---|\n");
    for (const Row& r : rows) {
        std::vector<double> va, vb, vc, ratio;
        for (int i = 0; i < rounds; ++i) {
            va.push_back(as[i].*r.field);
            vb.push_back(bs[i].*r.field);
            ratio.push_back(vb.back() > 0 ? va.back() / vb.back() : 0);
            if (peer) vc.push_back(cs[i].*r.field);
        }
        std::string c = "-";
        if (peer && r.field != &Sample::close) c = Cell(Of(vc), r.unit);
        if (peer && r.field == &Sample::install) c += " (silent extraction, whole process)";
        std::printf("| %s | %s | %s | %.2f | %s |\n", r.name, Cell(Of(va), r.unit).c_str(), Cell(Of(vb), r.unit).c_str(),
                    Of(ratio).median, c.c_str());
    }
    auto warnLeftBehind = [&](const char* name, const std::vector<Sample>& v) {
        long left = std::count_if(v.begin(), v.end(), [](const Sample& x) { return !x.cleared; });
        if (left) std::printf("\nwarning: %s left the staging folder behind in %ld of %d rounds\n", name, left, rounds);
    };
    warnLeftBehind("A", as);
    warnLeftBehind("B", bs);
    return 0;
}
