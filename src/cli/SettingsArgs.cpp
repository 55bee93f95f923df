#include <iostream>

#include "cli/SettingsArgs.h"
#include "core/base/Errors.h"
#include "core/settings/Settings.h"

namespace tovarin::cli {

TAppOptions LoadSettingsFile(const std::string& fileName) {
    std::vector<std::string> problems;
    TAppOptions options = LoadAppOptions(fileName, problems);
    for (const std::string& problem : problems) {
        std::cerr << "warning: " << problem << '\n';
    }
    return options;
}

void ApplySetArgs(const std::vector<std::string>& assignments, TAppOptions& options) {
    for (const std::string& assignment : assignments) {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos) {
            throw UsageError("--set needs KEY=VALUE, not " + assignment);
        }
        try {
            SetAppOption(options, std::string_view(assignment).substr(0, equals),
                         std::string_view(assignment).substr(equals + 1));
        } catch (const Exception& error) {
            throw UsageError("--set " + assignment + ": " + error.what());
        }
    }
}

TAppOptions AppOptionsFromArgs(const Args& args) {
    const std::optional<std::string> fileName = args.Value(kSettingsOption.name);
    TAppOptions options = fileName ? LoadSettingsFile(*fileName) : TAppOptions{};
    ApplySetArgs(args.Values(kSetOption.name), options);
    return options;
}

}  // namespace tovarin::cli
