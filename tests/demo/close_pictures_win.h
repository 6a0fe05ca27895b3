// Win32 test equipment: while an object of this type lives, a helper thread plays the user who closes
// the pictures of divisions and cells. The pictures wait for a close request; a test that runs the
// set-up under the real toolkit would otherwise wait for ever. The helper posts a quit message to the
// waiting thread, which the toolkit's wait reports as a close request, whatever message types the
// test program has enabled.
#ifndef QR4T_TESTS_DEMO_CLOSE_PICTURES_WIN_H
#define QR4T_TESTS_DEMO_CLOSE_PICTURES_WIN_H

#include <windows.h>

#include <atomic>
#include <thread>

class PictureCloser {
public:
    PictureCloser() : waiting_thread_(GetCurrentThreadId()), thread_([this] { run(); }) {}
    ~PictureCloser()
    {
        stop_ = true;
        thread_.join();
    }
    PictureCloser(const PictureCloser&) = delete;
    PictureCloser& operator=(const PictureCloser&) = delete;

private:
    void run()
    {
        static const char* const titles[] = {"Flowfield Divisions and Elements in Specified Planes",
                                             "Flowfield Cells (Some elements are partly inside the surface)"};
        // Repeated while the window is up: a quit posted before the wait begins may be taken by another
        // message loop of the toolkit.
        for (int tick = 0; !stop_; ++tick) {
            for (const char* title : titles)
                if (tick % 20 == 0 && FindWindowA(nullptr, title))
                    PostThreadMessageA(waiting_thread_, WM_QUIT, 0, 0);
            Sleep(10);
        }
    }

    DWORD waiting_thread_;  // the test's thread, where the picture waits
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

#endif
