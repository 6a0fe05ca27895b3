// A tree-view field filled from a menu resource ("[Treeviews]" lines of a companion text).
#include "toolkit/win/dialogs_win.h"

#include <commctrl.h>

#include <string>

namespace {

// Appends the items of a menu under `parent`; the item with id `selected` is selected.
void add_menu_items(HWND tree, HMENU menu, HTREEITEM parent, int selected)
{
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR))
            continue;
        TVINSERTSTRUCTA ins = {};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = text;
        ins.item.lParam = static_cast<LPARAM>(info.wID);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
        if (!item)
            continue;
        if (info.hSubMenu) {
            add_menu_items(tree, info.hSubMenu, item, selected);
            if (info.fState & MFS_CHECKED)
                SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        }
        if (!info.hSubMenu && static_cast<int>(info.wID) == selected)
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
}

}  // namespace

void fill_tree_from_menu(HWND tree, int menu_id, int selected)
{
    if (menu_id == 0 || !tree)
        return;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu_id));
    if (!menu)
        return;
    add_menu_items(tree, menu, TVI_ROOT, selected);
    DestroyMenu(menu);
}
