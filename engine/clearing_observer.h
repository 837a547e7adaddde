#pragma once
// The engine's one voice to whoever shows a clearing. The cleaners, the shredder and the clearing
// run report through it and never open a window or a box themselves; the progress window
// implements it for a threaded run, the main window for the clearings on its own thread, and
// tests record it. Calls come on the thread that runs the cleaners: an implementation for another
// thread's window posts and returns, so that the worker never waits for the user interface.
#include <windows.h>

#include <cstdint>
#include <string>

struct RecordItem;

// Programs that a cleaner needs closed before it can clean their files.
enum class RunningProgram { Skype, GoogleDesktop };

class ClearingObserver {
public:
    virtual ~ClearingObserver() = default;

    // RemoveFile has started on a file; its path is the settings' CurrentFileText().
    virtual void FileStarted() {}
    // A pass over the current file starts: its progress runs from 0 to `range`.
    virtual void PassStarted(uint64_t /*range*/) {}
    // The pass has come to `position` (which may pass `range` by one at the very end).
    virtual void PassMoved(uint64_t /*position*/) {}
    // Something the user must be told, in the program's message box: the index.dat size warning
    // (caption "Warning"), a file that could not be written. An empty caption is the program's name.
    virtual void Message(const std::string& /*caption*/, const std::string& /*text*/) {}
    // Asks the user to close `program` when it runs. False: the user keeps it running and its
    // cleaners are to be skipped. Asked on the thread that runs the cleaners.
    virtual bool PromptClose(RunningProgram /*program*/) { return true; }
    // The threaded run has ended; `exitProgram` when it was told to end the program afterwards.
    virtual void RunFinished(bool /*exitProgram*/) {}
    // The window that owns what a clearing opens (the clipboard), or null.
    virtual HWND OwnerWindow() const { return nullptr; }
    // The clearing removed, edited or left something (see RunRecord).
    virtual void Recorded(const RecordItem& /*item*/) {}
};
