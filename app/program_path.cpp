#include "app/program_path.h"

std::string ProgramPathFromCommandLine(std::string_view commandLine) {
    size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    if (commandLine[start] == '"') {
        const size_t end = commandLine.find('"', start + 1);
        return std::string(commandLine.substr(start + 1, end == std::string_view::npos ? end : end - start - 1));
    }
    const size_t end = commandLine.find_first_of(" \t", start);
    return std::string(commandLine.substr(start, end == std::string_view::npos ? end : end - start));
}
