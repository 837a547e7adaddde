#pragma once
// The version check's worker: asks the vendor's web server for its version list (HTTP/1.0 over a
// plain TCP socket, Winsock 2 event notification) and tells a window how it goes by posting
// MsgUpdateStatus (wParam 0 while it runs, 1 when it has finished).
//
// Winsock's headers stay out of this one: it is included after <windows.h>, which would bring the
// old winsock.h first.
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "update/vendor_site.h"

// Where a check connects: the vendor's server, unless a test names a server of its own.
struct VersionCheckEndpoint {
    std::string host = kVendorDomain; // resolved with gethostbyname; a dotted address also resolves
    unsigned short port = kVendorPort;
};

// One check. The page that starts it and the worker that runs it share it: the page may be gone
// (the program ending during a check) before the worker notices the abort.
class VersionCheck {
public:
    VersionCheck(HWND notify, VersionCheckEndpoint endpoint);

    // The status text as it stands; the worker changes it between its messages.
    std::string Status() const;
    // Asks the worker to stop; it notices within about a tenth of a second, except while Windows
    // resolves the name or completes the (blocking) connect: so nobody waits for it to end.
    void RequestAbort() { abort_ = 1; }
    bool abortRequested() const { return abort_ != 0; }

    // The worker's body: runs the whole check on the calling thread and posts its last message.
    void Run();
    // Ends the check with this status (the worker's last message).
    void Finish(const std::string& status);
    // The window hears no more of this check: once this returns, every message the worker will
    // ever post for it is already queued. Whether the worker had finished, and the status then.
    struct Detached {
        bool finished;
        std::string status;
    };
    Detached Detach();

private:
    void SetStatus(const std::string& text);
    void AppendStatus(const std::string& text);
    void PostProgress();

    mutable std::mutex statusLock_;
    HWND notify_;
    bool finished_ = false;
    VersionCheckEndpoint endpoint_;
    std::string status_;
    std::atomic<int> abort_{0};
};

// Starts a worker thread (_beginthreadex) that runs `check`; its handle, or null when no thread
// could be started. The caller closes the handle.
HANDLE StartVersionCheck(const std::shared_ptr<VersionCheck>& check);
