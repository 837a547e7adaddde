#include "engine/shred_placement.h"

#include <winioctl.h>

#include <map>
#include <mutex>
#include <vector>

#include "platform/handles.h"

FilePlacement PlacementOf(HANDLE file, DWORD attributes, uint64_t size) {
    FilePlacement placement;
    placement.compressed = (attributes & FILE_ATTRIBUTE_COMPRESSED) != 0;
    placement.sparse = (attributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0;
    placement.encrypted = (attributes & FILE_ATTRIBUTE_ENCRYPTED) != 0;
    placement.size = size;
    STARTING_VCN_INPUT_BUFFER start{};
    std::vector<uint64_t> buffer(512); // room for some 250 runs; a larger map is asked for again
    for (;;) {
        DWORD got = 0;
        const BOOL ok = DeviceIoControl(file, FSCTL_GET_RETRIEVAL_POINTERS, &start, sizeof start, buffer.data(),
                                        static_cast<DWORD>(buffer.size() * sizeof(uint64_t)), &got, nullptr);
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        if (!ok && error != ERROR_MORE_DATA) return placement; // resident, or the file system cannot say
        const auto* map = reinterpret_cast<const RETRIEVAL_POINTERS_BUFFER*>(buffer.data());
        LONGLONG vcn = map->StartingVcn.QuadPart;
        for (DWORD i = 0; i < map->ExtentCount; ++i) {
            placement.extents.emplace_back(map->Extents[i].Lcn.QuadPart, map->Extents[i].NextVcn.QuadPart - vcn);
            vcn = map->Extents[i].NextVcn.QuadPart;
        }
        if (ok) break;
        start.StartingVcn.QuadPart = vcn;
    }
    placement.extentsKnown = true;
    return placement;
}

SeekPenalty SeekPenaltyOf(const std::string& path) {
    // Files come folder by folder, and finding a path's volume takes several calls into the file
    // system (GetVolumePathName asks about the path's folders one by one): the last folder's
    // answer is kept.
    static std::mutex guard;
    static std::string lastFolder;
    static SeekPenalty lastAnswer = SeekPenalty::Unknown;
    const size_t slash = path.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (!folder.empty() && folder == lastFolder) return lastAnswer;
    }
    char volume[MAX_PATH] = "";
    if (!GetVolumePathNameA(path.c_str(), volume, sizeof volume)) return SeekPenalty::Unknown;
    static std::map<std::string, SeekPenalty> known;
    const std::lock_guard<std::mutex> lock(guard);
    lastFolder = folder;
    if (auto found = known.find(volume); found != known.end()) return lastAnswer = found->second;
    SeekPenalty answer = SeekPenalty::Unknown;
    std::string device = volume; // "C:\" becomes "\\.\C:"
    while (!device.empty() && device.back() == '\\') device.pop_back();
    if (device.size() == 2 && device[1] == ':') {
        ScopedHandle drive(CreateFileA(("\\\\.\\" + device).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        STORAGE_PROPERTY_QUERY query{};
        query.PropertyId = static_cast<STORAGE_PROPERTY_ID>(7); // StorageDeviceSeekPenaltyProperty
        query.QueryType = PropertyStandardQuery;
        struct {
            DWORD version, size;
            BOOLEAN incursSeekPenalty;
        } descriptor{};
        DWORD got = 0;
        if (drive.valid() && DeviceIoControl(drive.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query,
                                             &descriptor, sizeof descriptor, &got, nullptr) &&
            got >= sizeof descriptor)
            answer = descriptor.incursSeekPenalty ? SeekPenalty::Yes : SeekPenalty::No;
    }
    known[volume] = answer;
    return lastAnswer = answer;
}
