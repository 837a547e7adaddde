#include "app/command_line.h"

#include <cctype>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "/Clean" and "-clean" are both "clean"; anything else is no switch and gives "".
std::string SwitchName(const std::string& argument) {
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return {};
    return Lower(argument.substr(1));
}

} // namespace

std::vector<std::string> SplitArguments(const std::string& arguments) {
    std::vector<std::string> result;
    size_t i = 0;
    const size_t n = arguments.size();
    for (;;) {
        while (i < n && IsBlank(arguments[i])) ++i;
        if (i >= n) break;
        std::string current;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(arguments[i]))) {
            if (arguments[i] == '\\') {
                size_t slashes = 0;
                while (i < n && arguments[i] == '\\') ++slashes, ++i;
                if (i < n && arguments[i] == '"') {
                    // 2n backslashes and a quote: n backslashes, and the quote groups; 2n+1: a quote.
                    current.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        current += '"';
                        ++i;
                    }
                } else {
                    current.append(slashes, '\\');
                }
            } else if (arguments[i] == '"') {
                // Two quotes inside a quoted part stand for one.
                if (quoted && i + 1 < n && arguments[i + 1] == '"') {
                    current += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                current += arguments[i++];
            }
        }
        result.push_back(std::move(current));
    }
    return result;
}

CommandLine ParseCommandLine(const std::string& arguments) {
    CommandLine line;
    const std::vector<std::string> words = SplitArguments(arguments);
    if (words.empty()) return line;
    bool clean = false, preview = false, help = false, report = false;
    auto fail = [&](std::string error) {
        CommandLine invalid;
        invalid.action = CommandLine::Action::Invalid;
        invalid.error = std::move(error);
        return invalid;
    };
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string name = SwitchName(words[i]);
        if (name == "clean") {
            clean = true;
        } else if (name == "preview") {
            preview = true;
        } else if (name == "silent") {
            line.silent = true;
        } else if (name == "help" || name == "?") {
            help = true;
        } else if (name == "report") {
            if (report) return fail("/report is given twice");
            if (i + 1 >= words.size() || words[i + 1].empty()) return fail("/report needs the name of a file");
            report = true;
            line.reportFile = words[++i];
        } else {
            return fail("unknown argument \"" + words[i] + "\"");
        }
    }
    if (help) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (clean && preview) return fail("/clean and /preview exclude each other");
    if (!clean && !preview) return fail("/clean or /preview is missing");
    line.action = clean ? CommandLine::Action::Clean : CommandLine::Action::Preview;
    return line;
}

std::string UsageLine() { return "Usage: zlt.exe /clean | /preview [/report FILE] [/silent] | /help"; }

std::string UsageText() {
    return UsageLine() +
           "\n"
           "\n"
           "  /clean        Clears what is selected in the program's settings, without a window.\n"
           "  /preview      Lists what /clean would remove and leave; changes nothing.\n"
           "  /report FILE  Writes the report of the run to FILE, as JSON in UTF-8.\n"
           "  /silent       Writes nothing but errors.\n"
           "  /help         Shows this text.\n"
           "\n"
           "The report of every /clean is also kept with the program's own reports.\n"
           "Exit codes: 0 everything selected was done; 1 items were left (held by another program,\n"
           "access denied); 2 bad arguments, or settings that cannot be read; 3 another clearing\n"
           "(the program in the tray, or another command line) is running.\n";
}
