#include "cli/Command.h"

namespace tovarin::cli {

// The command table, in the order "tovarin-cli --help" lists it.
//
// To add a command: write src/cli/NameCommand.cpp with a run function
// `int RunName(const Args& args)` and `const CommandSpec& NameCommand()`
// returning a function-local static CommandSpec: its name (two words, such
// as "draws export", make a command of a group), a one-line summary, the
// positional words and the options with their help texts. Declare
// NameCommand() in Command.h, list it below and add the file to
// src/cli/CMakeLists.txt. The parser, "--help", the usage line and the
// "tovarin-cli NAME: " prefix of every error come from the declaration.
// The run function reads what was given through Args (Flag, Value, Values,
// IntValue, Positional) and throws UsageError for a bad combination,
// RangeError (through ProjectArg and BindIndexArg in Document.h) for a
// number the document does not have, or any core exception for a failure
// (status 1). A command that prints a report takes --json to print one
// JSON object (nlohmann-json) instead.
const std::vector<const CommandSpec*>& Commands() {
    static const std::vector<const CommandSpec*> commands = {
        &EvalCommand(),         // one condition's codes, without a document
        &InfoCommand(),         // what a document holds
        &FilterCommand(),       // a project's filtering run
        &DrawsExportCommand(),  // the draw table to a text file
        &DrawsImportCommand(),  // a text file into the draw table
        &DownloadCommand(),     // the draw history from the service
        &SettingsCommand(),     // the settings file
        &AnalyseCommand(),      // the result analyses of a project
        &RecoveryCommand(),     // a document's recovery copy
        &StatsCommand(),        // the history statistics of the draws
        &BacktestCommand(),     // a project over past draws against chance
        // a draw-history file into the draw table, replacing it or appended
        &DrawsImportTableCommand(),
        &DrawsExportTableCommand(),  // the draws with labels and dates as CSV
        &DrawsListCommand(),         // the draws, one line each
        &GameCommand(),              // the game the draw table keeps
        &LedgerCommand(),            // the recorded predictions (成绩单)
        &UpdateCommand(),            // the draws from the player's sources
    };
    return commands;
}

}  // namespace tovarin::cli
