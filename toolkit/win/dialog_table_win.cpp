// The table of loaded dialogs: loading from the program's templates with their companion texts,
// selecting, hiding and unloading.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialog_rcdata.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/grid_fields_win.h"
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

DialogTable DIALOG_TABLE;
DialogResults DIALOG_RESULTS;

namespace {

std::map<HWND, std::unique_ptr<FieldRecord>> FIELD_RECORDS;

std::string class_of(HWND w)
{
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

bool same_class(HWND w, const char* name)
{
    return lstrcmpiA(class_of(w).c_str(), name) == 0;
}

// Applies the lines of a companion text to the fields of a new dialog.
class ApplyRcdata : public RcdataSink {
public:
    ApplyRcdata(HWND dialog, int slot) : dialog_(dialog), slot_(slot) {}

    void range(int id, double lo, double hi) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (!f)
            return;
        if (same_class(f, PROGRESS_CLASSA)) {
            SendMessageA(f, PBM_SETRANGE, 0,
                         MAKELPARAM(static_cast<int>(lo) & 0xFFFF, static_cast<int>(hi) & 0xFFFF));
            SendMessageA(f, PBM_SETPOS, leading_digits(f), 0);
        } else if (same_class(f, TRACKBAR_CLASSA)) {
            SendMessageA(f, TBM_SETRANGEMIN, FALSE, static_cast<int>(lo));
            SendMessageA(f, TBM_SETRANGEMAX, FALSE, static_cast<int>(hi));
            SendMessageA(f, TBM_SETPOS, TRUE, leading_digits(f));
        } else if (FieldRecord* r = field_record(f)) {
            r->minimum = lo;
            r->maximum = hi;
        }
    }
    void menu(int id, int selection, const std::vector<std::string>& items) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (!f)
            return;
        bool list = same_class(f, "LISTBOX");
        SendMessageA(f, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items)
            SendMessageA(f, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        int sel = slot_ == -1 ? 1 : selection;
        SendMessageA(f, list ? LB_SETCURSEL : CB_SETCURSEL, sel > 0 ? sel - 1 : static_cast<WPARAM>(-1), 0);
    }
    void check(int id, int state) override { CheckDlgButton(dialog_, id, static_cast<UINT>(state)); }
    void tabs(int id, int def, const std::vector<std::pair<int, std::string>>& pages) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (!f)
            return;
        int selected = 0;
        for (size_t i = 0; i < pages.size(); ++i) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT | TCIF_PARAM;
            std::string label = pages[i].second;
            item.pszText = label.data();
            item.lParam = pages[i].first;
            SendMessageA(f, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
            if (pages[i].first == def && selected == 0)
                selected = static_cast<int>(i);
        }
        SendMessageA(f, TCM_SETCURSEL, selected, 0);
        int keep_slot = DIALOG_TABLE.current_slot;
        int keep_id = DIALOG_TABLE.current_id;
        for (const auto& page : pages)
            if (WDialogSlotFromId(page.first) < 0)
                WDialogLoad(page.first);
        DIALOG_TABLE.current_slot = keep_slot;
        DIALOG_TABLE.current_id = keep_id;
    }
    // The grid reads its own set-up line (and row labels) and says how much of the text it used.
    size_t grid(int id, std::string_view text) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (!is_grid_field(f) || !GRID_FIELD_HOOKS.from_resource)
            return 0;
        return GRID_FIELD_HOOKS.from_resource(f, text.data(), text.size());
    }
    void colours(int id, const int v[6]) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (!f || !field_record(f))
            return;
        WDialogFieldColour(f, 1, v[0], v[1], v[2]);
        WDialogFieldColour(f, 2, v[3], v[4], v[5]);
    }
    void trackbar(int id, const int v[5]) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (!f || !same_class(f, TRACKBAR_CLASSA))
            return;
        SendMessageA(f, TBM_SETTICFREQ, v[0], 0);
        SendMessageA(f, TBM_SETLINESIZE, 0, v[1]);
        SendMessageA(f, TBM_SETPAGESIZE, 0, v[2]);
        if (GetWindowLongA(f, GWL_STYLE) & TBS_ENABLESELRANGE) {
            if (v[3] == v[4])
                SendMessageA(f, TBM_CLEARSEL, TRUE, 0);
            else
                SendMessageA(f, TBM_SETSEL, TRUE, MAKELPARAM(v[3], v[4]));
        }
    }
    void length(int id, int n) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (!f)
            return;
        if (same_class(f, "COMBOBOX"))
            SendMessageA(f, CB_LIMITTEXT, n, 0);
        else if (same_class(f, "EDIT") || is_numeric_class(f))
            SendMessageA(f, EM_LIMITTEXT, n, 0);
        if (FieldRecord* r = field_record(f))
            r->max_length = n;
    }
    void dialog_flag(int flag) override
    {
        if (DialogRecord* d = dialog_record(dialog_))
            d->dialog_flag = flag;
    }
    void format(int id, const std::string& text) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (FieldRecord* r = f ? field_record(f) : nullptr)
            r->format = text;
    }
    void treeview(int id, int menu, int selected) override
    {
        HWND f = GetDlgItem(dialog_, id);
        if (f && same_class(f, WC_TREEVIEWA))
            fill_tree_from_menu(f, menu, selected);
    }

private:
    static int leading_digits(HWND f)
    {
        char t[18] = {};
        GetWindowTextA(f, t, sizeof t);
        int v = 0;
        for (const char* p = t; *p >= '0' && *p <= '9' && v < 100000000; ++p)
            v = v * 10 + (*p - '0');
        return v;
    }
    HWND dialog_;
    int slot_;
};

}  // namespace

void WDialogApplyRcdata(HWND dialog, int id, int slot)
{
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!res)
        return;
    HGLOBAL g = LoadResource(nullptr, res);
    const char* data = g ? static_cast<const char*>(LockResource(g)) : nullptr;
    if (!data)
        return;
    ApplyRcdata sink(dialog, slot);
    parse_dialog_rcdata(std::string_view(data, SizeofResource(nullptr, res)), sink);
}

void WDialogFieldColour(HWND field, int which, int red, int green, int blue)
{
    FieldRecord& r = make_field_record(field);
    if (red == -1)
        return;
    int& colour = which == 1 ? r.foreground : r.background;
    colour = red == 256 ? -1 : (red & 255) | (green & 255) << 8 | (blue & 255) << 16;
}

int field_state_of(HWND f)
{
    if (!IsWindowVisible(f) && !(GetWindowLongA(f, GWL_STYLE) & WS_VISIBLE))
        return 3;
    if (!IsWindowEnabled(f))
        return 0;
    if ((same_class(f, "EDIT") || is_numeric_class(f)) && (GetWindowLongA(f, GWL_STYLE) & ES_READONLY))
        return 2;
    constexpr LONG READ_ONLY_GRID = 0x0800;  // the grid's read-only style bit
    if (WDialogFieldKindOf(f) == FK_GRID && (GetWindowLongA(f, GWL_STYLE) & READ_ONLY_GRID))
        return 2;
    return 1;
}

namespace {

// Creates a dialog from its template; id becomes -1 (full or failed) or -2 (no template).
void WDialogCreate(int& id, int window)
{
    int slot = WDialogSlotFromId(id);
    if (slot >= 0) {
        DIALOG_TABLE.current_slot = slot;
        return;
    }
    if (DIALOG_TABLE.count + 1 > DIALOG_SLOTS) {
        id = -1;
        return;
    }
    if (!FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5))) {  // RT_DIALOG
        id = -2;
        return;
    }
    WDialogRegisterNumericClasses();
    HWND keep_active = DIALOG_TABLE.active;
    auto* record = new DialogRecord{};
    record->id = id;
    DIALOG_TABLE.show_focus = 0;
    DIALOG_TABLE.show_x = DIALOG_TABLE.show_y = -1;
    DIALOG_TABLE.creating = 1;
    HWND owner = window >= 0 && window < WIN_SLOTS ? WIN_TABLE.slot[window].frame : nullptr;
    HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(id), owner, WDialogProc,
                                  reinterpret_cast<LPARAM>(record));
    DIALOG_TABLE.creating = 0;
    if (!dlg) {
        delete record;
        id = -1;
        return;
    }
    ++DIALOG_TABLE.count;
    DIALOG_TABLE.loaded[DIALOG_TABLE.count] = dlg;
    DIALOG_TABLE.current_slot = DIALOG_TABLE.count;
    WDialogApplyRcdata(dlg, id, DIALOG_TABLE.count);
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        FieldRecord* r = field_record(f);
        if (!r)
            continue;
        r->state = field_state_of(f);
        if (r->spin)
            f = GetWindow(f, GW_HWNDNEXT);  // the spin's up-down control follows its field
    }
    DIALOG_TABLE.active = keep_active;
}

// Gives every page embedded in the dialog back to the main window's client, hidden, so that destroying
// the dialog does not destroy the pages with it (WDialogDetachPages).
void detach_pages(HWND dlg)
{
    HWND next = nullptr;
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = next) {
        next = GetWindow(f, GW_HWNDNEXT);
        if (same_class(f, "#32770")) {
            ShowWindow(f, SW_HIDE);
            SetParent(f, WIN_TABLE.slot[0].client);
        }
    }
}

// The page dialogs named by the tab controls of a dialog.
std::vector<int> page_ids(HWND dlg)
{
    std::vector<int> ids;
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        if (!same_class(f, WC_TABCONTROLA))
            continue;
        int n = static_cast<int>(SendMessageA(f, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            TCITEMA item = {};
            item.mask = TCIF_PARAM;
            if (SendMessageA(f, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item)))
                ids.push_back(static_cast<int>(item.lParam));
        }
    }
    return ids;
}

// Destroys the dialog of a slot (0: the current one) and closes the gap in the table; with flag 0 the
// dialogs shown as its tab pages are destroyed first, recursively.
void WDialogDestroy(int flag, int slot)
{
    if (slot == 0)
        slot = DIALOG_TABLE.current_slot;
    if (slot < 1 || slot > DIALOG_TABLE.count)
        return;
    HWND dlg = DIALOG_TABLE.loaded[slot];
    detach_pages(dlg);
    if (flag == 0) {
        for (int id : page_ids(dlg)) {
            int page = WDialogSlotFromId(id);
            if (page >= 1 && DIALOG_TABLE.loaded[page] != dlg)
                WDialogDestroy(0, page);
        }
        // Destroying the pages moved the later slots down.
        for (slot = 1; slot <= DIALOG_TABLE.count && DIALOG_TABLE.loaded[slot] != dlg; ++slot) {
        }
    }
    DialogRecord* record = dialog_record(dlg);
    DestroyWindow(dlg);
    delete record;
    if (DIALOG_TABLE.active == dlg)
        DIALOG_TABLE.active = nullptr;
    // A destroyed dialog cannot own the next box or dialog: the main window takes its place.
    if (DIALOG_TABLE.default_owner == dlg)
        DIALOG_TABLE.default_owner = WIN_TABLE.slot[0].frame;
    for (int s = slot; s < DIALOG_TABLE.count; ++s)
        DIALOG_TABLE.loaded[s] = DIALOG_TABLE.loaded[s + 1];
    DIALOG_TABLE.loaded[DIALOG_TABLE.count] = nullptr;
    --DIALOG_TABLE.count;
    if (DIALOG_TABLE.current_slot == slot)
        DIALOG_TABLE.current_slot = 0;
    else if (DIALOG_TABLE.current_slot > slot)
        --DIALOG_TABLE.current_slot;
    if (DIALOG_TABLE.count == 0 && !WIN_TABLE.slot[0].frame)
        DIALOG_TABLE.default_owner = nullptr;
}

// Hides the dialog of a slot (0: current); -1 when it is combined with a window.
int WDialogHideSlot(int slot)
{
    if (slot == 0)
        slot = DIALOG_TABLE.current_slot;
    if (slot < 1 || slot > DIALOG_TABLE.count)
        return 0;
    HWND dlg = DIALOG_TABLE.loaded[slot];
    DialogRecord* r = dialog_record(dlg);
    if (r->combined)
        return -1;
    if (r->shown && r->mode == 3) {
        --DIALOG_TABLE.semi_modeless;
        WWinEnableOthers(DIALOG_TABLE.active == dlg ? r->reenable : nullptr, true);
    }
    for (int s = 1; s <= DIALOG_TABLE.count; ++s) {
        DialogRecord* o = dialog_record(DIALOG_TABLE.loaded[s]);
        if (o && o->owner == dlg)
            o->owner = r->owner;
        if (o && o->reenable == dlg)
            o->reenable = r->reenable;
    }
    ShowWindow(dlg, SW_HIDE);
    r->shown = 0;
    if (DIALOG_TABLE.last_semi_modeless == dlg)
        DIALOG_TABLE.last_semi_modeless = DIALOG_TABLE.semi_modeless > 0 ? r->reenable : nullptr;
    if (DIALOG_TABLE.active == dlg) {
        DIALOG_TABLE.active = nullptr;
        if (r->owner && IsWindow(r->owner)) {
            SetFocus(r->owner);
            if (dialog_record(r->owner))
                DIALOG_TABLE.active = r->owner;
        }
    }
    return 0;
}

}  // namespace

DialogRecord* dialog_record(HWND dialog)
{
    return dialog ? reinterpret_cast<DialogRecord*>(GetWindowLongPtrA(dialog, DWLP_USER)) : nullptr;
}

FieldRecord* field_record(HWND field)
{
    auto it = FIELD_RECORDS.find(field);
    return it == FIELD_RECORDS.end() ? nullptr : it->second.get();
}

FieldRecord& make_field_record(HWND field)
{
    auto& p = FIELD_RECORDS[field];
    if (!p)
        p = std::make_unique<FieldRecord>();
    return *p;
}

void free_field_record(HWND field)
{
    FIELD_RECORDS.erase(field);
}

HWND current_dialog_window()
{
    int s = DIALOG_TABLE.current_slot;
    return s >= 1 && s <= DIALOG_TABLE.count ? DIALOG_TABLE.loaded[s] : nullptr;
}

int WDialogSlotFromId(int id)
{
    for (int s = 0; s <= DIALOG_TABLE.count; ++s) {
        HWND w = s == 0 ? DIALOG_TABLE.modal : DIALOG_TABLE.loaded[s];
        DialogRecord* r = dialog_record(w);
        if (r && r->id == id)
            return s;
    }
    return -1;
}

void dialog_unload_combined(HWND dlg)
{
    DialogRecord* r = dialog_record(dlg);
    if (!r)
        return;
    r->combined = nullptr;
    for (int slot = 1; slot <= DIALOG_TABLE.count; ++slot) {
        if (DIALOG_TABLE.loaded[slot] != dlg)
            continue;
        if (DIALOG_TABLE.current_id == r->id)
            DIALOG_TABLE.current_id = 0;
        WDialogDestroy(0, slot);
        return;
    }
}

void dialogs_close_down()
{
    // Pages first go back under the main window, so that each dialog is destroyed exactly once.
    for (int s = 1; s <= DIALOG_TABLE.count; ++s)
        detach_pages(DIALOG_TABLE.loaded[s]);
    for (int s = DIALOG_TABLE.count; s >= 1; --s) {
        HWND dlg = DIALOG_TABLE.loaded[s];
        DialogRecord* record = dialog_record(dlg);
        DestroyWindow(dlg);
        delete record;
    }
    DIALOG_TABLE = DialogTable{};
    WIN_ACTIVE_DIALOG = nullptr;
}

void WDialogLoad(int dialog)
{
    int id = dialog;
    WDialogCreate(id, 0);
    if (id < 0) {
        IErrorReport(ERR_DIALOG_LOAD);
        return;
    }
    DIALOG_TABLE.current_id = dialog;
}

void WDialogSelect(int dialog)
{
    int slot = WDialogSlotFromId(dialog);
    if (slot < 1) {
        IErrorReport(ERR_DIALOG_SELECT);
        return;
    }
    DIALOG_TABLE.current_slot = slot;
    DIALOG_TABLE.current_id = dialog;
}

void WDialogHide()
{
    if (!current_dialog_window()) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    if (WDialogHideSlot(0) == -1)
        IErrorReport(ERR_DIALOG_COMBINED);
}

void WDialogUnload(int flag)
{
    if (!current_dialog_window()) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    if (WDialogHideSlot(0) == -1) {
        IErrorReport(ERR_DIALOG_COMBINED);
        return;
    }
    WDialogDestroy(flag, 0);
    DIALOG_TABLE.current_id = 0;
}

bool is_numeric_class(HWND field)
{
    bool spin = false;
    return numeric_kind(field, spin) != 0;
}

int numeric_kind(HWND field, bool& spin)
{
    std::string c = class_of(field);
    spin = c.size() > 4 && c.compare(c.size() - 4, 4, "SPIN") == 0;
    if (c == "INTEGEREDIT" || c == "INTEGERSPIN")
        return FK_INTEGER;
    if (c == "REALEDIT" || c == "REALSPIN")
        return FK_REAL;
    if (c == "DOUBLEEDIT" || c == "DOUBLESPIN")
        return FK_DOUBLE;
    spin = false;
    return 0;
}

int WDialogFieldKindOf(HWND f)
{
    bool spin = false;
    if (int k = numeric_kind(f, spin))
        return k;
    std::string c = class_of(f);
    LONG style = GetWindowLongA(f, GWL_STYLE);
    if (lstrcmpiA(c.c_str(), "STATIC") == 0) {
        int t = style & SS_TYPEMASK;
        return (t == SS_LEFT || t == SS_CENTER || t == SS_RIGHT || t == SS_SIMPLE || t == SS_LEFTNOWORDWRAP)
                   ? FK_STATIC_TEXT
                   : FK_STATIC;
    }
    if (lstrcmpiA(c.c_str(), "EDIT") == 0)
        return FK_EDIT;
    if (lstrcmpiA(c.c_str(), "BUTTON") == 0) {
        int t = style & BS_TYPEMASK;
        if (t == BS_GROUPBOX)
            return FK_GROUP;
        if (t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE)
            return FK_CHECK;
        if (t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON)
            return FK_RADIO;
        return FK_BUTTON;
    }
    if (lstrcmpiA(c.c_str(), "COMBOBOX") == 0)
        return FK_COMBO;
    if (lstrcmpiA(c.c_str(), "LISTBOX") == 0)
        return FK_LIST;
    if (lstrcmpiA(c.c_str(), WC_TABCONTROLA) == 0)
        return FK_TAB;
    if (lstrcmpiA(c.c_str(), PROGRESS_CLASSA) == 0)
        return FK_PROGRESS;
    if (lstrcmpiA(c.c_str(), TRACKBAR_CLASSA) == 0)
        return FK_TRACKBAR;
    if (lstrcmpiA(c.c_str(), WC_TREEVIEWA) == 0)
        return FK_TREE;
    if (is_grid_field(f))
        return FK_GRID;
    return FK_NONE;
}
