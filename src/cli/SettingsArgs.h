#pragma once

#include <string>
#include <vector>

#include "cli/Command.h"
#include "core/settings/AppOptions.h"

namespace tovarin::cli {

// The settings options a command that runs the engine declares.
inline constexpr OptionSpec kSettingsOption{
    "--settings", "INI",
    "the settings file, read as at start-up (a missing one gives the defaults)", Occurs::Optional,
    true};
inline constexpr OptionSpec kSetOption{
    "--set", "KEY=VALUE", "one setting, applied after the settings file", Occurs::Repeated};

// --settings INI read as at start-up, then every --set KEY=VALUE in the
// order given; a bad --set is a UsageError.
TAppOptions AppOptionsFromArgs(const Args& args);
// The settings file read as at start-up; what it could not read goes to
// standard error as warnings.
TAppOptions LoadSettingsFile(const std::string& fileName);
// Sets each KEY=VALUE in the record, in order; a bad one is a UsageError.
void ApplySetArgs(const std::vector<std::string>& assignments, TAppOptions& options);

}  // namespace tovarin::cli
