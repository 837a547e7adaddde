#pragma once
// A directory entry opened as itself, never through it. Every removal and every overwrite asks the
// entry what it is before touching it:
//  - a link of any kind is never followed: deleting or writing through it would reach a file
//    outside the folder being cleaned. Windows marks symbolic links and junctions as reparse
//    points; Wine marks only links to folders and follows a link to a file even when asked not
//    to, so there the entry's final path is what gives it away;
//  - a file with more than one name (a hard link) is removed by name only: its bytes belong to
//    its other names too, so they are never overwritten;
//  - a cloud placeholder is left alone: removing it removes the file from the user's cloud
//    storage as well. Other reparse points that are no links (files the system compressed or
//    deduplicated) are ordinary files.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/handles.h"

class FileEntry {
public:
    enum class Kind { Missing, Link, Placeholder, SeveralNames, Plain };

    // Opens `path` without following a link at its end. False when it cannot be opened (gone, in
    // use without the sharing asked for, access denied).
    bool Open(const std::string& path, DWORD access, DWORD share, DWORD flags = 0);
    void Close() { handle_.Close(); }
    HANDLE handle() const { return handle_.get(); }
    // Hands the handle over to the caller, who closes it.
    HANDLE Release() { return handle_.Release(); }

    // What the opened entry is. `folderFinal` is the final path of the folder the entry was found
    // in, when the caller knows it; otherwise it is looked up.
    Kind Identify(const std::string& path, const std::string& folderFinal = {}) const;
    // What the opened entry is, when `pinned` is a handle to the file that Identify found Plain
    // and that has stayed open since: Plain only if this is that very file (same file number,
    // same change time, read through both handles now) with one name. The pinned file cannot
    // vanish or lend its number to another file while it is open, so this stands in for the final
    // path's lookup, which Wine makes per handle from the Unix path, drive by drive: most of what a
    // shredding pass costs besides its writes. A link swapped in under the name, on Wine followed
    // to another file, is a different file here: Link.
    Kind IdentifyAs(HANDLE pinned) const;
    // Deletes the opened entry itself (opened with DELETE access); the name goes, the data stays
    // for any other name it has. False when the entry stays.
    bool Delete(const std::string& path);
    // What Identify read: the entry's size in bytes and its attributes.
    uint64_t size() const { return size_; }
    DWORD attributes() const { return attributes_; }

private:
    ScopedHandle handle_;
    mutable uint64_t size_ = 0;
    mutable DWORD attributes_ = 0;
};

// The final path of what the handle refers to ("\\?\C:\..."), or empty where the system cannot
// say (before Vista, some network shares).
std::string FinalPathOf(HANDLE handle);
// The final path of a folder, or empty.
std::string FinalPathOfFolder(const std::string& folder);
// The final path of the folder that holds `path`, or empty.
std::string FinalPathOfFolderOf(const std::string& path);
