// recovery: what the desktop program would offer at start-up for a document.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Output.h"
#include "core/app/Recovery.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"

namespace tovarin::cli {
namespace {

int RunRecovery(const Args& args) {
    const std::string& document = args.Positional("DOC");
    // Named as the window names it, whatever folder the command runs in.
    const std::string copy =
        RecoveryCopyPath(*args.Value("--folder"), AbsolutePath(document, CurrentFolder()));
    const bool exists = FileExists(copy);
    const bool newer = RecoveryCopyIsNewer(copy, document);
    if (args.Flag("--json")) {
        const nlohmann::ordered_json json = {
            {"document", document}, {"copy", copy}, {"exists", exists}, {"newer", newer}};
        std::cout << JsonText(json) << '\n';
    } else {
        std::cout << "copy " << copy << '\n'
                  << "state "
                  << (!exists ? "none"
                      : newer ? "newer"
                              : "older")
                  << '\n';
    }
    return 0;
}

}  // namespace

const CommandSpec& RecoveryCommand() {
    static const CommandSpec spec{
        .name = "recovery",
        .summary = "Names a document's recovery copy and whether it is newer than the document.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--folder", "RECOVERY",
                     "the recovery folder (recovery in the user's data "
                     "folder)",
                     Occurs::Required, true},
                    {"--json", "", "one JSON object instead of lines"}},
        .run = &RunRecovery,
    };
    return spec;
}

}  // namespace tovarin::cli
