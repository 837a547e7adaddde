// Any Skype "config.xml": the last-dialed cut takes out one stretch, leaves the element empty, and
// a second run changes nothing.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/applications_edits.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    const auto out = SkypeConfigWithoutLastDialed(in);
    if (!out) return 0;
    Require(IsOneCut(in, *out));
    Require(out->find("<LastDialedNumbers></LastDialedNumbers>") != std::string::npos);
    Require(!SkypeConfigWithoutLastDialed(*out));
    return 0;
}
