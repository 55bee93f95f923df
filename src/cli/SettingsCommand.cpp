#include <iostream>

#include "cli/Cli.h"
#include "core/settings/Settings.h"

namespace tovarin::cli {

// Shows the settings file as the program reads it, after writing the given
// changes into it.
int RunSettings(Args& args) {
    const std::vector<std::string> assignments = args.Values("--set");
    const std::string fileName = args.Positional("INI");
    args.ExpectEnd();

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

}  // namespace tovarin::cli
