// The owner of the toolkit's common dialogs.
#ifndef QR4T_TOOLKIT_WIN_COMMON_DIALOGS_WIN_H
#define QR4T_TOOLKIT_WIN_COMMON_DIALOGS_WIN_H

#include <windows.h>

// The visible current dialog (or the window it is combined with), else the main window's frame.
HWND common_dialog_owner();

#endif
