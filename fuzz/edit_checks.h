#pragma once
// Invariants shared by the editor fuzz targets. A broken one aborts, which libFuzzer reports.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

inline void Require(bool holds) {
    if (!holds) std::abort();
}

// `out` is `in` with one stretch taken out: a prefix of `in` followed by a suffix of `in`.
inline bool IsOneCut(std::string_view in, std::string_view out) {
    if (out.size() >= in.size()) return false;
    const size_t common = std::mismatch(out.begin(), out.end(), in.begin()).first - out.begin();
    return in.ends_with(out.substr(common));
}

// Every byte of `out` appears in `in`, in order: only cuts were made.
inline bool IsSubsequence(std::string_view in, std::string_view out) {
    size_t i = 0;
    for (char c : out) {
        while (i < in.size() && in[i] != c) ++i;
        if (i == in.size()) return false;
        ++i;
    }
    return true;
}

inline size_t CountOf(std::string_view text, std::string_view what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

// A private copy of exactly the fuzzer's bytes, so that AddressSanitizer sees any read past them.
inline std::string CopyOf(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}
