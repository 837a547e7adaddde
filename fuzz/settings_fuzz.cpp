// Any file content: loading never reads past the buffer, and a loaded record saves and loads back to
// the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/settings_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A private copy of exactly `size` bytes, so that AddressSanitizer sees any read beyond it.
    std::vector<uint8_t> copy(data, data + size);
    ProgramSettings s;
    s.ApplyDefaults();
    if (ParseSettings(copy.data(), copy.size(), s) != ParseResult::Ok) return 0;
    if (s.splitterPos < 180) std::abort();
    const auto saved = SerializeSettings(s);
    ProgramSettings again;
    if (ParseSettings(saved.data(), saved.size(), again) != ParseResult::Ok) std::abort();
    if (SerializeSettings(again) != saved) std::abort();
    return 0;
}
