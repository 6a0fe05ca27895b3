// qr4t.exe: the entry point of the Win32 program.
#include "app/run/main_program.h"
#include "toolkit/drivers/hc_front_end.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    bind_run_phases();
    // The hardcopy drivers and front end, before the main window's graphics reset uses them.
    IHcDriversInstall();
    return MAIN_PROGRAM();
}
