// tovarin-cli: the engine without windows, for scripting and tests.
#include <iostream>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "cli/Cli.h"

namespace tovarin::cli {

const std::vector<CommandEntry>& Commands() {
    static const std::vector<CommandEntry> commands = {
        {"eval", "eval KIND PARAM [--assured] [--all-match] [--tolerance N]", &RunEval},
        {"info", "info DOC", &RunInfo},
        {"filter",
         "filter DOC [--project N] [--one K] [--seed S] [--settings INI] [--set KEY=VALUE]... "
         "[--status]",
         &RunFilter},
        {"draws", "draws export|import DOC FILE", &RunDraws},
        {"download",
         "download DOC [--url BASE] [--user NAME] [--password PW] [--settings INI] "
         "[--timeout MS]",
         &RunDownload},
        {"settings", "settings INI [--set KEY=VALUE]...", &RunSettings},
        {"analyse",
         "analyse DOC --kind KIND [--project N]... [--settings INI] [--set KEY=VALUE]... "
         "[--seed S]",
         &RunAnalyse},
        {"backtest", "backtest DOC --project N [--from P] [--to P] [--details] [--json]",
         &RunBacktest},
    };
    return commands;
}

namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: tovarin-cli COMMAND ...\n\nCommands:\n";
    for (const CommandEntry& entry : Commands()) {
        out << "  " << entry.synopsis << '\n';
    }
}

}  // namespace
}  // namespace tovarin::cli

int main(int argc, char** argv) {
    using namespace tovarin::cli;
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        PrintHelp(std::cerr);
        return 2;
    }
    if (words.front() == "--help" || words.front() == "-h") {
        PrintHelp(std::cout);
        return 0;
    }
    const std::string name = words.front();
    words.erase(words.begin());
    for (const CommandEntry& entry : Commands()) {
        if (name != entry.name) {
            continue;
        }
        try {
            Args args(std::move(words));
            return entry.run(args);
        } catch (const UsageError& error) {
            std::cerr << "tovarin-cli " << name << ": " << error.what() << '\n';
            return 2;
        } catch (const std::exception& error) {
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "tovarin-cli: unknown command " << name << " (see --help)\n";
    return 2;
}
