#pragma once
// Fixtures for the engine's Windows tests: registry trees under a throw-away key, files of a given
// size, handles that hold a file open, and a window that collects what the engine posts.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/history_cleaner.h"
#include "platform/handles.h"
#include "tests/wine/test_support.h"
#include "ui/progress_poster.h"

// A key below HKCU\Software\ZltEngineTest, removed with everything below it at the end.
class TestKey {
public:
    explicit TestKey(const std::string& name, HKEY root = HKEY_CURRENT_USER);
    ~TestKey();
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& sub) const { return path_ + "\\" + sub; }

private:
    HKEY root_;
    std::string path_;
};

// Creates every key of `path`; `view` may be KEY_WOW64_32KEY or KEY_WOW64_64KEY.
bool CreateKey(HKEY root, const std::string& path, REGSAM view = 0);
bool SetString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
bool SetDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0);
bool ValueExists(HKEY root, const std::string& key, const std::string& name);
// Removes a tree in one view (SHDeleteKey knows no views).
void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view = 0);
std::vector<std::string> SubkeyNames(HKEY root, const std::string& path);

// The value the next new handle gets. Wine's GetProcessHandleCount reports 0, but it hands out the
// lowest free handle value, so a leak of handles shows as this value rising.
uintptr_t NextHandleValue();

// A file of `size` bytes, all `fill`.
bool MakeFile(const std::string& path, size_t size, uint8_t fill = 'x');
std::string MakeFolder(const std::string& path);
// The shell folder as the engine sees it (no owner, not created).
std::string ShellFolderPath(int csidl);

// TMP and TEMP name `folder` (the user's temporary folder as GetTempPathA gives it) until destroyed;
// then they are as they were.
class TempVariables {
public:
    explicit TempVariables(const std::string& folder);
    ~TempVariables();
    TempVariables(const TempVariables&) = delete;
    TempVariables& operator=(const TempVariables&) = delete;

private:
    struct Saved {
        const char* name;
        bool set;
        std::string value;
    };
    std::vector<Saved> saved_;
};
// Every file below `folder` with its bytes; links are not followed (Wine shows a link to a folder
// as a reparse point).
void FilesBelow(const std::string& folder, std::map<std::string, std::string>& files);
// The files below `folders` in which `marker` can be read, or empty.
std::string ReadableIn(const std::vector<std::string>& folders, const std::string& marker);

// Holds a file open with the given sharing until destroyed.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD share);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Another process holds a file open without sharing until destroyed: this very test program, started
// again to run only the test that HeldByAnotherProcess::Serve() is called from. Each test program
// that uses it defines that test (TEST(AnotherProcess, DISABLED_HoldsAFile) { HeldByAnotherProcess::Serve(); }).
class HeldByAnotherProcess {
public:
    explicit HeldByAnotherProcess(const std::string& path);
    ~HeldByAnotherProcess();
    HeldByAnotherProcess(const HeldByAnotherProcess&) = delete;
    HeldByAnotherProcess& operator=(const HeldByAnotherProcess&) = delete;
    bool holding() const { return holding_; }
    DWORD pid() const { return pid_; }
    // The body of the helper process's test.
    static void Serve();

private:
    ScopedHandle ready_, release_, process_;
    bool holding_ = false;
    DWORD pid_ = 0;
};
// The file name of this test program ("engine_recording_tests.exe").
std::string ThisProgramName();

// A hidden top-level window on the calling thread; Drain() returns the messages posted to it
// (message, wParam) in the range [first, last].
class PostedMessages {
public:
    PostedMessages();
    ~PostedMessages();
    PostedMessages(const PostedMessages&) = delete;
    PostedMessages& operator=(const PostedMessages&) = delete;
    HWND window() const { return window_; }
    struct Entry {
        UINT message;
        WPARAM wParam;
    };
    std::vector<Entry> Drain(UINT first, UINT last);

private:
    HWND window_;
};

// A progress bar on a hidden window of the calling thread; Pump() delivers the posted updates.
class TestProgressBar {
public:
    TestProgressBar();
    ~TestProgressBar();
    TestProgressBar(const TestProgressBar&) = delete;
    TestProgressBar& operator=(const TestProgressBar&) = delete;
    HWND bar() const { return bar_; }
    void Pump();
    int RangeLow();
    int RangeHigh();
    int Position();

private:
    HWND parent_;
    HWND bar_;
};

// What the cleaner reports goes to these windows as it goes to the progress window of a threaded
// run, every change at once unless told otherwise; afterwards the cleaner reports to nobody again.
class ProgressTo {
public:
    ProgressTo(HistoryCleaner& cleaner, HWND window, HWND bar, uint32_t intervalMs = 0)
        : cleaner_(cleaner), poster(window, bar, nullptr) {
        poster.SetInterval(intervalMs);
        cleaner.SetObserver(&poster);
    }
    ~ProgressTo() { cleaner_.SetObserver(nullptr); }
    ProgressTo(const ProgressTo&) = delete;
    ProgressTo& operator=(const ProgressTo&) = delete;

private:
    HistoryCleaner& cleaner_;

public:
    CProgressPoster poster;
};

// Records what the engine reports.
class RecordingObserver : public ClearingObserver {
public:
    explicit RecordingObserver(HWND owner = nullptr) : owner_(owner) {}
    int filesStarted = 0;
    std::vector<std::string> warnings; // caption and text of each message, as "caption: text"
    std::vector<bool> runsFinished; // exitProgram of each RunFinished
    void FileStarted() override { ++filesStarted; }
    void Message(const std::string& caption, const std::string& text) override {
        warnings.push_back(caption + ": " + text);
    }
    void RunFinished(bool exitProgram) override { runsFinished.push_back(exitProgram); }
    HWND OwnerWindow() const override { return owner_; }

private:
    HWND owner_;
};
