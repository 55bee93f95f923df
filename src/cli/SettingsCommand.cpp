#include <iostream>

#include "cli/Command.h"
#include "cli/SettingsArgs.h"
#include "core/settings/Settings.h"

namespace tovarin::cli {
namespace {

// Shows the settings file as the program reads it, after writing the given
// changes into it.
int RunSettings(const Args& args) {
    const std::vector<std::string>& assignments = args.Values(kSetOption.name);
    const std::string& fileName = args.Positional("INI");

    TAppOptions options = LoadSettingsFile(fileName);
    ApplySetArgs(assignments, options);
    if (!assignments.empty()) {
        SaveAppOptions(options, "", fileName);
    }
    for (const std::string_view key : AppOptionKeys()) {
        std::cout << key << '=' << GetAppOption(options, key) << '\n';
    }
    std::cout << DescribeAppOptions(options) << '\n';
    return 0;
}

}  // namespace

const CommandSpec& SettingsCommand() {
    static const CommandSpec spec{
        .name = "settings",
        .summary =
            "Shows the settings file as the program reads it, after writing the given "
            "settings into it.",
        .positionals = {{"INI", "the settings file (a missing one gives the defaults)"}},
        .options = {{kSetOption.name, kSetOption.valueName, "one setting to write into the file",
                     Occurs::Repeated}},
        .run = &RunSettings,
    };
    return spec;
}

}  // namespace tovarin::cli
