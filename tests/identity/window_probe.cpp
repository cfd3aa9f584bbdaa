// Starts a program and waits until it shows a window: the check that an
// installed Pyrel.exe runs, made under Wine with no display, where the null
// driver still keeps every window. It prints the window's title, closes it
// and waits for the program to end; it leaves the program's behaviour to
// the window tests.
//
//   window_probe.exe <program> [seconds]
//
// Exit status 0 when a visible top-level window of the program appeared
// within the time (30 s by default) and the program ended once it was
// closed; 1 otherwise, after ending the program.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct WindowSearch
{
    DWORD processId;
    HWND window;
};

BOOL CALLBACK findProgramWindow(HWND hwnd, LPARAM lParam)
{
    auto *search = reinterpret_cast<WindowSearch *>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == nullptr) {
        search->window = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: window_probe <program> [seconds]\n");
        return 1;
    }
    const int seconds = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 30;
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }

    WindowSearch search{process.dwProcessId, nullptr};
    bool ended = false;
    for (int tenths = 0; tenths < seconds * 10 && search.window == nullptr && !ended; ++tenths) {
        ended = WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0;
        EnumWindows(findProgramWindow, reinterpret_cast<LPARAM>(&search));
    }

    int status = 1;
    if (search.window != nullptr) {
        wchar_t title[256] = L"";
        GetWindowTextW(search.window, title, 256);
        std::wprintf(L"window: \"%ls\"\n", title);
        PostMessageW(search.window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
            status = 0;
        else
            std::fwprintf(stderr, L"%ls did not end when its window was closed\n", argv[1]);
    } else if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        std::fwprintf(stderr, L"%ls ended (status %lu) without showing a window\n", argv[1], code);
    } else {
        std::fwprintf(stderr, L"%ls showed no window within %d s\n", argv[1], seconds);
    }
    if (status != 0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}
