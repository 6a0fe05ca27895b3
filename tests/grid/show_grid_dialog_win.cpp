// show_grid_dialog.exe: shows the grid test dialog as a person sees it: header bar, row labels, cells
// of every kind with values, a coloured cell and column, and a block of cells selected. A push button
// or the close box ends it. The screenshot check captures the screen while it is up.
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"

#include <windows.h>

#include <string>

int main()
{
    WinOpenRecord r;
    r.flags = 0x43 | 128;  // hidden: the dialog alone is on the screen
    r.width = 1020;
    r.height = 718;
    r.title = "QR4T grid dialog";
    WWinOpen(r);
    WGridRegister();
    constexpr int DIALOG = 3100, GRID = 3101;
    WDialogLoad(DIALOG);
    const char* gases[] = {"Nitrogen", "Oxygen", "Argon"};
    for (int row = 1; row <= 14; ++row) {
        int f = GRID, not_found = 0;
        WGridPutCell(f, 0, row - 1, 0.0, "Cell " + std::to_string(row), "");
        WGridPutInteger(GRID, 2, row, row * 100);
        WGridPutReal(GRID, 3, row, 0.5f * static_cast<float>(row % 20));
        WGridPutDouble(GRID, 4, row, 3.14159 * row);
        WGridPutCheckBox(f, 4, row - 1, row % 2);
        WGridPutMenuText(f, 5, row - 1, not_found, gases[row % 3]);
    }
    int f = GRID;
    WGridCellColour(f, 1, 2, 255, 255, 255, 0, 96, 160);  // white on blue
    WGridColumnColour(f, 3, 160, 0, 0, -1, 0, 0);         // dark red texts
    WDialogShow(-1, -1, 0, 2);
    HWND grid = GetDlgItem(current_dialog_window(), GRID);
    WGridSelectBlock(grid, 4, 6, 1, 3);
    int type = 0;
    WinMessage m;
    do
        WMsgWait(type, m);
    while (type != MsgButton && type != MsgCloseRequest);
    return 0;
}
