#pragma once
// What the file system and the drive say about where a file's data lies: read around the passes
// of the shredder, so that the report can say whether they overwrote the data in place.
#include <windows.h>

#include <string>

#include "engine/shred_pattern.h"

// The file's extents (FSCTL_GET_RETRIEVAL_POINTERS), read on an open handle, with the attributes
// and size that its opening read.
FilePlacement PlacementOf(HANDLE file, DWORD attributes, uint64_t size);
// Whether the drive that holds `path` incurs a seek penalty (IOCTL_STORAGE_QUERY_PROPERTY); asked
// once per volume.
SeekPenalty SeekPenaltyOf(const std::string& path);
