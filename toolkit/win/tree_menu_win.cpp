// A tree-view field filled from a menu resource ("[Treeviews]" lines of a companion text), and the
// operations on its items by their ids.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/win/dialogs.h"
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

namespace {

// The item of a tree whose data word is `id`, searched depth first from `item` on; null when none.
HTREEITEM find_item(HWND tree, HTREEITEM item, int id)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMA info = {};
        info.mask = TVIF_PARAM;
        info.hItem = item;
        if (SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)) &&
            static_cast<int>(info.lParam) == id)
            return item;
        HTREEITEM child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (HTREEITEM found = find_item(tree, child, id))
            return found;
    }
    return nullptr;
}

// The tree field `field` of the current dialog and its item `id`; status -2 when no item has the id.
// Errors 1005 and 1006 as for every field.
HTREEITEM tree_item(int field, int id, HWND& tree, int& status)
{
    status = 0;
    tree = field_or_report(field);
    if (!tree)
        return nullptr;
    if (WDialogFieldKindOf(tree) != FK_TREE) {
        IErrorReport(ERR_NO_FIELD);
        tree = nullptr;
        return nullptr;
    }
    HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM item = find_item(tree, root, id);
    if (!item)
        status = -2;
    return item;
}

bool has_children(HWND tree, HTREEITEM item)
{
    return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)) != 0;
}

}  // namespace

void WDialogTreeSelect(int field, int id, int& status)
{
    HWND tree = nullptr;
    if (HTREEITEM item = tree_item(field, id, tree, status))
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void WDialogTreeDelete(int field, int id, int& status)
{
    HWND tree = nullptr;
    if (HTREEITEM item = tree_item(field, id, tree, status))
        SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void WDialogTreeState(int field, int id, int& state)
{
    HWND tree = nullptr;
    HTREEITEM item = tree_item(field, id, tree, state);
    if (!item)
        return;
    if (!has_children(tree, item)) {
        state = -3;
        return;
    }
    const LRESULT flags = SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED);
    state = (flags & TVIS_EXPANDED) ? 2 : 1;
}

void WDialogTreeExpand(int field, int id, int expand, int& status)
{
    HWND tree = nullptr;
    HTREEITEM item = tree_item(field, id, tree, status);
    if (!item)
        return;
    if (!has_children(tree, item)) {
        status = -3;
        return;
    }
    SendMessageA(tree, TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
}

void WDialogTreeSelected(int field, int& id)
{
    HWND tree = field_or_report(field);
    if (!tree)
        return;
    if (WDialogFieldKindOf(tree) != FK_TREE) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    TVITEMA info = {};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    id = item && SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))
             ? static_cast<int>(info.lParam)
             : FIELD_EMPTY;
}

void WDialogTreeInsert(int field, int id, std::string_view text, int relative, int where, int& status)
{
    status = 0;
    HWND tree = field_of_kind(field, FK_TREE);
    if (!tree)
        return;
    TVINSERTSTRUCTA ins = {};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    if (relative != 0) {
        HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        HTREEITEM item = find_item(tree, root, relative);
        if (!item) {
            status = -2;
            return;
        }
        if (where == 1) {
            ins.hParent = reinterpret_cast<HTREEITEM>(
                SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
            if (!ins.hParent)
                ins.hParent = TVI_ROOT;
            ins.hInsertAfter = item;
        } else {
            ins.hParent = item;
        }
    }
    std::string label(text);
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = label.data();
    ins.item.lParam = static_cast<LPARAM>(id);
    SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
}
