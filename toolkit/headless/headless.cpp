// The headless stand-in's record and the windows, events and dialogs operations the core calls.
#include "toolkit/headless/headless.h"

#include "toolkit/headless/dialog_resources.h"
#include "toolkit/win/dialogs.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/win/number_text.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/os_utilities.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

HeadlessToolkit HEADLESS;

void HeadlessToolkit::reset()
{
    *this = HeadlessToolkit{};
}

int HeadlessToolkit::count(const std::string& prefix) const
{
    int n = 0;
    for (const auto& c : calls)
        n += c.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}

namespace {

void record(std::string line)
{
    if (HEADLESS.record_calls)
        HEADLESS.calls.push_back(std::move(line));
}

std::pair<int, int> key(int field)
{
    return {HEADLESS.current_dialog, field};
}

// A formatted write as the toolkit does it: "**********" when the value does not fit.
std::string formatted(double value, std::string_view format)
{
    std::string s;
    number_to_string(value, s, format);
    return s;
}

}  // namespace

// ---- messages

void WMsgPeek(int& type, WinMessage& message)
{
    message = WinMessage{};
    type = MsgNone;
    if (!HEADLESS.peek_types.empty()) {
        type = HEADLESS.peek_types.front();
        HEADLESS.peek_types.pop_front();
    } else if (HEADLESS.peek_hook) {
        type = HEADLESS.peek_hook();
    }
    if (type != MsgNone)
        record("WMsgPeek " + std::to_string(type));
}

void WMsgWait(int& type, WinMessage& message)
{
    message = WinMessage{};
    type = MsgCloseRequest;
    if (!HEADLESS.wait_types.empty()) {
        type = HEADLESS.wait_types.front();
        HEADLESS.wait_types.pop_front();
    } else if (HEADLESS.wait_hook) {
        HEADLESS.wait_hook(type, message);
    }
    record("WMsgWait " + std::to_string(type));
}

// ---- start-up and windows

void WInitialise(std::string_view settings_file)
{
    record("WInitialise " + std::string(settings_file));
}

int WInfoScreen(int option)
{
    return option == 1 ? HEADLESS.screen_width : 0;
}

void WWinOpen(const WinOpenRecord& r, int)
{
    record("WWinOpen " + std::to_string(r.width) + " " + std::to_string(r.height) + " |" + r.title + "|");
    HEADLESS.current_window = 0;
}

void WWinOpenChild(int& handle, int flags, int x, int y, int width, int height, std::string_view title)
{
    handle = 1;
    record("WWinOpenChild " + std::to_string(flags) + " " + std::to_string(x) + " " + std::to_string(y) +
           " " + std::to_string(width) + " " + std::to_string(height) + " |" + std::string(title) + "|");
    HEADLESS.current_window = handle;
}

void WWinSelect(int handle)
{
    record("WWinSelect " + std::to_string(handle));
    HEADLESS.current_window = handle;
}

void WWinRaise(int handle)
{
    record("WWinRaise " + std::to_string(handle));
    HEADLESS.current_window = handle;
}

void WWinCloseChild(int handle)
{
    record("WWinCloseChild " + std::to_string(handle));
    if (HEADLESS.current_window == handle)
        HEADLESS.current_window = 0;
}

void WWinClear()
{
    record("WWinClear");
}

void WGrRectangleClear(int x1, int y1, int x2, int y2)
{
    record("WGrRectangleClear " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) +
           " " + std::to_string(y2));
}

// ---- dialogs

void WDialogLoad(int dialog)
{
    const HeadlessDialogResource* r = headless_dialog_resource(dialog);
    if (!r) {
        HEADLESS.last_error = ERR_DIALOG_LOAD;
        record("WDialogLoad " + std::to_string(dialog) + " error 1007");
        return;
    }
    record("WDialogLoad " + std::to_string(dialog));
    HEADLESS.current_dialog = dialog;
    if (!HEADLESS.loaded_dialogs.insert(dialog).second || !r->learned)
        return;
    // A new dialog shows what its template and companion text give its fields; a script that set a
    // field before the load keeps its value.
    for (const auto& [field, value] : r->integers)
        HEADLESS.integers.emplace(key(field), value);
    for (const auto& [field, text] : r->texts)
        HEADLESS.texts.emplace(key(field), text);
    for (const auto& [field, state] : r->checks)
        HEADLESS.checks.emplace(key(field), state);
    for (const auto& [field, menu] : r->menus)
        if (menu.first > 0)
            HEADLESS.menus.emplace(key(field), menu.first);
    for (const std::vector<int>& group : r->radio_groups)
        for (size_t i = 0; i < group.size(); ++i)
            if (r->checks.count(group[i]) && r->checks.at(group[i]) == 1)
                for (int member : group)
                    HEADLESS.radio.emplace(key(member), static_cast<int>(i) + 1);
}

void WDialogSelect(int dialog)
{
    record("WDialogSelect " + std::to_string(dialog));
    HEADLESS.current_dialog = dialog;
}

void WDialogShow(int x, int y, int focus_field, int mode)
{
    if (mode == 1 && HEADLESS.show_hook)
        HEADLESS.show_hook(HEADLESS.current_dialog);
    // A modal show is where the user answers: the scripted answers of this dialog fill its fields.
    while (mode == 1 && !HEADLESS.answers.empty() &&
           HEADLESS.answers.front().dialog == HEADLESS.current_dialog) {
        const HeadlessToolkit::Answer a = HEADLESS.answers.front();
        HEADLESS.answers.pop_front();
        if (a.field == 0)
            break;  // the end of this show's answers
        HEADLESS.radio[key(a.field)] = a.value;
        HEADLESS.integers[key(a.field)] = a.value;
        HEADLESS.checks[key(a.field)] = a.value;
        HEADLESS.texts[key(a.field)] = std::to_string(a.value);  // what a real field then reads
    }
    record("WDialogShow " + std::to_string(HEADLESS.current_dialog) + " " + std::to_string(x) + " " +
           std::to_string(y) + " " + std::to_string(focus_field) + " " + std::to_string(mode));
}

void WDialogHide()
{
    record("WDialogHide " + std::to_string(HEADLESS.current_dialog));
}

void WDialogUnload(int)
{
    record("WDialogUnload " + std::to_string(HEADLESS.current_dialog));
    HEADLESS.loaded_dialogs.erase(HEADLESS.current_dialog);
    HEADLESS.current_dialog = 0;
}

void WDialogPutString(int field, std::string_view text)
{
    std::string t(text);
    t.erase(t.find_last_not_of(' ') + 1);
    HEADLESS.texts[key(field)] = t;
    record("WDialogPutString " + std::to_string(field) + " |" + t + "|");
}

void WDialogPutInteger(int field, int value)
{
    HEADLESS.integers[key(field)] = value;
    HEADLESS.texts[key(field)] = std::to_string(value);
    record("WDialogPutInteger " + std::to_string(field) + " " + std::to_string(value));
}

void WDialogGetInteger(int field, int& value)
{
    auto it = HEADLESS.integers.find(key(field));
    value = it == HEADLESS.integers.end() ? FIELD_EMPTY : it->second;
    record("WDialogGetInteger " + std::to_string(field) + " " + std::to_string(value));
}

void WDialogRangeInteger(int field, int minimum, int maximum)
{
    record("WDialogRangeInteger " + std::to_string(field) + " " + std::to_string(minimum) + " " +
           std::to_string(maximum));
}

void WDialogPutReal(int field, float value, std::string_view format)
{
    std::string t = formatted(value, format);
    t.erase(0, t.find_first_not_of(' '));
    HEADLESS.texts[key(field)] = t;
    record("WDialogPutReal " + std::to_string(field) + " |" + t + "|");
}

void WDialogPutDouble(int field, double value, std::string_view format)
{
    std::string t = formatted(value, format);
    t.erase(0, t.find_first_not_of(' '));
    HEADLESS.texts[key(field)] = t;
    record("WDialogPutDouble " + std::to_string(field) + " |" + t + "|");
}

void WDialogPutRadioButton(int field)
{
    HEADLESS.radio[key(field)] = 1;
    const HeadlessDialogResource* r = headless_dialog_resource(HEADLESS.current_dialog);
    if (r)
        for (const std::vector<int>& group : r->radio_groups)
            for (size_t i = 0; i < group.size(); ++i)
                if (group[i] == field)
                    for (int member : group)
                        HEADLESS.radio[key(member)] = static_cast<int>(i) + 1;
    record("WDialogPutRadioButton " + std::to_string(field));
}

void WDialogGetRadioButton(int field, int& position)
{
    auto it = HEADLESS.radio.find(key(field));
    position = it == HEADLESS.radio.end() ? FIELD_EMPTY : it->second;
    record("WDialogGetRadioButton " + std::to_string(field) + " " + std::to_string(position));
}

void WDialogPutCheckBox(int field, int state)
{
    HEADLESS.checks[key(field)] = state;
    record("WDialogPutCheckBox " + std::to_string(field) + " " + std::to_string(state));
}

void WDialogGetCheckBox(int field, int& state)
{
    auto it = HEADLESS.checks.find(key(field));
    state = it == HEADLESS.checks.end() ? 0 : it->second;
    record("WDialogGetCheckBox " + std::to_string(field) + " " + std::to_string(state));
}

void WDialogFieldState(int field, int state)
{
    HEADLESS.field_states[key(field)] = state;
    record("WDialogFieldState " + std::to_string(field) + " " + std::to_string(state));
}

void WDialogRangeProgressBar(int field, int minimum, int maximum)
{
    if (minimum < 0 || minimum >= maximum || maximum > 65535) {
        HEADLESS.last_error = ERR_PROGRESS_RANGE;
        record("WDialogRangeProgressBar error 1013");
        return;
    }
    record("WDialogRangeProgressBar " + std::to_string(field) + " " + std::to_string(minimum) + " " +
           std::to_string(maximum));
}

void WDialogPutProgressBar(int field, int value, int mode)
{
    int& bar = HEADLESS.progress[key(field)];
    bar = mode == 0 ? value : bar + value;
    // Progress moves are many and carry no meaning for a test beyond the final position.
}

void WDialogGetMenu(int field, int& option, std::string& text)
{
    auto it = HEADLESS.menus.find(key(field));
    option = it == HEADLESS.menus.end() ? FIELD_EMPTY : it->second;
    text.clear();
    const HeadlessDialogResource* r = headless_dialog_resource(HEADLESS.current_dialog);
    if (r && r->menus.count(field) && option >= 1 &&
        option <= static_cast<int>(r->menus.at(field).second.size()))
        text = r->menus.at(field).second[option - 1];
    if (option == FIELD_EMPTY)
        HEADLESS.last_error = ERR_EMPTY;
    record("WDialogGetMenu " + std::to_string(field) + " " + std::to_string(option));
}

void WDialogGetReal(int field, float& value)
{
    // The text the field shows, read as a number; an empty or unreadable text is -999.0 (error 1010).
    value = FIELD_EMPTY;
    auto it = HEADLESS.texts.find(key(field));
    if (it != HEADLESS.texts.end()) {
        char* end = nullptr;
        const float v = std::strtof(it->second.c_str(), &end);
        while (end && *end == ' ')
            ++end;
        if (end && end != it->second.c_str() && *end == '\0')
            value = v;
    }
    if (value == FIELD_EMPTY)
        HEADLESS.last_error = ERR_EMPTY;
    record("WDialogGetReal " + std::to_string(field) + " " + (it == HEADLESS.texts.end() ? "" : it->second));
}

void WMessageBox(int buttons, int icon, int default_button, std::string_view text, std::string_view title)
{
    record("WMessageBox " + std::to_string(buttons) + " " + std::to_string(icon) + " " +
           std::to_string(default_button) + " |" + std::string(text) + "|" + std::string(title) + "|");
}

// ---- operating system

void IOsPlatform(int& code)
{
    code = 4;  // the NT family
}

void IOsRunCommand(std::string_view command, int hide, int wait, int timeout, int& result, int* exit_status)
{
    record("IOsRunCommand " + std::to_string(hide) + " " + std::to_string(wait) + " " +
           std::to_string(timeout) + " |" + std::string(command) + "|");
    result = HEADLESS.command_result;
    if (exit_status)
        *exit_status = result == 32 ? HEADLESS.command_exit_status : 0;
}

void IOsDeleteFile(std::string_view path)
{
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(path), ec);
    record("IOsDeleteFile " + std::string(path));
}

void IOsCopyFile(std::string_view source, std::string_view target)
{
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(source), std::filesystem::path(target),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        HEADLESS.last_error = ERR_OPEN_FILE;
    record("IOsCopyFile " + std::string(source) + " " + std::string(target));
}
