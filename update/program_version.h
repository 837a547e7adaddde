#pragma once
// The program's own version, as the about page shows it and the version check compares it.

constexpr int kProgramVersionMajor = 7;
constexpr int kProgramVersionMinor = 5;
