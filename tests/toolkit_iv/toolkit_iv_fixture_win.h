// Shared pieces of the toolkit IV tests: the main window with a status bar, and actions run on a
// modal dialog of this thread from a thread timer while the dialog's own loop runs.
#ifndef QR4T_TESTS_TOOLKIT_IV_FIXTURE_WIN_H
#define QR4T_TESTS_TOOLKIT_IV_FIXTURE_WIN_H

#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

constexpr int MAIN_FLAGS = 0x63;  // system menu, minimise box, fixed frame, status bar

inline void open_main_window()
{
    if (WIN_CURRENT.main_open == -1)
        return;
    WinOpenRecord r;
    r.flags = MAIN_FLAGS;
    r.width = 640;
    r.height = 480;
    r.title = "QR4T toolkit IV test";
    WWinOpen(r);
}

// The visible dialog box (class "#32770") of this thread that is not `except`, or null.
inline HWND find_thread_dialog(HWND except = nullptr)
{
    struct Search {
        HWND except;
        HWND found;
    } s = {except, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (w != s->except && IsWindowVisible(w) && lstrcmpA(cls, "#32770") == 0) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Runs the steps one per timer tick, each on the dialog found then; a step returns false to be
// tried again at the next tick. After the last step, or after about ten seconds, the timer stops;
// at the time-out every dialog of the thread is cancelled so that a failing test cannot hang.
class ModalScript {
public:
    using Step = std::function<bool(HWND)>;
    explicit ModalScript(std::initializer_list<Step> steps) : steps_(steps)
    {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 100, tick);
    }
    ~ModalScript()
    {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }
    // Every step ran, none after a time-out.
    bool finished() const { return next_ == steps_.size() && !timed_out_; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* s = active_;
        if (!s || s->busy_ || s->timed_out_)
            return;
        s->busy_ = true;  // a step may itself run a modal loop in which this timer fires
        if (++s->ticks_ > 100) {
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND w, LPARAM) -> BOOL {
                    char cls[16] = {};
                    GetClassNameA(w, cls, sizeof cls);
                    if (IsWindowVisible(w) && lstrcmpA(cls, "#32770") == 0)
                        EndDialog(w, IDCANCEL);
                    return TRUE;
                },
                0);
            s->timed_out_ = true;
        } else if (s->next_ < s->steps_.size()) {
            HWND d = find_thread_dialog();
            if (d && s->steps_[s->next_](d))
                ++s->next_;
        }
        s->busy_ = false;
    }
    static inline ModalScript* active_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int ticks_ = 0;
    bool busy_ = false;
    bool timed_out_ = false;
    UINT_PTR timer_ = 0;
};

// A step that presses a button of the dialog.
inline ModalScript::Step press(int id)
{
    return [id](HWND d) {
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
        return true;
    };
}

// A step that presses a button of the visible window of this thread with the title; waits for it.
inline ModalScript::Step press_in(const char* title, int id)
{
    return [title, id](HWND) {
        HWND w = FindWindowA(nullptr, title);
        if (!w || !IsWindowVisible(w) || GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId())
            return false;
        PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
        return true;
    };
}

// The text of a control of a window.
inline std::string control_text(HWND w, int id)
{
    char text[1024] = {};
    GetDlgItemTextA(w, id, text, sizeof text);
    return text;
}

#endif
