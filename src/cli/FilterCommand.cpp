// filter: a project's filtering run, its report on standard output.
#include <iostream>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/SettingsArgs.h"
#include "core/base/Random.h"

namespace tovarin::cli {
namespace {

int RunFilter(const Args& args) {
    const int projectNumber = args.IntValue("--project").value_or(1);
    const std::optional<int> one = args.IntValue("--one");
    const std::optional<int> seed = args.IntValue("--seed");
    const TAppOptions settings = AppOptionsFromArgs(args);

    Document doc;
    Open(args.Positional("DOC"), doc);
    if (seed) {
        RandSeed(static_cast<uint64_t>(*seed));
    }
    TSeqPrj& project = ProjectArg(doc, projectNumber);
    StdoutPane pane;
    if (one) {
        project.CalcOne(BindIndexArg(project, projectNumber, *one), settings, &pane);
    } else {
        project.CalcAll(settings, &pane);
    }
    if (args.Flag("--status")) {
        std::cout << "STATUS " << project.ResultCodes().ValidCount() << ' '
                  << static_cast<int>(project.VerifyState()) << '\n';
    }
    return 0;
}

}  // namespace

const CommandSpec& FilterCommand() {
    static const CommandSpec spec{
        .name = "filter",
        .summary = "Runs a project's filter over the document and prints the report.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--project", "N", "the project to run, from 1 (default 1)"},
                    {"--one", "K", "run condition K alone, as an assured condition"},
                    {"--seed", "S", "seed of the random recommendation, for repeatable reports"},
                    kSettingsOption,
                    kSetOption,
                    {"--status", "", "end with \"STATUS <codes left> <verdict 0|1|2>\""}},
        .run = &RunFilter,
    };
    return spec;
}

}  // namespace tovarin::cli
