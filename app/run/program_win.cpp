// qr4t.exe: the entry point of the Win32 program. It starts the toolkit, opens the main window and
// runs until the user closes it; every ordinary stop ends the process with status 0.
#include "toolkit/win/entry.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    WinOpenRecord main_window;
    main_window.flags = 0x43;  // system menu, minimise box, fixed frame
    main_window.x = 0;
    main_window.y = 0;
    main_window.width = 1020;  // client size in pixels
    main_window.height = 718;
    main_window.title = "  DSMC Visual Program QR4T for Three-Dimensional Flows";
    WWinOpen(main_window);
    for (;;) {
        int type = MsgNone;
        WinMessage message;
        WMsgWait(type, message);
        if (type == MsgCloseRequest)
            return 0;
    }
}
