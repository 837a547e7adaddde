#pragma once
// The text side of the version check, apart from the sockets: the request sent to the vendor's web
// host, the status lines the user reads, and what the vendor's version list means for this program.
//
// The version list follows the HTTP header: a title, an empty line ("\n\n"), then one record per
// line, "offered;base;note" with versions written major.minor. Numbers are read the way atoi reads
// them and kept in 16 bits; runs of line feeds and runs of ';' count as one separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct VersionRecord {
    uint16_t offeredMajor = 0, offeredMinor = 0; // a version the vendor offers
    uint16_t baseMajor = 0, baseMinor = 0;       // the installed version the line is meant for
    std::string note;
};

struct VersionList {
    std::string title;
    std::vector<VersionRecord> records;
};

enum class VersionResponse {
    NoHeaderEnd,   // no "\r\n\r\n": not an HTTP answer we can read
    NotFound,      // an answer other than 200: a proxy's or the server's error page, never a list
    NoVersionList, // a header, but no "\n\n" after the title or not one usable record
    Ok,
};

// Reads a whole HTTP response into `list` (emptied first).
VersionResponse ParseVersionResponse(std::string_view response, VersionList& list);

// atoi's reading (leading blanks, a sign, leading digits; anything else gives 0), kept in 16 bits.
uint16_t ReadVersionNumber(std::string_view text);

// The index of the record with the greatest offered version; on a tie the earlier record wins.
// The list must not be empty.
size_t LatestRecord(const std::vector<VersionRecord>& records);

// The request for the version list, as sent to a proxy: the absolute address on the request line.
std::string VersionRequestText(std::string_view productName);

// The answer is read whole before it is judged; anything longer than this is not a version list
// and ends the check as failed, so that a misbehaving server cannot make the program grow.
constexpr size_t kMaxVersionResponse = 1 << 20;

// The response as it arrives, never longer than kMaxVersionResponse.
class ResponseBuffer {
public:
    // Appends the bytes, or keeps nothing of them and remembers the overflow when they would take
    // the response past the limit. False once the response has overflowed.
    bool Append(const char* data, size_t size);
    bool overflowed() const { return overflowed_; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
    bool overflowed_ = false;
};

// The status lines of the check, in the words the user reads.
namespace update_status {
std::string Checking(std::string_view productName);
std::string Connecting();
// "Cannot connect ..." and the advice to check the connection and firewalls.
std::string CannotConnect();
// "Please visit ... to download the latest version".
std::string VisitAdvice();
std::string Connected();
std::string GettingInformation();
std::string Error();
std::string Failed();
std::string GettingInformationFailed();
} // namespace update_status

// The end of a check: the response (whatever arrived) decides what the status says. A response
// that is not a version list appends a failure and advice to the status; a version list replaces
// the status with the latest version and what it means for this program.
void ApplyVersionResponse(std::string& status, const ResponseBuffer& response, std::string_view productName);
