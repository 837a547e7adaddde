#pragma once
// SHA-256 (FIPS 180-2) of a byte string. The program carries its own rather than asking the
// platform: CryptoAPI has no SHA-256 provider before Windows XP SP3, and a password digest that
// cannot be computed would either lock the user out or let anyone in. Portable: no Windows header.
#include <array>
#include <cstdint>
#include <string_view>

using Sha256Digest = std::array<uint8_t, 32>;

Sha256Digest Sha256(std::string_view bytes);
