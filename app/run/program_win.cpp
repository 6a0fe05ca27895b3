// qr4t.exe: the entry point of the Win32 program.
#include "app/run/main_program.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/grid/grid.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    bind_run_phases();
    // The hardcopy drivers and front end, before the main window's graphics reset uses them.
    IHcDriversInstall();
    WGridRegister();  // the grid classes exist from start-up, for any dialog that holds a grid field
    return MAIN_PROGRAM();
}
