// Any Safari property list: each pass leaves the key followed by one character and the empty
// value, keeps every "<key>" and every dictionary end, and a second run changes nothing.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/chrome_opera_safari_edits.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    for (const SafariPlistPass& pass : kSafariPlistPasses) {
        const auto out = SafariPlistWithEmptyValue(in, pass);
        if (!out) continue;
        const size_t p = in.find(pass.key);
        Require(out->find(pass.key) == p);
        Require(out->compare(p + pass.key.size() + 1, pass.emptyValue.size(), pass.emptyValue) == 0);
        Require(CountOf(*out, "<key>") == CountOf(in, "<key>"));
        Require(CountOf(*out, "</dict>") == CountOf(in, "</dict>"));
        Require(!SafariPlistWithEmptyValue(*out, pass));
    }
    return 0;
}
