// Any "Config.ini": the typed-address cut takes out one stretch, keeps the section name where it
// was, and a second run finds nothing more to cut.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/ie_edits.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    const auto out = MaxthonConfigWithoutTypedUrls(in);
    if (!out) return 0;
    Require(IsOneCut(in, *out));
    Require(out->find("[typedurls]") == in.find("[typedurls]"));
    Require(!MaxthonConfigWithoutTypedUrls(*out));
    return 0;
}
