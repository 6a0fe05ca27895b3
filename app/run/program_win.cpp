// qr4t.exe: the entry point of the Win32 program.
#include "app/run/main_program.h"
#include "base/fatal.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/grid/grid.h"

#include <windows.h>

#include <string>

namespace {

// Title of the message box of a fatal stop.
constexpr char FATAL_TITLE[] = "QR4T - Program Stopped";

// A fatal stop of the Win32 program is shown to the user before the process ends: the program has no
// console, so standard error alone would end it with nothing on the screen. The box is task-modal and
// owned by no window, so it appears whatever state the main window is in.
void show_fatal_message(const std::string& message)
{
    MessageBoxA(nullptr, message.c_str(), FATAL_TITLE, MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    set_fatal_notice(show_fatal_message);
    bind_run_phases();
    // The hardcopy drivers and front end, before the main window's graphics reset uses them.
    IHcDriversInstall();
    WGridRegister();  // the grid classes exist from start-up, for any dialog that holds a grid field
    return MAIN_PROGRAM();
}
