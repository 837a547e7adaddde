#pragma once
// Digest bytes as text: two upper-case hexadecimal digits per byte ("%02X" each). Portable.
#include <cstddef>
#include <cstdint>
#include <string>

std::string HexUpper(const uint8_t* bytes, size_t count);
