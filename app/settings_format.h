#pragma once
// The settings.dat byte format: little-endian, no padding, 179 bytes plus the password's length.
// Portable: no Windows header.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/settings.h"

// The 32 characters of the header; the file stores them followed by one zero byte.
extern const char kSettingsHeader[];
constexpr size_t kSettingsHeaderSize = 33;
constexpr size_t kSettingsFixedSize = 179; // file size without the password

std::vector<uint8_t> SerializeSettings(const ProgramSettings& s);

// Short: the header was right but the file ended before the last field.
enum class ParseResult { Ok, Short, WrongHeader };

// Fills the stored fields of `s` from `data` in file order. A wrong header changes nothing. A short
// file fills the fields it holds in full and leaves every later field as it was. splitterPos is never
// below 180 afterwards.
ParseResult ParseSettings(const uint8_t* data, size_t size, ProgramSettings& s);
