#pragma once
// One item of a clearing's record, as the tests and the gallery make them. Portable.
#include <cstdint>
#include <string>

#include "engine/run_record.h"

inline RecordItem Item(ItemAction action, ItemKind kind, std::string path, uint64_t bytes = 0, int64_t rows = 0,
                       std::string group = "", std::string category = "", std::string profile = "") {
    RecordItem item;
    item.action = action;
    item.kind = kind;
    item.path = std::move(path);
    item.bytes = bytes;
    item.rows = rows;
    item.group = std::move(group);
    item.category = std::move(category);
    item.profile = std::move(profile);
    return item;
}
