#include "control/browser_titles.h"

namespace {
constexpr std::string_view kEndings[] = {"Internet Explorer", "Opera", "Mozilla Firefox", "Netscape", "Mozilla"};
}

bool TitleEndsWith(std::string_view title, std::string_view ending) {
    if (ending.size() > title.size()) return false;
    const size_t first = title.find(ending);
    return first != std::string_view::npos && first == title.size() - ending.size();
}

int BrowserEndingsMatched(std::string_view title) {
    int count = 0;
    for (std::string_view e : kEndings)
        if (TitleEndsWith(title, e)) ++count;
    return count;
}
