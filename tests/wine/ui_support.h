#pragma once
// Helpers for tests that drive real windows under Wine (each test program has its own Xvfb).
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// Waits until a visible top-level window with this caption (and, if given, class) exists in this
// process or, with anyProcess, anywhere; null after the timeout.
HWND WaitForWindow(const char* caption, const char* className = nullptr, DWORD timeoutMs = 10000,
                   bool anyProcess = false);
// Waits until `window` is gone.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000, DWORD pollMs = 20);
// Dispatches this thread's messages for a while.
void PumpMessages(DWORD ms);
// Dispatches messages until `done()` or the timeout; true when done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
std::string WindowText(HWND window);
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);

// Runs `body` on its own thread and joins it in the destructor; used to answer modal windows that
// the test's own thread is blocked in.
class Helper {
public:
    explicit Helper(std::function<void()> body) : thread_(std::move(body)) {}
    ~Helper() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

// Answers this process's next password dialog from its own thread: types `text` and presses "Ok";
// a dialog still open a moment later (the password was wrong) is closed. Nothing when none comes
// within `waitMs`. Joined by the destructor.
class PasswordAnswer {
public:
    explicit PasswordAnswer(std::string text, DWORD waitMs = 10000);
    ~PasswordAnswer() { stop_ = true; }
    // Whether a password dialog came.
    bool asked() const { return asked_; }

private:
    std::atomic<bool> asked_{false}, stop_{false};
    Helper helper_;
};
