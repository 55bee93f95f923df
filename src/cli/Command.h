#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tovarin::cli {

// Bad arguments: the message goes to standard error after
// "tovarin-cli COMMAND: ", followed by the command's usage line, and the
// exit status is 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A number that names no project or condition of the document: still a
// usage error (status 2), but the words were well formed, so the usage line
// would not help.
class RangeError : public UsageError {
public:
    using UsageError::UsageError;
};

enum class Occurs {
    Optional,  // at most once
    Required,  // exactly once
    Repeated,  // any number of times, kept in order
};

// An option as the command declares it: "--name", or "--name VALUE" when it
// has a value name.
struct OptionSpec {
    std::string_view name;
    std::string_view valueName;  // empty for a flag
    std::string_view help;
    Occurs occurs = Occurs::Optional;
    // The value names a file or folder, so an empty one is refused: it
    // would name the current or the root folder.
    bool takesPath = false;

    bool IsFlag() const { return valueName.empty(); }
};

// A positional word; every declared one must be given, in this order,
// except optional ones, which stand last.
struct PositionalSpec {
    std::string_view name;
    std::string_view help;
    bool optional = false;
};

class Args;

// A command as data: the help text, the usage line and the parser all come
// from this declaration.
struct CommandSpec {
    std::string_view name;
    std::string_view summary;  // one line for the command list and the help
    std::vector<PositionalSpec> positionals;
    std::vector<OptionSpec> options;
    int (*run)(const Args& args);
};

// The words of one command line, parsed against its declaration. Asking for
// an option the command does not declare, or for a flag's value, is a
// programming error (std::logic_error), so a typo in a command cannot go
// unnoticed.
class Args {
public:
    // Options may stand before, between or after the positional words,
    // as "--name VALUE" or "--name=VALUE"; after "--" every word is
    // positional. Anything undeclared, missing or repeated is a UsageError.
    static Args Parse(const CommandSpec& spec, const std::vector<std::string>& words);

    bool Flag(std::string_view name) const;
    std::optional<std::string> Value(std::string_view name) const;
    // Every value of an option, in the order given.
    const std::vector<std::string>& Values(std::string_view name) const;
    // The value as a whole number; a text that is not one is a UsageError.
    std::optional<int> IntValue(std::string_view name) const;
    const std::string& Positional(std::string_view name) const;
    // An optional positional word, nothing when it was left out.
    std::optional<std::string> OptionalPositional(std::string_view name) const;

private:
    explicit Args(const CommandSpec& spec) : spec_(&spec) {}
    size_t PositionalIndex(std::string_view name) const;
    // Takes the option at words[at] and its value; returns the index of its
    // last word.
    size_t TakeOption(const std::vector<std::string>& words, size_t at);
    void CheckDeclared(std::string_view name, bool flag) const;

    const CommandSpec* spec_;
    std::map<std::string, std::vector<std::string>, std::less<>> values_;
    std::vector<std::string> positionals_;
};

// A word that must be a whole number; `what` names it in the message.
int ParseIntArg(const std::string& text, std::string_view what);

// "NAME POSITIONALS [OPTIONS]", as the command list and a usage error show
// it.
std::string Synopsis(const CommandSpec& spec);
// What "tovarin-cli NAME --help" prints.
std::string CommandHelp(const CommandSpec& spec);
// What "tovarin-cli GROUP --help" prints for a group of commands such as
// "draws".
std::string GroupHelp(std::string_view group);
// What "tovarin-cli --help" prints.
std::string ProgramHelp();

// The command table, in the order the help lists it.
const std::vector<const CommandSpec*>& Commands();

// One function per command file, each returning its declaration.
const CommandSpec& EvalCommand();
const CommandSpec& InfoCommand();
const CommandSpec& FilterCommand();
const CommandSpec& DrawsExportCommand();
const CommandSpec& DrawsImportCommand();
const CommandSpec& DrawsImportTableCommand();
const CommandSpec& DrawsExportTableCommand();
const CommandSpec& DrawsListCommand();
const CommandSpec& LedgerCommand();
const CommandSpec& UpdateCommand();
const CommandSpec& DownloadCommand();
const CommandSpec& SettingsCommand();
const CommandSpec& AnalyseCommand();
const CommandSpec& RecoveryCommand();
const CommandSpec& StatsCommand();
const CommandSpec& BacktestCommand();
const CommandSpec& GameCommand();

}  // namespace tovarin::cli
