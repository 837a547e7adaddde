#pragma once
// The sections and keys of options.ini: one section per page, named as the page is, one key per box.
// Portable: no Windows header.

namespace OptionKeys {

inline constexpr char kFirefoxPage[] = "Mozilla Firefox";
inline constexpr char kSessions[] = "Sessions";
inline constexpr char kFormData[] = "Form Data";

} // namespace OptionKeys
