// Runs the real program in a folder of its own and looks at its windows from outside.
#pragma once
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "TempDir.h"

namespace program_run {

inline std::string ExeDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\'));
}

struct Window {
    HWND hwnd;
    std::string className, text;
    bool visible;
};

struct Search {
    DWORD pid;
    std::vector<Window> found;
};

inline BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == s->pid) {
        char cls[64] = {}, text[256] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        GetWindowTextA(hwnd, text, sizeof text);
        s->found.push_back({hwnd, cls, text, IsWindowVisible(hwnd) != FALSE});
    }
    return TRUE;
}

inline std::vector<Window> WindowsOf(DWORD pid) {
    Search search{pid, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline BOOL CALLBACK CollectText(HWND hwnd, LPARAM param) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
    return TRUE;
}

inline std::vector<std::string> ChildTexts(HWND parent) {
    std::vector<std::string> texts;
    EnumChildWindows(parent, &CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Waits up to `seconds` for a visible window of the process that `match` accepts.
template <class Match>
HWND WaitForWindow(DWORD pid, Match match, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        for (const Window& w : WindowsOf(pid)) {
            if (w.visible && match(w)) return w.hwnd;
        }
        Sleep(50);
    }
    return nullptr;
}

class Program {
public:
    explicit Program(const std::string& folder) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string command = "\"" + folder + "\\Ripplecast.exe\"";
        started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi_);
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    bool Started() const { return started_; }
    // Ends the process at once, as a crash or the task manager does: nothing of it runs any more.
    bool Kill() {
        if (!started_ || !TerminateProcess(pi_.hProcess, 9)) return false;
        return WaitForSingleObject(pi_.hProcess, 30000) == WAIT_OBJECT_0;
    }
    DWORD Pid() const { return pi_.dwProcessId; }
    // The exit code, or -1 when it is still running after `seconds`.
    long WaitExit(int seconds) {
        if (WaitForSingleObject(pi_.hProcess, seconds * 1000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

inline bool Copy(const std::string& name, const std::string& to) {
    return CopyFileA((ExeDirectory() + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) != FALSE;
}

inline std::string Folder(const TempDir& dir) {
    std::string f = dir.Dir();
    while (!f.empty() && (f.back() == '\\' || f.back() == '/')) f.pop_back();
    return f;
}

}  // namespace program_run
