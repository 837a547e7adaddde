#pragma once
// What the browser cleaners do to the files of a profile folder beyond removing them: edit a text
// file in place, remove a database together with the journal files beside it, empty a folder
// named by a browser's layout, and find the folders the registry names.
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "engine/cleaners/browser_folders.h"
#include "engine/history_cleaner.h"

// Takes a file's whole content; gives the new content, or nothing when the file stays as it is.
using TextEdit = std::function<std::optional<std::string>(std::string_view)>;

enum class EditOutcome { NotOpened, Unchanged, Rewritten, NotWritten };

// Reads `path` whole while the browser may keep it open too, and when `edit` changes the text
// writes the new text to a new file beside it and moves that over the old one: a failed or short
// write leaves the original untouched (NotWritten). A link or a cloud placeholder is never edited
// (NotOpened), nor is a file too large to be a profile's text file.
// The edit and what it left out are recorded; a preview (dryRun) reads and writes nothing back.
EditOutcome EditTextFile(HistoryCleaner& cleaner, const std::string& path, const TextEdit& edit);

// Reads an open file whole from its current position; false when it cannot be read or is far too
// large to be a profile's text file.
bool ReadWholeTextFile(HANDLE file, std::string& text);

// The entry exists (its attributes can be read).
bool EntryExists(const std::string& path);

// RemoveDatabaseFile in each folder: the database, then, once it is gone, what SQLite keeps beside
// it: a rollback journal or a write-ahead log holds copies of the database's pages (the very rows
// that removing the database was to remove).
void RemoveDatabaseInEachFolder(HistoryCleaner& cleaner, const std::string& name, const FolderList& folders);

// A folder that is the profile's own: there, and neither a link nor a cloud placeholder. A folder
// a browser's list names through a link is somebody else's.
bool IsFolderOfItsOwn(const std::string& folder);

// EmptyFolder, shredding allowed, of a folder the browser's layout names, if it is there. A link
// in its place (a junction, or a Unix symlink on Wine) is not emptied: what it leads to is no part
// of the browser's folders.
void EmptyBrowserFolder(HistoryCleaner& cleaner, const std::string& folder);
// EmptyBrowserFolder, then the folder itself: a web site's folder of site data goes whole.
void RemoveBrowserFolder(HistoryCleaner& cleaner, const std::string& folder);

// The Windows, system and Program Files folders, and the folder of the users' profiles.
SystemFolders SystemFoldersOfThisMachine();

// ListSubfoldersDeep of each folder in `registryFolders` that may be walked, appended to `list`: a
// folder of its own (no drive root, relative or climbing path: IsWalkableRegistryFolder), none of
// the system's folders or a user's profile root, and the product's own: one of `ownFiles` (its
// program or its profile file) is in it. A registry value can name any folder at all, and every
// folder below it loses the files of the browser's fixed names.
void ListRegistryFoldersDeep(HistoryCleaner& cleaner, const FolderList& registryFolders,
                             std::initializer_list<const char*> ownFiles, FolderList& list);

// The cookies of one Firefox profile folder: "cookies.sqlite" whole when no site is kept, else its
// rows of the sites not kept; the "cookies.txt" of older versions only when no site is kept.
// Nothing at all while the list of sites to keep cannot be read.
void ClearFirefoxCookieFiles(HistoryCleaner& cleaner, const std::string& folder);
