// The command line: words split as the system's programs split them, the switches and their
// mistakes, and the help text's promises.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {
using Words = std::vector<std::string>;
using Action = CommandLine::Action;
} // namespace

TEST(CommandLine, WordsSplitByBlanksQuotesAndBackslashes) {
    EXPECT_EQ(SplitArguments(""), Words{});
    EXPECT_EQ(SplitArguments("  \t "), Words{});
    EXPECT_EQ(SplitArguments("/clean  /silent\t/report r.json"), (Words{"/clean", "/silent", "/report", "r.json"}));
    // Quotes group blanks and go; backslashes are kept except before a quote.
    EXPECT_EQ(SplitArguments("/report \"C:\\My Reports\\r.json\""), (Words{"/report", "C:\\My Reports\\r.json"}));
    EXPECT_EQ(SplitArguments("a\"b c\"d"), Words{"ab cd"});
    EXPECT_EQ(SplitArguments("\"C:\\dir\\\\\" x"), (Words{"C:\\dir\\", "x"}));
    EXPECT_EQ(SplitArguments("say\\\"hi\\\""), Words{"say\"hi\""});
    EXPECT_EQ(SplitArguments("\"one \"\"two\"\"\""), Words{"one \"two\""});
    EXPECT_EQ(SplitArguments("\"\" x"), (Words{"", "x"}));
}

TEST(CommandLine, NoArgumentsIsTheProgramWithItsWindow) {
    EXPECT_EQ(ParseCommandLine("").action, Action::Window);
    EXPECT_EQ(ParseCommandLine("   ").action, Action::Window);
}

TEST(CommandLine, CleanAndPreviewTakeAReportFileAndSilence) {
    CommandLine line = ParseCommandLine("/clean");
    EXPECT_EQ(line.action, Action::Clean);
    EXPECT_FALSE(line.silent);
    EXPECT_TRUE(line.reportFile.empty());

    line = ParseCommandLine("-PREVIEW /Report \"C:\\out dir\\p.json\" /silent");
    EXPECT_EQ(line.action, Action::Preview);
    EXPECT_TRUE(line.silent);
    EXPECT_EQ(line.reportFile, "C:\\out dir\\p.json");

    // In any order, the file right after /report even when it looks like a switch.
    line = ParseCommandLine("/silent /report /clean.json /clean");
    EXPECT_EQ(line.action, Action::Clean);
    EXPECT_EQ(line.reportFile, "/clean.json");
}

TEST(CommandLine, HelpWinsOverEverythingButAMistake) {
    EXPECT_EQ(ParseCommandLine("/help").action, Action::Help);
    EXPECT_EQ(ParseCommandLine("/?").action, Action::Help);
    EXPECT_EQ(ParseCommandLine("/clean /help").action, Action::Help);
    EXPECT_EQ(ParseCommandLine("/help /bogus").action, Action::Invalid);
}

TEST(CommandLine, MistakesAreNamed) {
    const struct {
        const char* arguments;
        const char* error;
    } cases[] = {
        {"/bogus", "unknown argument \"/bogus\""},
        {"clean", "unknown argument \"clean\""},
        {"/clean extra", "unknown argument \"extra\""},
        {"/", "unknown argument \"/\""},
        {"/clean /preview", "/clean and /preview exclude each other"},
        {"/silent", "/clean or /preview is missing"},
        {"/report r.json", "/clean or /preview is missing"},
        {"/clean /report", "/report needs the name of a file"},
        {"/clean /report \"\"", "/report needs the name of a file"},
        {"/clean /report a /report b", "/report is given twice"},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.action, Action::Invalid) << c.arguments;
        EXPECT_EQ(line.error, c.error) << c.arguments;
    }
}

TEST(CommandLine, TheHelpBeginsWithTheUsageAndNamesEverySwitchAndExitCode) {
    const std::string help = UsageText();
    EXPECT_EQ(help.rfind(UsageLine() + "\n", 0), 0u);
    for (const char* word : {"/clean", "/preview", "/report FILE", "/silent", "/help"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    for (int code : {ExitAllDone, ExitItemsLeft, ExitBadArguments, ExitClearingRunning})
        EXPECT_NE(help.find(std::to_string(code) + " "), std::string::npos) << code;
}
