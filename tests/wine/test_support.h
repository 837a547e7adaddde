#pragma once
// Helpers for the Windows tests. Everything they create lives in the sandboxed prefix's temporary
// folder and is removed afterwards.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/message_box.h"

// A fresh folder below the temporary folder, emptied and removed again by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Records every message and question box instead of showing it; questions get `answer`, except
// the offer to see a clearing's report after its confirmation, which gets `openReports` (the
// report view is a modal window of its own).
class BoxRecorder {
public:
    explicit BoxRecorder(bool answer = true);
    ~BoxRecorder();
    std::vector<BoxRequest> boxes;
    bool answer;
    bool openReports = false;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteTextFile(const std::string& path, const std::string& text);
bool PathExists(const std::string& path);
// Removes a folder tree without following links (test cleanup only).
void RemoveTree(const std::string& path);
