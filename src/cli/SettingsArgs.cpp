#include "base/Errors.h"
#include "cli/Cli.h"

namespace tovarin::cli {

size_t ApplySetArgs(Args& args, TAppOptions& options) {
    const std::vector<std::string> assignments = args.Values("--set");
    for (const std::string& assignment : assignments) {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos) {
            throw UsageError("--set needs KEY=VALUE, not " + assignment);
        }
        try {
            SetAppOption(options, std::string_view(assignment).substr(0, equals),
                         std::string_view(assignment).substr(equals + 1));
        } catch (const Exception& error) {
            throw UsageError(std::string("--set ") + error.what());
        }
    }
    return assignments.size();
}

TAppOptions AppOptionsFromArgs(Args& args) {
    TAppOptions options;
    if (args.Value("--settings")) {
        throw Exception("--settings is not yet supported");
    }
    ApplySetArgs(args, options);
    return options;
}

}  // namespace tovarin::cli
