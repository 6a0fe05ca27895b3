// qr4t.exe opens its main window under Wine and ends with status 0 when asked to close.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string program_path()
{
    // The test program lives in <build>/tests/win; qr4t.exe in <build>.
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    for (int up = 0; up < 3; ++up)
        s = s.substr(0, s.find_last_of("\\/"));
    return s + "\\qr4t.exe";
}

HWND wait_for_window(const char* title, int seconds)
{
    for (int i = 0; i < seconds * 10; ++i) {
        if (HWND h = FindWindowA(nullptr, title))
            return h;
        Sleep(100);
    }
    return nullptr;
}

} // namespace

TEST(MainWindow, OpensWithTitleAndSizeAndClosesOnRequest)
{
    std::string exe = program_path();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << exe << " error " << GetLastError();
    HWND h = wait_for_window("  DSMC Visual Program QR4T for Three-Dimensional Flows", 30);
    ASSERT_NE(h, nullptr);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.right - r.left, 1020);
    EXPECT_EQ(r.bottom - r.top, 718);
    PostMessageA(h, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
