// Any Opera ini file: removing a key's line takes out one stretch, a whole line: it starts at a
// line start and holds at most one line feed, at its end; both keys together only cut.
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
        const size_t removed = lines - CountOf(*out, "\n");
        Require(removed <= 1);
        // The stretch can be taken to begin where a line begins.
        const size_t cut = in.size() - out->size();
        size_t same = 0;
        while (same < out->size() && (*out)[same] == in[same]) ++same;
        bool atLineStart = false;
        for (size_t k = 0; k <= same && !atLineStart; ++k)
            atLineStart = (k == 0 || in[k - 1] == '\n') && in.compare(k + cut, std::string::npos, *out, k) == 0;
        Require(atLineStart);
    }
    if (const auto out = OperaIniWithoutDirs(in)) {
        Require(IsSubsequence(in, *out));
        Require(lines - CountOf(*out, "\n") <= 2);
    }
    return 0;
}
