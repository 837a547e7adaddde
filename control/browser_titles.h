#pragma once
// Which window titles belong to browsers that the hot keys close or hide. Portable.
#include <string_view>

// A title ends with an ending when the ending's first occurrence in it starts exactly where a
// suffix would (so a title that also holds the ending earlier does not count).
bool TitleEndsWith(std::string_view title, std::string_view ending);
// How many of the five browser endings ("Internet Explorer", "Opera", "Mozilla Firefox", "Netscape",
// "Mozilla") the title ends with.
int BrowserEndingsMatched(std::string_view title);
