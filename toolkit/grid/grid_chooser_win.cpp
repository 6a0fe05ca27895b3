// The file chooser that starts in the directory of a file name and puts the current directory back,
// the grid editor's file-name prompt, and small dialog helpers.
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_exchange.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_snapshot_win.h"
#include "toolkit/win/window_utilities.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr int DIRECTORY_LENGTH = 256;
constexpr int FILTER_LENGTH = 1000;

std::string trimmed(std::string_view text)
{
    return std::string(str_trim(text.substr(0, text.find('\0'))));
}

}  // namespace

void WSelectFile(int filter_id, std::string_view filter, int options, std::string& file,
                 std::string_view title, int& filter_index, int snapshot)
{
    int error = 0;
    if (snapshot) {
        WWinSnapshot(1, -1, error);
        if (error != 0)
            IErrorReport(error);
    }
    std::string directory = file, name;
    IOsSplitPath(directory, name);
    directory = directory.substr(0, DIRECTORY_LENGTH);
    std::string current;
    int dir_error = 0, truncated = 0;
    IOsDirGet(current, DIRECTORY_LENGTH, dir_error, truncated);
    if (directory.empty())
        directory = current;
    std::string work = name;
    // The chooser's buffer: the caller's name's length, at least a full path.
    work.resize(std::max({file.size(), work.size(), static_cast<size_t>(MAX_PATH)}), ' ');
    std::string chooser_title = trimmed(title).substr(0, DIRECTORY_LENGTH);
    if (chooser_title.empty())
        chooser_title = "Select File";

    FileSelectRequest q;
    q.filter_id = filter_id;
    q.save = options & 1;
    q.prompt = (options >> 1) & 1;
    q.path_may_be_missing = (options >> 2) & 1;
    q.multiple = (options & 1) ? 0 : (options >> 4) & 1;
    q.default_extension = (options >> 5) & 1;
    q.must_exist = (options >> 7) & 1;
    q.title = chooser_title;
    q.initial_directory = directory;
    q.filter_text = filter;
    int success = 0, common_error = 0;
    WDialogFileSelect(q, filter_index, work, success, common_error);
    if (success == 1) {
        // Several files come back as the directory and the names, separated by NULs.
        size_t end = q.multiple ? work.find(std::string("\0\0", 2)) : work.find('\0');
        std::string chosen = work.substr(0, end);
        chosen.erase(chosen.find_last_not_of(' ') + 1);
        if (!chosen.empty())
            file = chosen;
    } else if (common_error > 0) {
        IErrorReport(ERR_COMMON_DIALOG);
    }
    if (!(options & 8) && !current.empty())
        IOsDirSet(current, dir_error);
    if (snapshot)
        WWinSnapshot(0, -1, error);
    DIALOG_RESULTS.focus_field = 0;
}

void WGridEdFileName(std::string_view filter, int options, std::string& file, std::string_view title,
                     int* filter_index)
{
    std::string t(title.substr(0, 260));
    int index = filter_index ? *filter_index : 1;
    std::string f(filter.substr(0, filter.find('\0')));
    f.erase(f.find_last_not_of(' ') + 1);
    if (f.size() > FILTER_LENGTH)
        f.resize(FILTER_LENGTH);
    WSelectFile(-1, f, options, file, t, index, 1);
    if (filter_index)
        *filter_index = index;
}

void WDialogTitle(std::string_view title)
{
    WDialogSetTitle(trimmed(title));
}

// Shows the current dialog at the screen origin kept by the dialog layer (not in mode 1).
void WDialogShowAtOrigin(int focus_field, int mode)
{
    int x = 0, y = 0;
    WDialogScreenOrigin(x, y);
    WDialogShow(-1, -1, focus_field, mode);
    if (HWND dlg = current_dialog_window(); dlg && mode != 1)
        SetWindowPos(dlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WDialogGetTextLength(int field, int& length)
{
    if (!current_dialog_window()) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    if (!GetDlgItem(current_dialog_window(), field)) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    WDialogFieldTextLength(field, length);
}

// Fills a list field with options and selects one; a combo box given option 0 and a text selects that text.
void WDialogPutMenu(int field, const std::string* options, int count, int option, const std::string* text)
{
    if (!current_dialog_window()) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    const int kind = WDialogListKind(field);
    if (kind == 0 || kind == 4) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    int id = field;
    WDialogFieldClear(id);
    for (int i = 0; i < count; ++i)
        WDialogListAdd(field, trimmed(options[i]));
    if (text && kind == 3 && option == 0) {
        WDialogComboSelectText(field, trimmed(*text));
        return;
    }
    if (!WDialogListSelect(field, option - 1))
        IErrorReport(ERR_OPTION);
}

// "ON" and "OFF" (any case) switch the beep; any other text beeps now.
void IOsBeepControl(std::string_view text)
{
    std::string head(text.substr(0, 3));
    head.resize(3, ' ');  // the text as a blank-padded field of three characters
    IStrUpper(head);
    if (head == "ON ")
        IOsBeepEnable(1);
    else if (head == "OFF")
        IOsBeepEnable(0);
    else
        IOsBeepNow();
}
