// Any server answer: reading it never leaves the buffer, the status says exactly one of the three
// things a check can end with, and the version it names is the first of the greatest offered.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/edit_checks.h"
#include "update/version_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A private copy of exactly `size` bytes, so that AddressSanitizer sees any read beyond it.
    std::vector<char> copy(data, data + size);
    ResponseBuffer response;
    // In pieces, as it arrives from the socket.
    for (size_t at = 0; at < copy.size(); at += 7)
        Require(response.Append(copy.data() + at, std::min<size_t>(7, copy.size() - at)));
    Require(response.text() == std::string_view(copy.data(), copy.size()));

    const std::string before = "Getting information\r\n";
    std::string status = before;
    ApplyVersionResponse(status, response, "Zephyrlanthorpe");
    VersionList list;
    switch (ParseVersionResponse(response.text(), list)) {
    case VersionResponse::NoHeaderEnd:
        Require(status == before + update_status::Failed() + update_status::VisitAdvice());
        Require(response.text().find("\r\n\r\n") == std::string::npos);
        break;
    case VersionResponse::NotFound:
        Require(status == before + update_status::Failed() + update_status::VisitAdvice());
        break;
    case VersionResponse::NoVersionList:
        Require(status == before + update_status::GettingInformationFailed());
        Require(list.records.empty());
        break;
    case VersionResponse::Ok: {
        Require(!list.records.empty());
        const size_t latest = LatestRecord(list.records);
        const VersionRecord& l = list.records[latest];
        for (size_t i = 0; i < list.records.size(); ++i) {
            const VersionRecord& r = list.records[i];
            const bool newer = r.offeredMajor > l.offeredMajor ||
                               (r.offeredMajor == l.offeredMajor && r.offeredMinor > l.offeredMinor);
            const bool equal = r.offeredMajor == l.offeredMajor && r.offeredMinor == l.offeredMinor;
            Require(!newer && !(equal && i < latest));
            Require(r.note.find(';') == std::string::npos && r.note.find('\n') == std::string::npos);
        }
        const std::string title = list.title.empty() ? "" : list.title + "\r\n\r\n\r\n";
        const std::string line = "The latest version of Zephyrlanthorpe is " +
                                 std::to_string(l.offeredMajor) + "." + std::to_string(l.offeredMinor) +
                                 "\r\n";
        Require(status.rfind(title + line, 0) == 0);
        if (!list.title.empty()) {
            Require(list.title.find_first_of(" \t\r\n\v\f") != 0);
            Require(list.title.find_last_of(" \t\r\n\v\f") != list.title.size() - 1);
        }
        break;
    }
    }
    return 0;
}
