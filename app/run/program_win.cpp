// qr4t.exe: the entry point of the Win32 program.
#include "app/run/main_program.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    bind_run_phases();
    return MAIN_PROGRAM();
}
