#pragma once
// What the browser cleaners do to the files of a profile folder beyond removing them: edit a text
// file in place, remove a database together with the journal files beside it, empty a folder
// named by a browser's layout, and find the folders the registry names.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/history_cleaner.h"

// Takes a file's whole content; gives the new content, or nothing when the file stays as it is.
using TextEdit = std::function<std::optional<std::string>(std::string_view)>;

enum class EditOutcome { NotOpened, Unchanged, Rewritten };

// Opens `path` for reading and writing while the browser may keep it open too (sharing reads and
// writes), reads it whole, and when `edit` changes it writes the new text from offset 0 and cuts
// the file to the new length. A link is never edited through (NotOpened), nor is a file too large
// to be a profile's text file.
EditOutcome EditTextFile(const std::string& path, const TextEdit& edit);

// Reads an open file whole from its current position; false when it cannot be read or is far too
// large to be a profile's text file.
bool ReadWholeTextFile(HANDLE file, std::string& text);

// The entry exists (its attributes can be read).
bool EntryExists(const std::string& path);

// RemoveFileInEachFolder for a database file, then for what SQLite keeps beside it: a rollback
// journal or a write-ahead log holds copies of the database's pages (the very rows that removing
// the database was to remove), and a log left beside a database created anew would be replayed
// into it.
void RemoveDatabaseInEachFolder(HistoryCleaner& cleaner, const std::string& name, const FolderList& folders);

// EmptyFolder, shredding allowed, of a folder the browser's layout names, if it is there. A link
// in its place (a junction, or a Unix symlink on Wine) is not emptied: what it leads to is no part
// of the browser's folders.
void EmptyBrowserFolder(HistoryCleaner& cleaner, const std::string& folder);

// ListSubfoldersDeep of each folder in `registryFolders` that may be walked (see
// IsWalkableRegistryFolder), appended to `list`.
void ListRegistryFoldersDeep(HistoryCleaner& cleaner, const FolderList& registryFolders, FolderList& list);
