// qr4t.exe: the entry point of the Win32 program. It opens the main window and runs until the user
// closes it; every ordinary stop ends the process with status 0.
#include <windows.h>

namespace {

constexpr char MAIN_CLASS[] = "QR4TMain";
constexpr char MAIN_TITLE[] = "  DSMC Visual Program QR4T for Three-Dimensional Flows";
constexpr int MAIN_WIDTH = 1020;  // outer size of the main window in pixels
constexpr int MAIN_HEIGHT = 718;

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = main_window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(instance, "icon1");
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = MAIN_CLASS;
    if (!RegisterClassA(&wc))
        return 1;
    HWND hwnd = CreateWindowA(MAIN_CLASS, MAIN_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                              MAIN_WIDTH, MAIN_HEIGHT, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
