// The toolkit's directory chooser: a dialog (template IDD_DIRECTORY_CHOOSER) with the path, the list of
// the sub-directories of the current directory and the list of drives. Listing a path makes it the
// process's current directory.
#include "resources/dialog_ids.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/common_dialogs_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/window_table_win.h"

#include <string>

namespace {

constexpr int ENTRY_HEIGHT_UNITS = 8;  // dialog units

struct DirectoryChooser {
    std::string directory;  // in: the start; out: the chosen directory
    std::string title;
    bool has_title = false;
    int options = 0;
};

std::string trimmed(std::string_view s)
{
    size_t end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

std::string window_text(HWND w)
{
    int n = GetWindowTextLengthA(w);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(w, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

std::string list_entry(HWND list, int index)
{
    LRESULT n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(n));
    return text;
}

// "[name]" as the list holds a directory, without its brackets.
std::string without_brackets(const std::string& entry)
{
    if (entry.size() >= 2 && entry.front() == '[' && entry.back() == ']')
        return entry.substr(1, entry.size() - 2);
    return entry;
}

// Lists a path: its sub-directories, the current directory in the path field, the drives. A missing
// path is created (on request), accepted unlisted, or refused with a message, by the options. Returns
// whether the path may be taken.
bool list_directory(HWND dlg, int options, const std::string& path_in)
{
    std::string path = trimmed(path_in);
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (options & DIRECTORY_OFFER_CREATE) {
            int answer =
                MessageBoxA(dlg, "The specified directory does not exist.\nDo you wish to create it?",
                            "Create Directory?", MB_YESNO | MB_ICONQUESTION);
            if (answer != IDYES)
                return false;
            if (!CreateDirectoryA(path.c_str(), nullptr) || !SetCurrentDirectoryA(path.c_str())) {
                MessageBoxA(dlg, "An error occured creating\nthe specified directory.", "Error", MB_OK);
                return false;
            }
            // Assigned from a string, not a literal: from a literal GCC 12 warns of an overlap that cannot
            // occur.
            path = std::string(".");
        } else if (options & DIRECTORY_ACCEPT_MISSING) {
            return true;
        } else {
            MessageBoxA(dlg, "The specified directory does not exist.\nSpecify a valid directory.",
                        "Invalid Directory", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    // The system's listing changes into the directory and lists its sub-directories as "[name]".
    char pattern[MAX_PATH + 1] = {};
    lstrcpynA(pattern, path.c_str(), MAX_PATH);
    if (!DlgDirListA(dlg, pattern, IDC_DIRECTORY_LIST, 0, DDL_DIRECTORY | DDL_EXCLUSIVE))
        return false;
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetDlgItemTextA(dlg, IDC_DIRECTORY_PATH, current);
    char drives[8] = "*";
    DlgDirListComboBoxA(dlg, drives, IDC_DIRECTORY_DRIVES, 0, DDL_DRIVES | DDL_EXCLUSIVE);
    char prefix[4] = {'[', '-', current[0], '\0'};
    LRESULT drive = SendDlgItemMessageA(dlg, IDC_DIRECTORY_DRIVES, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(prefix));
    if (drive != CB_ERR)
        SendDlgItemMessageA(dlg, IDC_DIRECTORY_DRIVES, CB_SETCURSEL, static_cast<WPARAM>(drive), 0);
    SendDlgItemMessageA(dlg, IDC_DIRECTORY_LIST, LB_SETCURSEL, 0, 0);
    return true;
}

// Enters the selected directory of the list; false without a selection.
bool enter_selected(HWND dlg, int options)
{
    HWND list = GetDlgItem(dlg, IDC_DIRECTORY_LIST);
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return false;
    list_directory(dlg, options, without_brackets(list_entry(list, static_cast<int>(index))));
    return true;
}

// Entries without their brackets, in the highlight colours when selected, 2 pixels in.
void draw_entry(const DRAWITEMSTRUCT& d)
{
    if (d.itemID == static_cast<UINT>(-1))
        return;
    std::string text = without_brackets(list_entry(d.hwndItem, static_cast<int>(d.itemID)));
    bool selected = (d.itemState & ODS_SELECTED) != 0;
    COLORREF old_text = SetTextColor(d.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    COLORREF old_back = SetBkColor(d.hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ExtTextOutA(d.hDC, d.rcItem.left + 2, d.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &d.rcItem, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    SetTextColor(d.hDC, old_text);
    SetBkColor(d.hDC, old_back);
}

INT_PTR CALLBACK directory_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* c = reinterpret_cast<DirectoryChooser*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        c = reinterpret_cast<DirectoryChooser*>(lp);
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
        if (c->has_title)
            SetWindowTextA(dlg, c->title.c_str());
        if (!list_directory(dlg, c->options, c->directory))
            SetDlgItemTextA(dlg, IDC_DIRECTORY_PATH, trimmed(c->directory).c_str());
        return TRUE;
    case WM_MEASUREITEM: {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (m->CtlID != IDC_DIRECTORY_LIST)
            return FALSE;
        RECT r = {0, 0, 0, ENTRY_HEIGHT_UNITS};
        MapDialogRect(dlg, &r);
        m->itemHeight = static_cast<UINT>(r.bottom);
        return TRUE;
    }
    case WM_DRAWITEM:
        if (wp != IDC_DIRECTORY_LIST)
            return FALSE;
        draw_entry(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_COMMAND:
        if (!c)
            return FALSE;
        switch (LOWORD(wp)) {
        case IDC_DIRECTORY_LIST:
            if (HIWORD(wp) == LBN_DBLCLK)
                enter_selected(dlg, c->options);
            return TRUE;
        case IDC_DIRECTORY_DRIVES:
            if (HIWORD(wp) == CBN_SELCHANGE) {
                char drive[MAX_PATH + 1] = {};
                DlgDirSelectComboBoxExA(dlg, drive, MAX_PATH, IDC_DIRECTORY_DRIVES);
                list_directory(dlg, c->options, drive);
            }
            return TRUE;
        case IDOK:
            if (GetFocus() == GetDlgItem(dlg, IDC_DIRECTORY_LIST) && enter_selected(dlg, c->options))
                return TRUE;
            {
                std::string path = window_text(GetDlgItem(dlg, IDC_DIRECTORY_PATH));
                if (list_directory(dlg, c->options, path)) {
                    c->directory = window_text(GetDlgItem(dlg, IDC_DIRECTORY_PATH));
                    EndDialog(dlg, 1);
                }
            }
            return TRUE;
        case IDCANCEL: EndDialog(dlg, 2); return TRUE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

}  // namespace

void WDialogSelectDirectory(int title_present, int& result, int options, std::string& directory,
                            std::string_view title)
{
    DirectoryChooser c;
    c.directory = trimmed(directory);
    c.has_title = title_present == 1;
    c.title = trimmed(title);
    c.options = options;
    HWND owner = common_dialog_owner();
    WWinDisableOthers(owner, true);
    INT_PTR answer = DialogBoxParamA(WIN_TABLE.instance ? WIN_TABLE.instance : GetModuleHandleA(nullptr),
                                     MAKEINTRESOURCEA(IDD_DIRECTORY_CHOOSER), owner, directory_proc,
                                     reinterpret_cast<LPARAM>(&c));
    WWinEnableOthers(owner, true);
    result = static_cast<int>(answer);
    if (answer == 1) {
        size_t length = directory.size();
        directory = c.directory.substr(0, length);
        directory.resize(length, ' ');
    }
}
