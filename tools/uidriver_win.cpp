// uidriver.exe: drives the program's windows and dialogs as a person would, for end-to-end tests
// under Wine. It runs a list of steps given on the command line and stops at the first that fails,
// with exit status 1 and a line on standard error saying which step failed and why.
//
//   start <program> [argument]   start a program (its folder is the working folder)
//   wait <title> [seconds]       wait until a visible top-level window with this title exists; it
//                                becomes the window of the following steps (default 30 s)
//   gone <title> [seconds]       wait until no visible window with this title exists
//   dialog <label> [seconds]     wait until a visible dialog, caption-less or a child window too,
//                                shows a control with this text; that dialog becomes the window
//   rect                         print the window's screen rectangle: left top right bottom
//   press <id>                   press the push button with this control id
//   radio <id>                   select the radio button with this control id
//   check <id> <0|1>             set a check box
//   select <id> <item>           select item 1, 2, ... of a list or combo box (the dialog is told)
//   set <id> <text>              set the text of an edit field, as typed (the field is modified)
//   get <id>                     print the text of a field to standard output
//   click <left|right> <x> <y>   press and release a mouse button at (x, y) in 0..9999 units of the
//                                window's client area (0, 0 top left), on the window found there
//   state <id>                   print the check state of a check box or radio button (0 or 1)
//   close                        ask the window to close (as its close box does)
//   key <virtual key code>       press and release a key in the window (38 up, 37 left ...)
//   drag <button> <x1> <y1> <x2> <y2>
//                                press mouse button 1 (left), 2 (middle) or 3 (right) at client pixel
//                                (x1, y1) of the window, move to (x2, y2) in steps and release there
//   file <path> [seconds]        wait until a file exists
//   sleep <milliseconds>
//   exit [seconds] [status]      wait until the started program ends (and check its status)
//   kill                         end the started program
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

HWND target = nullptr;
PROCESS_INFORMATION started = {};

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

[[noreturn]] void fail(const std::string& step, const std::string& why)
{
    std::fprintf(stderr, "uidriver: %s: %s\n", step.c_str(), why.c_str());
    std::exit(1);
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

HWND control(const std::string& step, const char* id_text)
{
    if (!target)
        fail(step, "no window: use wait first");
    int id = std::atoi(id_text);
    HWND c = GetDlgItem(target, id);
    if (!c)
        fail(step, std::string("no control with id ") + id_text);
    return c;
}

double seconds_arg(const std::vector<std::string>& a, size_t i, double fallback)
{
    return i < a.size() ? std::atof(a[i].c_str()) : fallback;
}

bool is_number(const std::string& s)
{
    return !s.empty() && s.find_first_not_of("0123456789.") == std::string::npos;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    size_t i = 0;
    auto need = [&](const std::string& step, size_t n) {
        if (i + n > args.size())
            fail(step, "missing argument");
    };
    while (i < args.size()) {
        std::string step = args[i++];
        if (step == "start") {
            need(step, 1);
            std::string cmd = "\"" + args[i] + "\"";
            std::string exe = args[i++];
            if (i < args.size() && args[i] != "wait")
                cmd += " " + args[i++];
            STARTUPINFOA si = {};
            si.cb = sizeof si;
            if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                &started))
                fail(step, "cannot start " + exe + ", error " + std::to_string(GetLastError()));
        } else if (step == "wait" || step == "gone") {
            need(step, 1);
            std::string title = args[i++];
            double secs = 30;
            if (i < args.size() && is_number(args[i]))
                secs = seconds_arg(args, i++, 30);
            DWORD end = GetTickCount() + static_cast<DWORD>(secs * 1000);
            for (;;) {
                HWND h = find_window(title.c_str());
                if (step == "wait" && h) {
                    target = h;
                    break;
                }
                if (step == "gone" && !h)
                    break;
                if (static_cast<LONG>(GetTickCount() - end) > 0)
                    fail(step, "timed out on \"" + title + "\"");
                Sleep(100);
            }
        } else if (step == "dialog") {
            need(step, 1);
            std::string label = args[i++];
            double secs = 30;
            if (i < args.size() && is_number(args[i]))
                secs = seconds_arg(args, i++, 30);
            DWORD end = GetTickCount() + static_cast<DWORD>(secs * 1000);
            while (!(target = find_dialog_by_label(label.c_str()))) {
                if (static_cast<LONG>(GetTickCount() - end) > 0)
                    fail(step, "no dialog shows \"" + label + "\"");
                Sleep(100);
            }
        } else if (step == "rect") {
            if (!target)
                fail(step, "no window: use wait or dialog first");
            RECT r;
            GetWindowRect(target, &r);
            std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
            std::fflush(stdout);
        } else if (step == "select") {
            need(step, 2);
            HWND c = control(step, args[i].c_str());
            int id = std::atoi(args[i++].c_str());
            int item = std::atoi(args[i++].c_str());
            char cls[16] = {};
            GetClassNameA(c, cls, sizeof cls);
            const bool combo = lstrcmpiA(cls, "ComboBox") == 0;
            DWORD_PTR r = 0;
            SendMessageTimeoutA(c, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(item - 1), 0,
                                SMTO_ABORTIFHUNG, 5000, &r);
            PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(c));
        } else if (step == "press") {
            need(step, 1);
            HWND c = control(step, args[i].c_str());
            int id = std::atoi(args[i++].c_str());
            PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c));
        } else if (step == "radio") {
            // The effect of a click on a radio button: it is checked, the rest of its group unchecked,
            // and the dialog is told. (BM_CLICK from another process depends on mouse capture, which a
            // window without the input focus may not get.)
            need(step, 1);
            HWND c = control(step, args[i].c_str());
            int id = std::atoi(args[i++].c_str());
            HWND first = c;
            while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
                HWND prev = GetWindow(first, GW_HWNDPREV);
                if (!prev)
                    break;
                first = prev;
            }
            DWORD_PTR r = 0;
            for (HWND b = first; b; b = GetWindow(b, GW_HWNDNEXT)) {
                if (b != first && (GetWindowLongA(b, GWL_STYLE) & WS_GROUP))
                    break;
                char cls[16] = {};
                GetClassNameA(b, cls, sizeof cls);
                if (lstrcmpiA(cls, "BUTTON") != 0)
                    continue;
                SendMessageTimeoutA(b, BM_SETCHECK, b == c ? BST_CHECKED : BST_UNCHECKED, 0, SMTO_ABORTIFHUNG,
                                    5000, &r);
            }
            PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c));
        } else if (step == "check") {
            need(step, 2);
            HWND c = control(step, args[i++].c_str());
            int on = std::atoi(args[i++].c_str());
            DWORD_PTR r = 0;
            SendMessageTimeoutA(c, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0, SMTO_ABORTIFHUNG, 5000,
                                &r);
        } else if (step == "set") {
            need(step, 2);
            HWND c = control(step, args[i++].c_str());
            std::string text = args[i++];
            DWORD_PTR r = 0;
            SendMessageTimeoutA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                                5000, &r);
            // As typed: the edit control counts as changed by the user.
            SendMessageTimeoutA(c, EM_SETMODIFY, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &r);
        } else if (step == "get") {
            need(step, 1);
            HWND c = control(step, args[i++].c_str());
            char text[1024] = {};
            DWORD_PTR r = 0;
            SendMessageTimeoutA(c, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                5000, &r);
            std::printf("%s\n", text);
            std::fflush(stdout);
        } else if (step == "click") {
            need(step, 3);
            if (!target)
                fail(step, "no window: use wait first");
            const std::string button = args[i++];
            const int x = std::atoi(args[i++].c_str()), y = std::atoi(args[i++].c_str());
            if ((button != "left" && button != "right") || x < 0 || x > 9999 || y < 0 || y > 9999)
                fail(step, "expected left or right and a position in 0..9999");
            // The window that shows the client area: the deepest one at the middle of the frame's client.
            RECT area;
            GetClientRect(target, &area);
            POINT middle = {area.right / 2, area.bottom / 2};
            ClientToScreen(target, &middle);
            HWND client = WindowFromPoint(middle);
            if (!client || (client != target && !IsChild(target, client)))
                client = target;
            GetClientRect(client, &area);
            const LPARAM at =
                MAKELPARAM(static_cast<int>(static_cast<long long>(x) * (area.right - 1) / 9999),
                           static_cast<int>(static_cast<long long>(y) * (area.bottom - 1) / 9999));
            const bool left = button == "left";
            PostMessageA(client, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at);
            PostMessageA(client, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
        } else if (step == "state") {
            need(step, 1);
            HWND c = control(step, args[i++].c_str());
            DWORD_PTR r = 0;
            SendMessageTimeoutA(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
            std::printf("%d\n", r == BST_CHECKED ? 1 : 0);
            std::fflush(stdout);
        } else if (step == "close") {
            if (!target)
                fail(step, "no window: use wait first");
            PostMessageA(target, WM_CLOSE, 0, 0);
        } else if (step == "key") {
            need(step, 1);
            if (!target)
                fail(step, "no window: use wait first");
            const WORD vk = static_cast<WORD>(std::atoi(args[i++].c_str()));
            SetForegroundWindow(target);
            Sleep(100);
            INPUT in[2] = {};
            in[0].type = in[1].type = INPUT_KEYBOARD;
            in[0].ki.wVk = in[1].ki.wVk = vk;
            in[1].ki.dwFlags = KEYEVENTF_KEYUP;
            if (SendInput(2, in, sizeof(INPUT)) != 2)
                fail(step, "the key was not sent");
        } else if (step == "drag") {
            need(step, 5);
            if (!target)
                fail(step, "no window: use wait first");
            const int button = std::atoi(args[i++].c_str());
            POINT from = {std::atoi(args[i].c_str()), std::atoi(args[i + 1].c_str())};
            POINT to = {std::atoi(args[i + 2].c_str()), std::atoi(args[i + 3].c_str())};
            i += 4;
            const DWORD down = button == 3 ? MOUSEEVENTF_RIGHTDOWN : button == 2 ? MOUSEEVENTF_MIDDLEDOWN
                                                                                : MOUSEEVENTF_LEFTDOWN;
            const DWORD up = button == 3 ? MOUSEEVENTF_RIGHTUP : button == 2 ? MOUSEEVENTF_MIDDLEUP
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
        } else if (step == "file") {
            need(step, 1);
            std::string path = args[i++];
            double secs = 30;
            if (i < args.size() && is_number(args[i]))
                secs = seconds_arg(args, i++, 30);
            DWORD end = GetTickCount() + static_cast<DWORD>(secs * 1000);
            while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
                if (static_cast<LONG>(GetTickCount() - end) > 0)
                    fail(step, "timed out waiting for " + path);
                Sleep(100);
            }
        } else if (step == "sleep") {
            need(step, 1);
            Sleep(static_cast<DWORD>(std::atoi(args[i++].c_str())));
        } else if (step == "exit") {
            double secs = 30;
            if (i < args.size() && is_number(args[i]))
                secs = seconds_arg(args, i++, 30);
            if (!started.hProcess)
                fail(step, "no program started");
            if (WaitForSingleObject(started.hProcess, static_cast<DWORD>(secs * 1000)) != WAIT_OBJECT_0)
                fail(step, "the program did not end");
            DWORD code = 0;
            GetExitCodeProcess(started.hProcess, &code);
            if (i < args.size() && is_number(args[i])) {
                DWORD want = static_cast<DWORD>(std::atoi(args[i++].c_str()));
                if (code != want)
                    fail(step, "exit status " + std::to_string(code) + ", expected " + std::to_string(want));
            }
        } else if (step == "kill") {
            if (started.hProcess)
                TerminateProcess(started.hProcess, 1);
        } else {
            fail(step, "unknown step");
        }
    }
    return 0;
}
