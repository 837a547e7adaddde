// Any Opera ini file: removing a key's line takes out one stretch with exactly one line feed; both
// keys together only cut, one line each.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/chrome_opera_safari_edits.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    const size_t lines = CountOf(in, "\n");
    for (std::string_view key : kOperaIniDirKeys) {
        const auto out = OperaIniWithoutKeyLine(in, key);
        if (!out) continue;
        Require(IsOneCut(in, *out));
        Require(CountOf(*out, "\n") + 1 == lines);
    }
    if (const auto out = OperaIniWithoutDirs(in)) {
        Require(IsSubsequence(in, *out));
        const size_t removed = lines - CountOf(*out, "\n");
        Require(removed == 1 || removed == 2);
    }
    return 0;
}
