// Message boxes: the button sets, icons and default buttons of the toolkit, with the program's own
// windows disabled around the box. The answer is kept in DialogResults.
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_snapshot_win.h"
#include "toolkit/win/window_table_win.h"

#include <string>

namespace {

std::string trimmed(std::string_view s)
{
    std::string t(s);
    t.erase(t.find_last_not_of(' ') + 1);
    return t;
}

}  // namespace

// The system style of a button set, icon and default button.
unsigned message_box_style(int buttons, int icon, int default_button)
{
    unsigned style = MB_OK;
    switch (buttons) {
    case 1: style = MB_OKCANCEL; break;
    case 2: style = MB_RETRYCANCEL; break;
    case 3: style = MB_YESNO; break;
    case 4: style = MB_YESNOCANCEL; break;
    case 5: style = MB_ABORTRETRYIGNORE; break;
    default: break;
    }
    switch (icon) {
    case 1: style |= MB_ICONHAND; break;
    case 2: style |= MB_ICONQUESTION; break;
    case 3: style |= MB_ICONEXCLAMATION; break;
    case 4: style |= MB_ICONASTERISK; break;
    default: break;
    }
    // A default of 0 (or below) names no button, and a box whose caller chose none answers Enter with
    // its first button, as every system box does; so only a choice of the second or a later button
    // moves the default away from the first.
    if (default_button <= 1)
        style |= MB_DEFBUTTON1;
    else if (buttons >= 1 && buttons <= 3)
        style |= MB_DEFBUTTON2;
    else if (buttons == 4 || buttons == 5)
        style |= default_button == 2 ? MB_DEFBUTTON2 : MB_DEFBUTTON3;
    return style;
}

// The toolkit's answer to a system answer: 1 OK, Yes or Retry; 0 Cancel or Ignore; 2 No or Abort.
int message_box_answer(int system_answer)
{
    switch (system_answer) {
    case IDOK:
    case IDYES:
    case IDRETRY: return 1;
    case IDNO:
    case IDABORT: return 2;
    default: return 0;
    }
}

void WMessageBox(int buttons, int icon, int default_button, std::string_view text, std::string_view title)
{
    HWND owner = DIALOG_TABLE.active && IsWindowVisible(DIALOG_TABLE.active) ? DIALOG_TABLE.active
                                                                             : DIALOG_TABLE.default_owner;
    // A dialog combined with a window hands the ownership to that window.
    if (const DialogRecord* r = owner == DIALOG_TABLE.active ? dialog_record(owner) : nullptr;
        r && r->combined)
        owner = r->combined;
    // An owner that no longer exists would make the system refuse the box (it returns at once, unseen).
    if (!owner || !IsWindow(owner))
        owner = WIN_TABLE.slot[0].frame;
    int snapshot_error = 0;
    WWinSnapshot(1, -1, snapshot_error);
    if (snapshot_error)
        IErrorReport(snapshot_error);
    WWinDisableOthers(owner, true);
    int answer = MessageBoxA(owner, trimmed(text).c_str(), trimmed(title).c_str(),
                             message_box_style(buttons, icon, default_button) | MB_TASKMODAL);
    WWinEnableOthers(DIALOG_TABLE.last_semi_modeless ? DIALOG_TABLE.last_semi_modeless : owner, true);
    WWinSnapshot(0, -1, snapshot_error);
    DIALOG_RESULTS.message_box_answer = answer == 0 ? 0 : message_box_answer(answer);
    DIALOG_RESULTS.focus_field = 0;
}

int message_box_last_answer()
{
    return DIALOG_RESULTS.message_box_answer;
}

void WDialogModalResult(int option, int& value)
{
    switch (option) {
    case 1: value = DIALOG_RESULTS.exit_button; break;
    case 2: value = DIALOG_RESULTS.focus_field; break;
    case 3: value = DIALOG_RESULTS.dialog; break;
    default: value = 0; break;
    }
}
