// show_test_dialog.exe: shows the test dialog, with every control kind the dialog manager handles, as a
// person sees it: values in the fields, a tree in the tree view, the first page under the tab control
// and a picture drawn into the picture field (drawn again on each of its exposes). A push button or
// the close box ends it. The screenshot check captures the screen while it is up.
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/win/gr_target_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>
#include <windows.h>

namespace {

constexpr int TEST_DIALOG = 9001;
constexpr int PICTURE = 1015;
constexpr int TREE = 1018;
constexpr int BLACK = 223;  // colour numbers of the shared colour table
constexpr int RED = 31;

HTREEITEM tree_item(HWND tree, HTREEITEM parent, const char* text)
{
    TVINSERTSTRUCTA in = {};
    in.hParent = parent;
    in.hInsertAfter = TVI_LAST;
    in.item.mask = TVIF_TEXT;
    in.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&in)));
}

// A frame, two diagonals and a small red square in user units 0..1 of the picture field.
void draw_picture()
{
    IGrSelectTarget(3, PICTURE);
    IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    IGrUnits(0.0f, 0.0f, 1.0f, 1.0f);
    IGrColourN(BLACK);
    IGrLine(0.05f, 0.05f, 0.95f, 0.95f);
    IGrLine(0.05f, 0.95f, 0.95f, 0.05f);
    IGrColourN(RED);
    for (float y = 0.4f; y <= 0.6f; y += 0.01f)
        IGrLine(0.4f, y, 0.6f, y);
    IGrSelectTarget(1, 0);
}

}  // namespace

int main()
{
    WinOpenRecord r;
    r.flags = 0x43 | 128;  // hidden: the dialog alone is on the screen
    r.width = 1020;
    r.height = 718;
    r.title = "QR4T test dialog";
    WWinOpen(r);
    WDialogLoad(TEST_DIALOG);
    WDialogPutString(1002, "Delta wing");
    WDialogPutInteger(1003, 250000);
    WDialogPutProgressBar(1013, 40);
    SendMessageA(GetDlgItem(current_dialog_window(), 1014), TBM_SETPOS, TRUE, 12);
    HWND tree = GetDlgItem(current_dialog_window(), TREE);
    HTREEITEM gas = tree_item(tree, TVI_ROOT, "Gas species");
    tree_item(tree, gas, "Nitrogen");
    tree_item(tree, gas, "Oxygen");
    tree_item(tree, TVI_ROOT, "Surfaces");
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(gas));
    WDialogShow(-1, -1, 1002, 2);
    draw_picture();
    for (;;) {
        int type = 0;
        WinMessage m;
        WMsgWait(type, m);
        if (type == MsgExpose && m.source_kind == 1 && m.field == PICTURE)
            draw_picture();
        else if (type == MsgButton || type == MsgCloseRequest)
            break;
    }
    WDialogUnload();
    WWinCloseDown();
    return 0;
}
