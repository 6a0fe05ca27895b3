// qr4t.exe opens its main window under Wine with the program's title and client size. (Closing it is
// the end-to-end test's: while the modal "Run Type" dialog is up the main window is disabled.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string program_path()
{
    // The test program lives in <build>/tests/program; qr4t.exe in <build>.
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

}  // namespace

TEST(MainWindow, OpensWithTitleAndClientSizeThenAsksForTheRunType)
{
    std::string exe = program_path();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(
        CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << exe << " error " << GetLastError();
    HWND h = wait_for_window("  DSMC Visual Program QR4T for Three-Dimensional Flows", 30);
    if (!h)
        TerminateProcess(pi.hProcess, 1);
    ASSERT_NE(h, nullptr);
    wait_for_window("Run Type", 30);
    // The record's 1020 by 718 is the size of the client window, the child of the frame.
    HWND client = GetWindow(h, GW_CHILD);
    EXPECT_NE(client, nullptr);
    RECT r = {0, 0, 0, 0};
    if (client)
        GetClientRect(client, &r);
    EXPECT_EQ(r.right, 1020);
    EXPECT_EQ(r.bottom, 718);
    EXPECT_NE(FindWindowA(nullptr, "Run Type"), nullptr) << "the program asks for the run type first";
    // End the program here so that no window of it is left for a later test.
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
