// show_grid_editor.exe <window|find|goto-cell|goto-row|sort>: shows the stand-alone grid window holding
// the 500-row test grid with a file loaded, and over it the editor dialog named, as the editor's own
// command shows it. Cancel (button 2) ends a dialog; the window ends with its close box. The screenshot
// check captures the screen while it is up.
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_window.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"

#include <windows.h>

#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "window";
    WinOpenRecord r;
    r.flags = 0x43 | 128;  // hidden: the grid window alone is on the screen
    r.width = 1020;
    r.height = 718;
    r.title = "QR4T grid editor";
    WWinOpen(r);
    WGridRegister();
    std::ofstream("data.csv", std::ios::binary)
        << "\"Inlet\",100,0.5,3.142,Yes,\"Nitrogen\"\r\n\"Outlet\",200,1.5,6.283,No,\"Argon\"\r\n"
           "\"Wall \"\"A\"\"\",300,2.5,9.425,Yes,\"Oxygen\"\r\n";
    int window = 0;
    WWinOpenChild(window, 7, 20, 20, 640, 420, "QR4T Grid Editor");
    WDialogLoad(3100);
    WDialogSelect(3100);
    WWinSelect(window);
    int error = 0, mode = 2;
    WGridEdOpen(error, 3101, mode, 0, 0, "data.csv", "");
    if (error != 0)
        return 1;
    WGridEdModal();  // modeless: the change flags of the load are cleared
    int sorted = 0, match_case = 0;
    std::string text = "Wall";
    if (what == "find")
        WGridEdFind(window, 1, match_case, text);
    else if (what == "goto-cell")
        WGridEdGoto(window, 1);
    else if (what == "goto-row")
        WGridEdGoto(window, 2);
    else if (what == "sort")
        WGridEdSort(window, 1, sorted);
    else {
        int type = 0;
        WinMessage m;
        do
            WMsgWait(type, m);
        while (type != MsgCloseRequest);
    }
    return 0;
}
