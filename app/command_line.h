#pragma once
// The program's command line: "/clean" and "/preview" clear (or only list) what the stored settings
// select without a window, for scripts and scheduled tasks; "/report FILE" writes the run's JSON
// report there; "/silent" keeps quiet but for errors; "/help" says all this. No argument at all is
// the program as it always was. Portable: no Windows header.
#include <string>
#include <vector>

// What the process ends with in command-line mode (docs/report-format.md lists them for scripts).
enum CommandLineExit {
    ExitAllDone = 0,
    ExitItemsLeft = 1,   // something selected stayed: held by another program, access denied
    ExitBadArguments = 2, // or settings that cannot be read
    ExitClearingRunning = 3, // another clearing of this user's session (the tray's, another command line)
};

struct CommandLine {
    enum class Action {
        Window,  // no arguments: the program with its window and tray icon
        Clean,
        Preview,
        Help,
        Invalid, // see `error`
    };
    Action action = Action::Window;
    bool silent = false;
    std::string reportFile; // empty: no report beside the user's own reports folder
    std::string error;      // what was wrong with the arguments, for Invalid
};

// The arguments after the program's name, as WinMain receives them, split by the rules the
// system's own programs follow (quotes group, backslashes escape only a quote). Switches start
// with '/' or '-' and are read without regard to case.
CommandLine ParseCommandLine(const std::string& arguments);
std::vector<std::string> SplitArguments(const std::string& arguments);

// The text of "/help"; its first line is the short usage shown after an error.
std::string UsageText();
std::string UsageLine();
