// uidriver.exe: drives the program's windows and dialogs as a person would, for end-to-end tests
// under Wine. It runs a list of steps given on the command line and stops at the first that fails,
// with exit status 1 and a line on standard error saying which step failed and why. `--help` lists the
// steps (the table STEPS below).
//
// A control is named by its id: a number, or a name from resources/dialog_ids.h (IDC_...), or one of
// the platform's button ids (IDOK, IDCANCEL, IDYES, IDNO) or IDC_MESSAGE_TEXT, the text of a message box.
#include "resources/dialog_ids.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

HWND target = nullptr;
PROCESS_INFORMATION started = {};

// ---- control ids by name

struct IdName {
    const char* name;
    int id;
};

constexpr IdName ID_NAMES[] = {
#include "dialog_id_names.inc"     // {"IDC_...", IDC_...} for every id of resources/dialog_ids.h
    {"IDOK", IDOK},                // the platform's buttons: OK,
    {"IDCANCEL", IDCANCEL},        // Cancel,
    {"IDYES", IDYES},              // Yes,
    {"IDNO", IDNO},                // No
    {"IDC_MESSAGE_TEXT", 0xFFFF},  // the static text of a standard message box
};

[[noreturn]] void fail(const std::string& step, const std::string& why)
{
    std::fprintf(stderr, "uidriver: %s: %s\n", step.c_str(), why.c_str());
    std::exit(1);
}

bool is_number(const std::string& s)
{
    return !s.empty() && s.find_first_not_of("0123456789.") == std::string::npos;
}

// ---- the arguments of the steps

// The command line after the program's name, read one word at a time by the steps.
struct Arguments {
    std::vector<std::string> words;
    size_t next = 0;
    std::string step;  // the step being run, for its failure message

    bool more() const { return next < words.size(); }
    bool next_is_number() const { return more() && is_number(words[next]); }
    const std::string& word()
    {
        if (!more())
            fail(step, "missing argument");
        return words[next++];
    }
    int integer() { return std::atoi(word().c_str()); }
    // An optional number of seconds (a time-out), or the fallback.
    double seconds(double fallback) { return next_is_number() ? std::atof(words[next++].c_str()) : fallback; }
    // A control id, by number or by name.
    int id()
    {
        const std::string& text = word();
        if (is_number(text))
            return std::atoi(text.c_str());
        for (const IdName& n : ID_NAMES)
            if (text == n.name)
                return n.id;
        fail(step, "no control id is named " + text);
    }
};

// ---- windows

struct Finder {
    const char* title;
    HWND found;
};

BOOL CALLBACK find_visible(HWND hwnd, LPARAM lp)
{
    auto* f = reinterpret_cast<Finder*>(lp);
    char text[512];
    GetWindowTextA(hwnd, text, sizeof text);
    if (IsWindowVisible(hwnd) && std::string(text) == f->title) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND find_window(const char* title)
{
    Finder f = {title, nullptr};
    EnumWindows(find_visible, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

struct LabelFinder {
    const char* label;
    HWND dialog;
};

// A visible control whose text is the label, inside a visible dialog (class #32770).
BOOL CALLBACK find_label_in(HWND hwnd, LPARAM lp)
{
    auto* f = reinterpret_cast<LabelFinder*>(lp);
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    HWND parent = GetParent(hwnd);
    char cls[16] = {};
    if (parent)
        GetClassNameA(parent, cls, sizeof cls);
    if (parent && IsWindowVisible(hwnd) && IsWindowVisible(parent) && lstrcmpA(cls, "#32770") == 0 &&
        std::string(text) == f->label) {
        f->dialog = parent;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK find_label(HWND top, LPARAM lp)
{
    auto* f = reinterpret_cast<LabelFinder*>(lp);
    if (IsWindowVisible(top))
        EnumChildWindows(top, find_label_in, lp);
    return f->dialog ? FALSE : TRUE;
}

HWND find_dialog_by_label(const char* label)
{
    LabelFinder f = {label, nullptr};
    EnumWindows(find_label, reinterpret_cast<LPARAM>(&f));
    return f.dialog;
}

HWND need_target(const Arguments& a)
{
    if (!target)
        fail(a.step, "no window: use wait or dialog first");
    return target;
}

HWND control(const Arguments& a, int id)
{
    HWND c = GetDlgItem(need_target(a), id);
    if (!c)
        fail(a.step, "no control with id " + std::to_string(id));
    return c;
}

LRESULT send(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    DWORD_PTR r = 0;
    SendMessageTimeoutA(hwnd, message, wp, lp, SMTO_ABORTIFHUNG, 5000, &r);
    return static_cast<LRESULT>(r);
}

// Waits up to `seconds` until `done` holds; false when the time ran out.
template <class Done>
bool await(double seconds, Done done)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    while (!done()) {
        if (static_cast<LONG>(GetTickCount() - end) > 0)
            return false;
        Sleep(100);
    }
    return true;
}

// ---- the steps, in the order of the help text

void step_start(Arguments& a)
{
    const std::string exe = a.word();
    std::string cmd = "\"" + exe + "\"";
    if (a.more() && a.words[a.next] != "wait")
        cmd += " " + a.word();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &started))
        fail(a.step, "cannot start " + exe + ", error " + std::to_string(GetLastError()));
}

void step_wait(Arguments& a)
{
    const std::string title = a.word();
    HWND found = nullptr;
    if (!await(a.seconds(30), [&] { return (found = find_window(title.c_str())) != nullptr; }))
        fail(a.step, "timed out on \"" + title + "\"");
    target = found;
}

void step_gone(Arguments& a)
{
    const std::string title = a.word();
    if (!await(a.seconds(30), [&] { return find_window(title.c_str()) == nullptr; }))
        fail(a.step, "timed out on \"" + title + "\"");
}

void step_dialog(Arguments& a)
{
    const std::string label = a.word();
    if (!await(a.seconds(30), [&] { return (target = find_dialog_by_label(label.c_str())) != nullptr; }))
        fail(a.step, "no dialog shows \"" + label + "\"");
}

void step_rect(Arguments& a)
{
    RECT r;
    GetWindowRect(need_target(a), &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    std::fflush(stdout);
}

void step_press(Arguments& a)
{
    const int id = a.id();
    HWND c = control(a, id);
    PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c));
}

// The effect of a click on a radio button: it is checked, the rest of its group unchecked, and the
// dialog is told. (BM_CLICK from another process depends on mouse capture, which a window without the
// input focus may not get.)
void step_radio(Arguments& a)
{
    const int id = a.id();
    HWND c = control(a, id);
    HWND first = c;
    while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
        HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev)
            break;
        first = prev;
    }
    for (HWND b = first; b; b = GetWindow(b, GW_HWNDNEXT)) {
        if (b != first && (GetWindowLongA(b, GWL_STYLE) & WS_GROUP))
            break;
        char cls[16] = {};
        GetClassNameA(b, cls, sizeof cls);
        if (lstrcmpiA(cls, "BUTTON") == 0)
            send(b, BM_SETCHECK, b == c ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c));
}

void step_check(Arguments& a)
{
    HWND c = control(a, a.id());
    send(c, BM_SETCHECK, a.integer() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void step_select(Arguments& a)
{
    const int id = a.id();
    HWND c = control(a, id);
    const int item = a.integer();
    char cls[16] = {};
    GetClassNameA(c, cls, sizeof cls);
    const bool combo = lstrcmpiA(cls, "ComboBox") == 0;
    send(c, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(item - 1), 0);
    PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(c));
}

void step_set(Arguments& a)
{
    HWND c = control(a, a.id());
    const std::string text = a.word();
    send(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    send(c, EM_SETMODIFY, TRUE, 0);  // as typed: the edit control counts as changed by the user
}

void step_get(Arguments& a)
{
    HWND c = control(a, a.id());
    char text[1024] = {};
    send(c, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void step_state(Arguments& a)
{
    HWND c = control(a, a.id());
    std::printf("%d\n", send(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    std::fflush(stdout);
}

void step_click(Arguments& a)
{
    need_target(a);
    const std::string button = a.word();
    const int x = a.integer(), y = a.integer();
    if ((button != "left" && button != "right") || x < 0 || x > 9999 || y < 0 || y > 9999)
        fail(a.step, "expected left or right and a position in 0..9999");
    // The window that shows the client area: the deepest one at the middle of the frame's client.
    RECT area;
    GetClientRect(target, &area);
    POINT middle = {area.right / 2, area.bottom / 2};
    ClientToScreen(target, &middle);
    HWND client = WindowFromPoint(middle);
    if (!client || (client != target && !IsChild(target, client)))
        client = target;
    GetClientRect(client, &area);
    const LPARAM at = MAKELPARAM(static_cast<int>(static_cast<long long>(x) * (area.right - 1) / 9999),
                                 static_cast<int>(static_cast<long long>(y) * (area.bottom - 1) / 9999));
    const bool left = button == "left";
    PostMessageA(client, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at);
    PostMessageA(client, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
}

void step_close(Arguments& a)
{
    PostMessageA(need_target(a), WM_CLOSE, 0, 0);
}

void step_key(Arguments& a)
{
    need_target(a);
    const WORD vk = static_cast<WORD>(a.integer());
    SetForegroundWindow(target);
    Sleep(100);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, in, sizeof(INPUT)) != 2)
        fail(a.step, "the key was not sent");
}

void step_drag(Arguments& a)
{
    need_target(a);
    const int button = a.integer();
    POINT from, to;
    from.x = a.integer();
    from.y = a.integer();
    to.x = a.integer();
    to.y = a.integer();
    const DWORD down = button == 3   ? MOUSEEVENTF_RIGHTDOWN
                       : button == 2 ? MOUSEEVENTF_MIDDLEDOWN
                                     : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = button == 3   ? MOUSEEVENTF_RIGHTUP
                     : button == 2 ? MOUSEEVENTF_MIDDLEUP
                                   : MOUSEEVENTF_LEFTUP;
    ClientToScreen(target, &from);
    ClientToScreen(target, &to);
    SetForegroundWindow(target);
    auto event = [](DWORD flags) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        SendInput(1, &in, sizeof(INPUT));
    };
    SetCursorPos(from.x, from.y);
    Sleep(100);
    event(down);
    constexpr int STEPS = 5;
    for (int k = 1; k <= STEPS; ++k) {
        Sleep(50);
        SetCursorPos(from.x + (to.x - from.x) * k / STEPS, from.y + (to.y - from.y) * k / STEPS);
        event(MOUSEEVENTF_MOVE);
    }
    Sleep(50);
    event(up);
}

void step_file(Arguments& a)
{
    const std::string path = a.word();
    if (!await(a.seconds(30), [&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        fail(a.step, "timed out waiting for " + path);
}

void step_sleep(Arguments& a)
{
    Sleep(static_cast<DWORD>(a.integer()));
}

void step_exit(Arguments& a)
{
    const double secs = a.seconds(30);
    if (!started.hProcess)
        fail(a.step, "no program started");
    if (WaitForSingleObject(started.hProcess, static_cast<DWORD>(secs * 1000)) != WAIT_OBJECT_0)
        fail(a.step, "the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(started.hProcess, &code);
    if (a.next_is_number()) {
        const DWORD want = static_cast<DWORD>(a.integer());
        if (code != want)
            fail(a.step, "exit status " + std::to_string(code) + ", expected " + std::to_string(want));
    }
}

void step_kill(Arguments&)
{
    if (started.hProcess)
        TerminateProcess(started.hProcess, 1);
}

struct Step {
    const char* name;
    const char* arguments;
    const char* help;
    void (*run)(Arguments&);
};

constexpr Step STEPS[] = {
    {"start", "<program> [argument]", "start a program (its folder is the working folder)", step_start},
    {"wait", "<title> [seconds]",
     "wait until a visible top-level window with this title exists; it becomes the window of the "
     "following steps (default 30 s)",
     step_wait},
    {"gone", "<title> [seconds]", "wait until no visible window with this title exists", step_gone},
    {"dialog", "<label> [seconds]",
     "wait until a visible dialog, caption-less or a child window too, shows a control with this text; "
     "that dialog becomes the window",
     step_dialog},
    {"rect", "", "print the window's screen rectangle: left top right bottom", step_rect},
    {"press", "<id>", "press the push button with this control id", step_press},
    {"radio", "<id>", "select the radio button with this control id", step_radio},
    {"check", "<id> <0|1>", "set a check box", step_check},
    {"select", "<id> <item>", "select item 1, 2, ... of a list or combo box (the dialog is told)",
     step_select},
    {"set", "<id> <text>", "set the text of an edit field, as typed (the field is modified)", step_set},
    {"get", "<id>", "print the text of a field to standard output", step_get},
    {"state", "<id>", "print the check state of a check box or radio button (0 or 1)", step_state},
    {"click", "<left|right> <x> <y>",
     "press and release a mouse button at (x, y) in 0..9999 units of the window's client area (0, 0 top "
     "left), on the window found there",
     step_click},
    {"close", "", "ask the window to close (as its close box does)", step_close},
    {"key", "<virtual key code>", "press and release a key in the window (38 up, 37 left ...)", step_key},
    {"drag", "<button> <x1> <y1> <x2> <y2>",
     "press mouse button 1 (left), 2 (middle) or 3 (right) at client pixel (x1, y1) of the window, move "
     "to (x2, y2) in steps and release there",
     step_drag},
    {"file", "<path> [seconds]", "wait until a file exists", step_file},
    {"sleep", "<milliseconds>", "wait", step_sleep},
    {"exit", "[seconds] [status]", "wait until the started program ends (and check its status)", step_exit},
    {"kill", "", "end the started program", step_kill},
};

void print_help()
{
    std::printf("Usage: uidriver.exe <step> [arguments] <step> [arguments] ...\n"
                "Runs the steps in order; stops with status 1 at the first that fails.\n"
                "An <id> is a number or a name from resources/dialog_ids.h (IDC_...), IDOK, IDCANCEL,\n"
                "IDYES, IDNO or IDC_MESSAGE_TEXT (the text of a message box).\n\nSteps:\n");
    for (const Step& s : STEPS) {
        std::printf("  %s %s\n", s.name, s.arguments);
        // The help text in lines of at most 96 characters, indented by 6.
        std::string line;
        for (const char* at = s.help; *at;) {
            const char* end = at;
            while (*end && *end != ' ')
                ++end;
            const std::string word(at, end);
            if (!line.empty() && line.size() + 1 + word.size() > 90) {
                std::printf("      %s\n", line.c_str());
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word;
            at = *end ? end + 1 : end;
        }
        std::printf("      %s\n", line.c_str());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments a;
    a.words.assign(argv + 1, argv + argc);
    if (a.words.size() == 1 && (a.words[0] == "--help" || a.words[0] == "-h")) {
        print_help();
        return 0;
    }
    while (a.more()) {
        a.step = a.word();
        const Step* found = nullptr;
        for (const Step& s : STEPS)
            if (a.step == s.name)
                found = &s;
        if (!found)
            fail(a.step, "unknown step (uidriver.exe --help lists the steps)");
        found->run(a);
    }
    return 0;
}
