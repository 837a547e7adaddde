// The "Check for updates" page and its worker against a small HTTP server of this test on the
// loopback address, with a port of its own: request, status texts, outcomes, abort, limits.
#include <winsock2.h> // before windows.h

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/main_app.h"
#include "resources/resource_ids.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"
#include "ui/pages/check_updates_page.h"

namespace {

const std::string kConnecting = "Connecting to http://www.quorvex.com/ ...\r\n";
const std::string kInProgress = kConnecting + "Connected\r\nGetting information\r\n";
const std::string kVisit = "Please visit http://www.quorvex.com/ to download the latest version\r\n";
const std::string kRecommend =
    "We recommend you to visit http://www.quorvex.com/, to download and install the latest version\r\n";
const std::string kCannotConnect = "Cannot connect to Quorvex\r\nPlease check your internet connection, "
                                   "firewall and Windows firewall settings\r\n";
const std::string kHeader = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

bool SendAll(SOCKET s, const std::string& data) {
    size_t at = 0;
    while (at < data.size()) {
        const int n = send(s, data.data() + at, static_cast<int>(data.size() - at), 0);
        if (n <= 0) return false;
        at += static_cast<size_t>(n);
    }
    return true;
}

// A one-connection-at-a-time HTTP server on 127.0.0.1. Each connection is answered by the script
// set last; the server reads the request up to its empty line first.
class LoopbackServer {
public:
    using Script = std::function<void(SOCKET client)>;

    LoopbackServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0; // a port of its own
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int size = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this] { Accept(); });
    }
    ~LoopbackServer() {
        Release();
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }

    unsigned short port() const { return port_; }
    void SetScript(Script script) {
        std::lock_guard<std::mutex> lock(mutex_);
        script_ = std::move(script);
    }
    std::string request() {
        std::lock_guard<std::mutex> lock(mutex_);
        return request_;
    }
    int requests() const { return requests_; }
    // Connections whose script has ended and which the server has closed.
    int finished() const { return finished_; }

    // For scripts that hold a connection: wait until the test releases them (or `limitMs` passes);
    // true when released.
    bool WaitForRelease(DWORD limitMs) {
        std::unique_lock<std::mutex> lock(mutex_);
        return released_.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return release_; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        release_ = true;
        released_.notify_all();
    }
    void Rearm() {
        std::lock_guard<std::mutex> lock(mutex_);
        release_ = false;
    }

private:
    void Accept() {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, n);
            }
            Script script;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                request_ = request;
                script = script_;
            }
            ++requests_;
            if (script) script(client);
            closesocket(client);
            ++finished_;
        }
    }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool release_ = false;
    Script script_;
    std::string request_;
    std::atomic<int> requests_{0};
    std::atomic<int> finished_{0};
};

// A socket bound to a free port of the loopback address, which `address` then holds.
SOCKET BoundLoopback(sockaddr_in& address) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    return s;
}

// A port on which nothing listens: bound for a moment to learn a free number, then let go.
unsigned short RefusedPort() {
    sockaddr_in address;
    closesocket(BoundLoopback(address));
    return ntohs(address.sin_port);
}

struct UpdateCheckTest : ::testing::Test {
    static void SetUpTestSuite() { InitialiseLibraries(); }

    LoopbackServer server;
    HWND host = nullptr;
    CWindowHelpCheckUpdates page;

    void SetUp() override {
        host = CreateWindowExA(0, "STATIC", "Update check test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 760,
                               520, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        page.SetEndpointForTests("127.0.0.1", server.port());
        ASSERT_TRUE(page.CreatePage(host));
        ShowWindow(page.hwnd(), SW_SHOW);
    }
    void TearDown() override {
        server.Release();
        PumpUntil([this] { return !page.checking(); }, 5000);
        if (page.hwnd()) DestroyWindow(page.hwnd());
        DestroyWindow(host);
    }

    std::string Status() { return WindowText(page.Item(IDC_UPDATE_STATUS)); }
    bool Enabled(int id) { return IsWindowEnabled(page.Item(id)) != FALSE; }
    void Command(int id) {
        SendMessageA(page.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(page.Item(id)));
    }
    void Click() { Command(IDC_UPDATE_CHECK); }
    // Starts a check and waits for its end; the status it ended with.
    std::string Check() {
        Click();
        EXPECT_TRUE(PumpUntil([this] { return !page.checking(); }, 20000));
        PumpMessages(50);
        return Status();
    }
    void Answer(const std::string& body) {
        server.SetScript([body](SOCKET client) { SendAll(client, body); });
    }
};

} // namespace

TEST_F(UpdateCheckTest, ExactRequestStatusWhileRunningAndANewerVersionForThisOne) {
    EXPECT_EQ(Status(), "Please click the 'Check for updates' button");
    EXPECT_TRUE(Enabled(IDC_UPDATE_CHECK));
    EXPECT_FALSE(Enabled(IDC_UPDATE_CANCEL));

    server.SetScript([this](SOCKET client) {
        server.WaitForRelease(30000);
        SendAll(client, kHeader + "Zephyrlanthorpe versions\n\n7.6;7.5;new\n7.4;7.0;old\n");
    });
    Click();
    EXPECT_FALSE(Enabled(IDC_UPDATE_CHECK));
    EXPECT_TRUE(Enabled(IDC_UPDATE_CANCEL));
    // The server holds its answer: the page shows each line the worker has reached.
    ASSERT_TRUE(PumpUntil([this] { return server.requests() == 1 && Status() == kInProgress; }));
    EXPECT_EQ(server.request(),
              "GET http://www.quorvex.com/www/download/zephyrlanthorpe/Version.Txt HTTP/1.0\r\n"
              "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
              "User-Agent: Mozilla/4.0\r\n"
              "Host: www.quorvex.com\r\n"
              "Pragma: no-cache\r\n\r\n");
    EXPECT_TRUE(page.checking());
    EXPECT_FALSE(Enabled(IDC_UPDATE_CHECK));

    server.Release();
    ASSERT_TRUE(PumpUntil([this] { return !page.checking(); }, 20000));
    PumpMessages(50);
    EXPECT_EQ(Status(),
              "Zephyrlanthorpe versions\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.6\r\n");
    EXPECT_TRUE(Enabled(IDC_UPDATE_CHECK));
    EXPECT_FALSE(Enabled(IDC_UPDATE_CANCEL));
}

TEST_F(UpdateCheckTest, OutcomesOfOneCheckAfterAnother) {
    Answer(kHeader + "Zephyrlanthorpe versions\n\n7.6;7.0;new\n7.4;7.0;old\n");
    EXPECT_EQ(Check(), "Zephyrlanthorpe versions\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.6\r\n"
                       "You have Zephyrlanthorpe 7.5\r\n" +
                           kRecommend + "\r\n");
    Answer(kHeader + "Versions\n\n7.5;7.0\n7.4;7.0\n");
    EXPECT_EQ(Check(), "Versions\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.5\r\nYou have the "
                       "latest version\r\n");
    // A server that closes without a word; a body without the empty line after its title.
    server.SetScript(nullptr);
    EXPECT_EQ(Check(), kInProgress + "Failed\r\n" + kVisit);
    Answer(kHeader + "Versions\n7.6;7.5\n");
    EXPECT_EQ(Check(), kInProgress + "Getting information failed.\r\n" + kRecommend);
    EXPECT_EQ(server.requests(), 4);
}

TEST_F(UpdateCheckTest, TheServersWordsAreShownAsPlainTextAndOnlyA200IsAnAnswer) {
    // A title that a rich edit would take for RTF if it were handed the text to read as it likes.
    Answer(kHeader + "{\\rtf1 {\\b Pay} now}\n\n7.4;7.0\n");
    EXPECT_EQ(Check(), "{\\rtf1 {\\b Pay} now}\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.4\r\n"
                       "You have the latest version\r\n");
    // A proxy's login page is no word on versions at all.
    Answer("HTTP/1.1 407 Proxy Authentication Required\r\n\r\nLogin\n\n7.4;7.0\n");
    EXPECT_EQ(Check(), kInProgress + "Failed\r\n" + kVisit);
}

TEST_F(UpdateCheckTest, CancelAnswersWhileTheConnectHangs) {
    // A listener whose queue is full: the system drops further connection requests, and a connect
    // waits for its retries. Connections that are never accepted fill the queue.
    sockaddr_in address;
    SOCKET full = BoundLoopback(address);
    ASSERT_EQ(listen(full, 0), 0);
    std::vector<SOCKET> queued(3);
    for (SOCKET& s : queued) {
        u_long nonBlocking = 1;
        ioctlsocket(s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), FIONBIO, &nonBlocking);
        connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    page.SetEndpointForTests("127.0.0.1", ntohs(address.sin_port));
    Click();
    ASSERT_TRUE(PumpUntil([this] { return Status() == kConnecting; }));
    PumpMessages(500); // well inside the connect

    // Should the page wait for its worker, the listener goes after a long while: the connect then
    // fails and the wait ends, too late.
    std::atomic<bool> answered{false}, gaveUp{false};
    std::thread watchdog([&] {
        for (int waited = 0; waited < 20000 && !answered; waited += 50) Sleep(50);
        if (!answered) {
            gaveUp = true;
            closesocket(full);
        }
    });
    {
        BoxRecorder boxes(true);
        Command(IDC_UPDATE_CANCEL);
    }
    answered = true;
    watchdog.join();
    EXPECT_FALSE(gaveUp) << "Cancel waited for the connect";
    EXPECT_FALSE(page.checking());
    EXPECT_EQ(Status(), kConnecting + "Failed\r\n" + kVisit);
    if (!gaveUp) closesocket(full);
    for (SOCKET s : queued) closesocket(s);
}

TEST_F(UpdateCheckTest, RefusedConnection) {
    page.SetEndpointForTests("127.0.0.1", RefusedPort());
    EXPECT_EQ(Check(), kConnecting + kCannotConnect + kVisit);
    EXPECT_TRUE(Enabled(IDC_UPDATE_CHECK));
    EXPECT_FALSE(Enabled(IDC_UPDATE_CANCEL));
}

TEST_F(UpdateCheckTest, AnAnswerPastTheLimitFailsAndIsNotReadToItsEnd) {
    // A valid list, then more than the limit: the client must stop reading and hang up long before
    // the server would stop by itself.
    constexpr size_t kServerLimit = 64u << 20;
    std::atomic<size_t> sent{0};
    std::atomic<bool> cutOff{false}, over{false};
    server.SetScript([&](SOCKET client) {
        SendAll(client, kHeader + "Versions\n\n7.6;7.0\n");
        const std::string block(64 * 1024, '\n');
        while (sent < kServerLimit) {
            if (!SendAll(client, block)) {
                cutOff = true;
                break;
            }
            sent += block.size();
        }
        over = true;
    });
    EXPECT_EQ(Check(), kInProgress + "Failed\r\n" + kVisit);
    ASSERT_TRUE(PumpUntil([&] { return over.load(); }, 20000));
    EXPECT_TRUE(cutOff);
    EXPECT_LT(sent.load(), kServerLimit / 2) << "the client read far past the limit";
}

TEST_F(UpdateCheckTest, AbortAnswersTheQuestionStopsAtOnceAndTheNextCheckRuns) {
    {
        // No check running: Cancel and Escape ask nothing.
        BoxRecorder boxes(true);
        Command(IDC_UPDATE_CANCEL);
        Command(IDCANCEL);
        EXPECT_TRUE(boxes.boxes.empty());
    }
    std::atomic<bool> heldToTheEnd{false};
    server.SetScript([&](SOCKET client) {
        SendAll(client, "HTTP/1.0 200 OK\r\n");
        // Answers no more until released; gives up only long after any abort should have ended.
        if (!server.WaitForRelease(30000)) heldToTheEnd = true;
    });
    Click();
    ASSERT_TRUE(PumpUntil([this] { return Status() == kInProgress; }));
    {
        BoxRecorder boxes(false); // "No": the check goes on
        Command(IDCANCEL);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_TRUE(boxes.boxes[0].question);
        EXPECT_EQ(boxes.boxes[0].caption, "Warning");
        EXPECT_EQ(boxes.boxes[0].text, "Do you want to abort checking?");
        EXPECT_EQ(boxes.boxes[0].icon, IDI_BOX_QUESTION);
    }
    PumpMessages(300);
    EXPECT_TRUE(page.checking());
    EXPECT_TRUE(Enabled(IDC_UPDATE_CANCEL));
    {
        BoxRecorder boxes(true);
        Command(IDC_UPDATE_CANCEL);
        EXPECT_EQ(boxes.boxes.size(), 1u);
    }
    // Back at once, while the server still holds the connection.
    EXPECT_FALSE(page.checking());
    EXPECT_FALSE(heldToTheEnd);
    EXPECT_TRUE(Enabled(IDC_UPDATE_CHECK));
    EXPECT_FALSE(Enabled(IDC_UPDATE_CANCEL));
    EXPECT_EQ(Status(), kInProgress + "Failed\r\n" + kVisit);

    // A new check at once, with no message handled in between: nothing the aborted check left
    // behind may end this one.
    server.Release();
    for (int i = 0; i < 2000 && server.finished() < 1; ++i) Sleep(10); // generous: a loaded machine
    ASSERT_EQ(server.finished(), 1);
    server.Rearm();
    server.SetScript([this](SOCKET client) {
        server.WaitForRelease(30000);
        SendAll(client, kHeader + "Versions\n\n7.6;7.5\n");
    });
    Click();
    PumpMessages(300);
    EXPECT_TRUE(page.checking());
    EXPECT_FALSE(Enabled(IDC_UPDATE_CHECK));
    server.Release();
    ASSERT_TRUE(PumpUntil([this] { return !page.checking(); }, 20000));
    PumpMessages(50);
    EXPECT_EQ(Status(), "Versions\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.6\r\n");
    EXPECT_EQ(server.requests(), 2);
}

TEST_F(UpdateCheckTest, APageThatGoesDuringACheckStopsItsWorker) {
    std::atomic<bool> clientClosed{false};
    server.SetScript([&](SOCKET client) {
        SendAll(client, "HTTP/1.0 200 OK\r\n");
        // Waits for the client to hang up; gives up long after it should have.
        const DWORD limit = 20000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
        // A hang-up with the status line still unread in its buffer is a reset, not an orderly
        // close: either is the client going; only the timeout is not.
        char byte;
        const int got = recv(client, &byte, 1, 0);
        clientClosed = got == 0 || (got < 0 && WSAGetLastError() != WSAETIMEDOUT);
    });
    auto other = std::make_unique<CWindowHelpCheckUpdates>();
    other->SetEndpointForTests("127.0.0.1", server.port());
    ASSERT_TRUE(other->CreatePage(host));
    SendMessageA(other->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_UPDATE_CHECK, BN_CLICKED), 0);
    ASSERT_TRUE(
        PumpUntil([&] { return WindowText(GetDlgItem(other->hwnd(), IDC_UPDATE_STATUS)) == kInProgress; }));
    DestroyWindow(other->hwnd());
    other.reset();
    // The worker noticed, closed its connection and ended, long before the server gives up.
    for (int i = 0; i < 2000 && server.finished() < 1; ++i) Sleep(10); // generous: a loaded machine
    EXPECT_EQ(server.finished(), 1);
    EXPECT_TRUE(clientClosed);
    PumpMessages(100); // its last message goes to a window that is gone
}
