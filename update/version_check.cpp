#include <winsock2.h> // before windows.h, which version_check.h brings

#include "update/version_check.h"

#include <process.h>

#include <cstring>

#include "app/main_app.h"
#include "app/messages.h"
#include "update/version_list.h"

namespace {

constexpr DWORD kEventWaitMs = 100;
constexpr DWORD kReceiveBufferSize = 8192;
// A send or receive that would block is tried again after this pause (and after a look at the
// abort request), rather than in a tight loop.
constexpr DWORD kRetryPauseMs = 10;

// The socket, its event and the Winsock reference of one check, released on every way out.
struct Connection {
    SOCKET socket = INVALID_SOCKET;
    WSAEVENT event = WSA_INVALID_EVENT;
    bool started = false;
    ~Connection() {
        if (socket != INVALID_SOCKET) closesocket(socket);
        if (event != WSA_INVALID_EVENT) WSACloseEvent(event);
        if (started) WSACleanup();
    }
};

// The last address of the name's address list, as the vendor's round robin hands them out.
bool Resolve(const std::string& host, sockaddr_in& address) {
    const hostent* entry = gethostbyname(host.c_str());
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != sizeof address.sin_addr) return false;
    bool any = false;
    for (char** a = entry->h_addr_list; a && *a; ++a) {
        std::memcpy(&address.sin_addr, *a, sizeof address.sin_addr);
        any = true;
    }
    return any;
}

} // namespace

VersionCheck::VersionCheck(HWND notify, VersionCheckEndpoint endpoint)
    : notify_(notify), endpoint_(std::move(endpoint)) {}

std::string VersionCheck::Status() const {
    std::lock_guard<std::mutex> lock(statusLock_);
    return status_;
}

// The page reads the text while the worker goes on writing it: both sides take the lock, so that a
// reader never sees a string in the middle of growing.
void VersionCheck::SetStatus(const std::string& text) {
    std::lock_guard<std::mutex> lock(statusLock_);
    status_ = text;
}

void VersionCheck::AppendStatus(const std::string& text) {
    std::lock_guard<std::mutex> lock(statusLock_);
    status_ += text;
}

// Posted, never sent: the worker never waits for the page. Under the lock, so that Detach knows
// when the last message of this check has been queued.
void VersionCheck::PostProgress() {
    std::lock_guard<std::mutex> lock(statusLock_);
    if (notify_) PostMessageA(notify_, MsgUpdateStatus, 0, 0);
}

// The last word and the message that says so in one step: whoever detaches the check sees either
// both or neither.
void VersionCheck::Finish(const std::string& status) {
    std::lock_guard<std::mutex> lock(statusLock_);
    status_ = status;
    finished_ = true;
    if (notify_) PostMessageA(notify_, MsgUpdateStatus, 1, 0);
}

VersionCheck::Detached VersionCheck::Detach() {
    std::lock_guard<std::mutex> lock(statusLock_);
    notify_ = nullptr;
    return {finished_, status_};
}

void VersionCheck::Run() {
    SetStatus(update_status::Checking(kDisplayName));
    PostProgress();

    Connection c;
    WSADATA data;
    c.started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    c.socket = WSASocketA(AF_INET, SOCK_STREAM, 0, nullptr, 0, 0);
    if (c.socket == INVALID_SOCKET) {
        Finish(update_status::CannotConnect() + update_status::VisitAdvice());
        return;
    }
    c.event = WSACreateEvent();
    if (c.event == WSA_INVALID_EVENT) {
        Finish(update_status::CannotConnect() + update_status::VisitAdvice());
        return;
    }

    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint_.port);
    const bool resolved = Resolve(endpoint_.host, address);

    SetStatus(update_status::Connecting());
    PostProgress();

    // The socket is still blocking here. A connect that returns 0 is complete: Windows then sends
    // no FD_CONNECT for it after WSAEventSelect (Wine does), so the request goes out at once.
    bool connected = false;
    bool ok = resolved;
    if (ok) {
        if (connect(c.socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            connected = true;
        else if (WSAGetLastError() != WSAEWOULDBLOCK)
            ok = false;
    }
    if (ok && WSAEventSelect(c.socket, c.event, FD_READ | FD_CONNECT | FD_CLOSE) == SOCKET_ERROR) ok = false;
    if (!ok) {
        Finish(Status() + update_status::CannotConnect() + update_status::VisitAdvice());
        return;
    }

    const std::string request = VersionRequestText(kDisplayName);
    ResponseBuffer response;
    bool closed = false;
    bool sent = false;
    auto sendRequest = [&] {
        sent = true;
        AppendStatus(update_status::Connected());
        PostProgress();
        std::string buffer = request;
        AppendStatus(update_status::GettingInformation());
        PostProgress();
        WSABUF part = {static_cast<ULONG>(buffer.size()), buffer.data()};
        while (!abortRequested()) {
            DWORD written = 0;
            if (WSASend(c.socket, &part, 1, &written, 0, nullptr, nullptr) == 0) break;
            if (WSAGetLastError() != WSAEWOULDBLOCK) {
                AppendStatus(update_status::Error());
                PostProgress();
                closed = true;
                break;
            }
            Sleep(kRetryPauseMs);
        }
    };
    char received[kReceiveBufferSize];
    auto receive = [&] {
        WSABUF part = {kReceiveBufferSize, received};
        while (!abortRequested()) {
            DWORD got = 0, flags = 0;
            if (WSARecv(c.socket, &part, 1, &got, &flags, nullptr, nullptr) == 0) {
                // More than a version list can be: stop reading, the check has failed.
                if (!response.Append(received, got)) closed = true;
                return;
            }
            if (WSAGetLastError() != WSAEWOULDBLOCK) {
                AppendStatus(update_status::CannotConnect());
                PostProgress();
                closed = true;
                return;
            }
            Sleep(kRetryPauseMs);
        }
    };

    if (connected) sendRequest();
    bool failed = false;
    while (!closed && !abortRequested()) {
        if (WaitForSingleObject(c.event, kEventWaitMs) == WAIT_TIMEOUT) continue;
        WSANETWORKEVENTS events = {};
        if (WSAEnumNetworkEvents(c.socket, c.event, &events) == SOCKET_ERROR) {
            failed = true;
            break;
        }
        if (events.lNetworkEvents & FD_CONNECT) {
            if (events.iErrorCode[FD_CONNECT_BIT] != 0) {
                failed = true;
                break;
            }
            if (!sent) sendRequest();
        }
        if (events.lNetworkEvents & FD_READ) {
            if (events.iErrorCode[FD_READ_BIT] != 0) {
                failed = true;
                break;
            }
            receive();
        }
        if (events.lNetworkEvents & FD_CLOSE) closed = true;
    }
    if (failed) {
        AppendStatus(update_status::CannotConnect());
        PostProgress();
    }
    // What the server sent before it closed and has not been read yet.
    while (!abortRequested() && !response.overflowed()) {
        WSABUF part = {kReceiveBufferSize, received};
        DWORD got = 0, flags = 0;
        if (WSARecv(c.socket, &part, 1, &got, &flags, nullptr, nullptr) != 0 || got == 0) break;
        response.Append(received, got);
    }

    std::string status = Status();
    ApplyVersionResponse(status, response, kDisplayName);
    Finish(status);
}

namespace {

unsigned __stdcall VersionCheckThread(void* argument) {
    std::unique_ptr<std::shared_ptr<VersionCheck>> check(
        static_cast<std::shared_ptr<VersionCheck>*>(argument));
    try {
        (*check)->Run();
    } catch (...) {
        // Out of memory on the way: the page still learns that the check is over.
        (*check)->Finish((*check)->Status());
    }
    return 0;
}

} // namespace

HANDLE StartVersionCheck(const std::shared_ptr<VersionCheck>& check) {
    auto* argument = new std::shared_ptr<VersionCheck>(check);
    const uintptr_t thread = _beginthreadex(nullptr, 0, VersionCheckThread, argument, 0, nullptr);
    if (!thread) {
        delete argument;
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(thread);
}
