#include "update/version_list.h"

#include "update/program_version.h"
#include "update/vendor_site.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The next token of `text` at `sep`, a run of separators counting as one (strtok's reading);
// empty when none is left.
std::string_view NextToken(std::string_view& text, char sep) {
    size_t start = text.find_first_not_of(sep);
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const size_t end = text.find(sep);
    std::string_view token = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    return token;
}

void ReadVersion(std::string_view field, uint16_t& major, uint16_t& minor) {
    major = ReadVersionNumber(field);
    const size_t dot = field.find('.');
    minor = dot == std::string_view::npos ? 0 : ReadVersionNumber(field.substr(dot + 1));
}

bool Newer(uint16_t major, uint16_t minor, uint16_t thanMajor, uint16_t thanMinor) {
    return major > thanMajor || (major == thanMajor && minor > thanMinor);
}

// "HTTP/1.0 200 OK" or "HTTP/1.1 200": the status line says the body is the file asked for.
bool StatusIsOk(std::string_view response) {
    const std::string_view line = response.substr(0, response.find("\r\n"));
    if (line.substr(0, 5) != "HTTP/") return false;
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return false;
    const std::string_view code = line.substr(blank + 1, 4);
    return code == "200" || code == "200 ";
}

std::string Version(unsigned major, unsigned minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

} // namespace

uint16_t ReadVersionNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Only the low 16 bits are kept, so the digits are summed modulo 2^16: a long run of digits
    // cannot overflow, and what fits in an int reads exactly as atoi would have it.
    uint16_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = static_cast<uint16_t>(value * 10u + static_cast<unsigned>(text[i] - '0'));
    return negative ? static_cast<uint16_t>(0u - value) : value;
}

VersionResponse ParseVersionResponse(std::string_view response, VersionList& list) {
    list = {};
    const size_t headerEnd = response.find("\r\n\r\n");
    if (headerEnd == std::string_view::npos) return VersionResponse::NoHeaderEnd;
    if (!StatusIsOk(response)) return VersionResponse::NotFound;
    const std::string_view body = response.substr(headerEnd + 4);
    const size_t titleEnd = body.find("\n\n");
    if (titleEnd == std::string_view::npos) return VersionResponse::NoVersionList;
    list.title = std::string(Trim(body.substr(0, titleEnd)));

    std::string_view rest = body.substr(titleEnd + 2);
    for (std::string_view line = NextToken(rest, '\n'); !line.empty(); line = NextToken(rest, '\n')) {
        const std::string_view offered = NextToken(line, ';');
        const std::string_view base = NextToken(line, ';');
        if (offered.empty() || base.empty()) continue;
        VersionRecord record;
        ReadVersion(offered, record.offeredMajor, record.offeredMinor);
        ReadVersion(base, record.baseMajor, record.baseMinor);
        record.note = std::string(NextToken(line, ';'));
        list.records.push_back(std::move(record));
    }
    return list.records.empty() ? VersionResponse::NoVersionList : VersionResponse::Ok;
}

size_t LatestRecord(const std::vector<VersionRecord>& records) {
    size_t latest = 0;
    for (size_t i = 1; i < records.size(); ++i)
        if (Newer(records[i].offeredMajor, records[i].offeredMinor, records[latest].offeredMajor,
                  records[latest].offeredMinor))
            latest = i;
    return latest;
}

std::string VersionRequestText(std::string_view productName) {
    std::string lower(productName);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    std::string request = "GET http://";
    request += kVendorWebHost;
    request += "/www/download/" + lower + "/Version.Txt HTTP/1.0\r\n";
    request += "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";
    request += "User-Agent: Mozilla/4.0\r\n";
    request += std::string("Host: ") + kVendorWebHost + "\r\n";
    request += "Pragma: no-cache\r\n\r\n";
    return request;
}

bool ResponseBuffer::Append(const char* data, size_t size) {
    if (overflowed_) return false;
    if (size > kMaxVersionResponse - text_.size()) {
        overflowed_ = true;
        return false;
    }
    text_.append(data, size);
    return true;
}

namespace update_status {
std::string Checking(std::string_view productName) {
    return "Checking for a new version of " + std::string(productName) + "\r\n\r\n";
}
std::string Connecting() {
    return std::string("Connecting to ") + kVendorSite + " ...\r\n";
}
std::string CannotConnect() {
    return std::string("Cannot connect to ") + kVendorName + "\r\n" +
           "Please check your internet connection, firewall and Windows firewall settings\r\n";
}
std::string VisitAdvice() {
    return std::string("Please visit ") + kVendorSite + " to download the latest version\r\n";
}
std::string Connected() {
    return "Connected\r\n";
}
std::string GettingInformation() {
    return "Getting information\r\n";
}
std::string Error() {
    return "Error\r\n";
}
std::string Failed() {
    return "Failed\r\n";
}
std::string GettingInformationFailed() {
    return std::string("Getting information failed.\r\nWe recommend you to visit ") + kVendorSite +
           ", to download and install the latest version\r\n";
}
} // namespace update_status

void ApplyVersionResponse(std::string& status, const ResponseBuffer& response, std::string_view productName) {
    if (response.overflowed()) {
        status += update_status::Failed() + update_status::VisitAdvice();
        return;
    }
    VersionList list;
    switch (ParseVersionResponse(response.text(), list)) {
    case VersionResponse::NoHeaderEnd:
    case VersionResponse::NotFound:
        status += update_status::Failed() + update_status::VisitAdvice();
        return;
    case VersionResponse::NoVersionList:
        status += update_status::GettingInformationFailed();
        return;
    case VersionResponse::Ok:
        break;
    }
    const VersionRecord& latest = list.records[LatestRecord(list.records)];
    status.clear();
    if (!list.title.empty()) status += list.title + "\r\n\r\n\r\n";
    status += "The latest version of " + std::string(productName) + " is " +
              Version(latest.offeredMajor, latest.offeredMinor) + "\r\n";
    if (!Newer(latest.offeredMajor, latest.offeredMinor, kProgramVersionMajor, kProgramVersionMinor)) {
        status += "You have the latest version\r\n";
        return;
    }
    bool forThisVersion = false;
    for (const VersionRecord& r : list.records)
        if (r.baseMajor == kProgramVersionMajor && r.baseMinor == kProgramVersionMinor) forThisVersion = true;
    // Without a line for this version the vendor has said nothing about how to get from here to the
    // newer one: the user is sent to the site.
    if (!forThisVersion)
        status += "You have " + std::string(productName) + " " +
                  Version(kProgramVersionMajor, kProgramVersionMinor) + "\r\nWe recommend you to visit " +
                  kVendorSite + ", to download and install the latest version\r\n\r\n";
}
