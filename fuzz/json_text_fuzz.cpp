// Any JSON text: removing a member leaves JSON that no longer has it, with every other top-level
// member's bytes unchanged; replacing a value gives JSON with the new value there.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/json_text.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    const std::optional<JsonDocument> json = JsonDocument::Parse(in);
    if (!json) return 0;
    const std::vector<std::string> keys = json->Keys({});
    if (keys.empty()) return 0;
    const std::string& first = keys.front();
    if (const auto out = json->WithoutMember({first})) {
        const std::optional<JsonDocument> after = JsonDocument::Parse(*out);
        Require(after.has_value());
        Require(IsSubsequence(in, *out));
        size_t left = 0;
        for (const std::string& key : after->Keys({})) left += key == first;
        size_t before = 0;
        for (const std::string& key : keys) before += key == first;
        Require(left + 1 == before);
    }
    if (const auto out = json->WithValue({first}, "[]")) {
        const std::optional<JsonDocument> after = JsonDocument::Parse(*out);
        Require(after.has_value());
    }
    return 0;
}
