// The host-build stand-in of the toolkit's entry operations: test equipment, not a toolkit.
//
// Every entry operation that the core calls appends one line to HEADLESS.calls ("WDialogLoad 107",
// "WMessageBox 0 4 1 |Initialization Complete|..."), keeps the value that a dialog field was given,
// and answers reads from the script: the message types that the polls and waits return, the integers,
// radio positions, list selections and check states that dialog fields hold. Nothing is drawn.
//
// A load of a dialog that no resource script defines fails with error 1007. The result displays'
// dialogs start as a user sees them (dialog_resources.h): their radio groups, the numbers in their
// spins, their list selections and check states; a radio put checks one button of its group.
#ifndef QR4T_TOOLKIT_HEADLESS_HEADLESS_H
#define QR4T_TOOLKIT_HEADLESS_HEADLESS_H

#include "toolkit/win/entry.h"

#include <deque>
#include <functional>
#include <set>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct HeadlessToolkit {
    // Record of the calls, one line each, in order.
    std::vector<std::string> calls;
    bool record_calls = true;  // long runs may switch the record off

    // Script: message types handed out by WMsgPeek (MsgNone when empty) and WMsgWait (MsgCloseRequest
    // when empty, so that a wait never blocks a test).
    std::deque<int> peek_types;
    // When set, WMsgPeek asks it for the type once peek_types is used up (a test tool's own script).
    std::function<int()> peek_hook;
    std::deque<int> wait_types;
    // When set, WMsgWait hands the message to it once wait_types is used up, starting as a close request:
    // it may change the type and the message words (a test's script of presses and of field changes
    // between two waits).
    std::function<void(int& type, WinMessage& message)> wait_hook;
    int screen_width = 1280;  // WInfoScreen(1)
    // IOsRunCommand answers: the runner's result (32 = the command ran to its end) and the command's
    // exit status. Nothing is run.
    int command_result = 32;
    int command_exit_status = 0;

    // Dialog fields: (dialog, field) -> value. Put operations write, get operations read; a get of a
    // field that holds nothing answers -999 like an empty field.
    std::map<std::pair<int, int>, std::string> texts;
    std::map<std::pair<int, int>, int> integers;
    std::map<std::pair<int, int>, int> radio;  // 1-based position of the checked button
    std::map<std::pair<int, int>, int> checks;
    std::map<std::pair<int, int>, int> progress;      // bar position
    std::map<std::pair<int, int>, int> menus;         // 1-based selected item of a list or combo field
    std::map<std::pair<int, int>, int> field_states;  // last WDialogFieldState: 0 disabled, 1 enabled ...

    // Answers of the user to modal dialogs, applied in order when a dialog is shown modal: the field
    // takes the value (a radio group's position, an integer, a check state; a real field reads it as its
    // text). An answer with field 0 ends the answers of one show: those after it go to the next show.
    struct Answer {
        int dialog;
        int field;
        int value;
    };
    std::deque<Answer> answers;
    // When set, called with the dialog's id as a modal show begins (what the user might do to files
    // while the dialog is up).
    std::function<void(int dialog)> show_hook;

    std::set<int> loaded_dialogs;
    int current_dialog = 0;
    int current_window = 0;
    int last_error = 0;
    int bitmaps_created = 0;  // off-screen bitmaps made so far; handles go round 1..20

    // Clears record, script and fields.
    void reset();
    // Number of recorded calls that begin with the given text.
    int count(const std::string& prefix) const;
};

extern HeadlessToolkit HEADLESS;

// WGrTextLength answers this many window units per character.
constexpr int HEADLESS_TEXT_CHARACTER_WIDTH = 60;

#endif
