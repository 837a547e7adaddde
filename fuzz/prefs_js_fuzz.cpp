// Any "prefs.js": emptying one preference takes out one stretch that holds no line break and is
// idempotent; all three together only cut. The cache folder, when one is named, is a piece of the
// file without quotes.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/mozilla_edits.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    for (std::string_view name : kPrefsDownloadDirNames) {
        const auto out = PrefWithEmptyValue(in, name);
        if (!out) continue;
        Require(IsOneCut(in, *out));
        Require(CountOf(in, "\n") == CountOf(*out, "\n") && CountOf(in, "\r") == CountOf(*out, "\r"));
        Require(!PrefWithEmptyValue(*out, name));
    }
    if (const auto out = PrefsWithoutDownloadDirs(in))
        Require(out->size() < in.size() && IsSubsequence(in, *out));

    if (const auto folder = PrefsDiskCacheFolder(in)) {
        Require(folder->ends_with("\\Cache") && folder->size() > 6);
        const std::string parent = folder->substr(0, folder->size() - 6);
        Require(parent.find('"') == std::string::npos && in.find(parent) != std::string::npos);
    }
    return 0;
}
