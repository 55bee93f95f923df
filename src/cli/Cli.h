#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/settings/AppOptions.h"

namespace tovarin::cli {

// Bad arguments: the message goes to standard error and the exit status is 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the command name, taken one option at a time; whatever
// is left at the end is a usage error.
class Args {
public:
    explicit Args(std::vector<std::string> words) : words_(std::move(words)) {}

    bool Flag(const std::string& name);
    std::optional<std::string> Value(const std::string& name);
    std::vector<std::string> Values(const std::string& name);
    // Integer value of an option; a text that is not one is a usage error.
    std::optional<int> IntValue(const std::string& name);
    std::string Positional(const char* what);
    void ExpectEnd() const;

private:
    std::vector<std::string> words_;
};

int ParseIntArg(const std::string& text, const std::string& what);

using Command = int (*)(Args& args);

struct CommandEntry {
    const char* name;
    const char* synopsis;
    Command run;
};

// Every command's table entry, in the order --help lists them.
const std::vector<CommandEntry>& Commands();

int RunEval(Args& args);
int RunInfo(Args& args);
int RunFilter(Args& args);
int RunDraws(Args& args);
int RunDownload(Args& args);
int RunAnalyse(Args& args);
int RunBacktest(Args& args);

int RunSettings(Args& args);

// --settings INI (the settings file, read as the program reads it at
// start-up; a missing file gives the defaults), then every --set KEY=VALUE
// in the order given. A bad --set is a UsageError. Take these options
// before positional words, which a KEY=VALUE would otherwise look like.
TAppOptions AppOptionsFromArgs(Args& args);
// The settings file read as at start-up; what it could not read goes to
// standard error as warnings.
TAppOptions LoadSettingsFile(const std::string& fileName);
// Sets each KEY=VALUE in the record, in order; a bad one is a UsageError.
void ApplySetArgs(const std::vector<std::string>& assignments, TAppOptions& options);

}  // namespace tovarin::cli
