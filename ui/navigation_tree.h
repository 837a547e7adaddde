#pragma once
// The entries of the navigation tree: the options tree (mode 0) and the help tree (mode 1).
// Portable: the tree control is filled from these tables.
#include <cstdint>
#include <span>

struct TreeEntry {
    int parent; // index of the parent entry in the same table, or -1 for a root entry
    const char* text;
    uint32_t itemData; // the page the entry opens
    uint32_t key;      // the key under which the item is kept in the panel's item map
};

enum TreeMode { TreeOptions = 0, TreeHelp = 1 };

std::span<const TreeEntry> TreeEntries(TreeMode mode);

// Indexes of the options-tree entries whose expansion is remembered.
constexpr int kWhatToClearEntry = 0;
constexpr int kBrowserHistoryEntry = 1;
constexpr int kSettingsEntry = 16;
