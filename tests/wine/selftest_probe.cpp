// Small Win32 program used by tests/wine/selftest.sh to check the Wine test
// set-up: code page, system directory, console output, exit codes, windows.
//
//   selftest_probe.exe info      print ACP, system directory, open a system32 file
//   selftest_probe.exe text      print a GBK-encoded Chinese line (narrow output)
//   selftest_probe.exe gui       create a window, pump messages, close it, exit 0
//   selftest_probe.exe exit N    exit with code N
//   selftest_probe.exe sleep MS  sleep MS milliseconds, then exit 0
//   selftest_probe.exe cxx       throw and catch a C++ exception
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

int info() {
    std::printf("ACP=%u\n", GetACP());
    std::printf("OEMCP=%u\n", GetOEMCP());
    char sysdir[MAX_PATH] = {0};
    UINT n = GetSystemDirectoryA(sysdir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        std::printf("SYSDIR=<error %lu>\n", GetLastError());
        return 2;
    }
    std::printf("SYSDIR=%s\n", sysdir);
    // A file that every prefix has in its system directory.
    char path[MAX_PATH + 32];
    std::snprintf(path, sizeof path, "%s\\kernel32.dll", sysdir);
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::printf("OPEN=FAIL %lu %s\n", GetLastError(), path);
        return 3;
    }
    DWORD size = GetFileSize(h, nullptr);
    CloseHandle(h);
    std::printf("OPEN=OK %s size=%lu\n", path, size);
    std::printf("PTRBITS=%u\n", static_cast<unsigned>(sizeof(void*) * 8));
    return 0;
}

int cxx() {
    try {
        throw std::runtime_error("thrown");
    } catch (const std::exception& e) {
        std::printf("CXX=caught %s\n", e.what());
        return 0;
    }
}

int text() {
    // "中文测试" in GBK, written as bytes so the source stays charset-neutral.
    std::printf("TEXT=\xd6\xd0\xce\xc4\xb2\xe2\xca\xd4\n");
    return 0;
}

LRESULT CALLBACK wndproc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

int gui() {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = wndproc;
    wc.hInstance = inst;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "NavoWineProbe";
    if (!RegisterClassA(&wc)) {
        std::printf("GUI=FAIL RegisterClass %lu\n", GetLastError());
        return 4;
    }
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "probe", WS_OVERLAPPEDWINDOW,
                                10, 10, 200, 100, nullptr, nullptr, inst, nullptr);
    if (!hwnd) {
        std::printf("GUI=FAIL CreateWindow %lu\n", GetLastError());
        return 5;
    }
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    SetTimer(hwnd, 1, 200, nullptr);  // closes the window shortly
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    std::printf("GUI=OK\n");
    return static_cast<int>(msg.wParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: selftest_probe info|text|cxx|gui|exit N|sleep MS\n");
        return 1;
    }
    int rc = 1;
    if (std::strcmp(argv[1], "info") == 0) {
        rc = info();
    } else if (std::strcmp(argv[1], "text") == 0) {
        rc = text();
    } else if (std::strcmp(argv[1], "cxx") == 0) {
        rc = cxx();
    } else if (std::strcmp(argv[1], "gui") == 0) {
        rc = gui();
    } else if (std::strcmp(argv[1], "exit") == 0 && argc > 2) {
        rc = std::atoi(argv[2]);
    } else if (std::strcmp(argv[1], "sleep") == 0 && argc > 2) {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        rc = 0;
    }
    std::fflush(stdout);
    return rc;
}
