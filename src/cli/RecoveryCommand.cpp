// recovery: what the desktop program would offer at start-up for a document.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "core/app/Recovery.h"
#include "core/base/FileIO.h"

namespace tovarin::cli {

int RunRecovery(Args& args) {
    const bool json = args.Flag("--json");
    const std::optional<std::string> folder = args.Value("--folder");
    const std::string document = args.Positional("DOC");
    args.ExpectEnd();
    if (!folder) {
        throw UsageError("recovery needs --folder RECOVERY-FOLDER");
    }
    const std::string copy = RecoveryCopyPath(*folder, document);
    const bool exists = FileExists(copy);
    const bool newer = RecoveryCopyIsNewer(copy, document);
    if (json) {
        std::cout << nlohmann::json{{"document", document},
                                    {"copy", copy},
                                    {"exists", exists},
                                    {"newer", newer}}
                         .dump()
                  << '\n';
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

}  // namespace tovarin::cli
