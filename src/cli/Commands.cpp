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
// "tovarin-cli NAME: " prefix of every error come from the declaration;
// the run function reads what was given through Args (Flag, Value, Values,
// IntValue, Positional) and throws UsageError for a bad combination,
// RangeError (through ProjectArg and BindArg) for a number the document
// does not have, or any core exception for a failure (status 1). Give a
// command that prints a report a --json flag that prints one JSON object
// (nlohmann-json) instead.
const std::vector<const CommandSpec*>& Commands() {
    static const std::vector<const CommandSpec*> commands = {
        &EvalCommand(),        &InfoCommand(),     &FilterCommand(),   &DrawsExportCommand(),
        &DrawsImportCommand(), &DownloadCommand(), &SettingsCommand(), &AnalyseCommand(),
    };
    return commands;
}

}  // namespace tovarin::cli
