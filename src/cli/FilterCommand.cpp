// filter: a project's filtering run, its report on standard output.
#include <iostream>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/SettingsArgs.h"
#include "core/base/DateTime.h"
#include "core/base/Random.h"
#include "core/ledger/LedgerRecording.h"

namespace tovarin::cli {
namespace {

// The furthest a --target may lie beyond the period after the last draw.
constexpr int kMaxTargetAhead = 1000;

int TargetArg(const TCodeNet& net, int target) {
    const int64_t last = int64_t{net.FirstPeriod()} + net.Count() + kMaxTargetAhead;
    if (target < 1 || target > last) {
        throw RangeError("target " + std::to_string(target) + " is not within periods 1.." +
                         std::to_string(last));
    }
    return target;
}

int RunFilter(const Args& args) {
    const int projectNumber = args.IntValue("--project").value_or(1);
    const std::optional<int> one = args.IntValue("--one");
    const std::optional<int> seed = args.IntValue("--seed");
    const std::optional<int> target = args.IntValue("--target");
    const bool record = args.Flag("--record");
    if (record && one) {
        throw UsageError("--record records a whole run, not --one");
    }
    const TAppOptions settings = AppOptionsFromArgs(args);

    const std::string& path = args.Positional("DOC");
    Document doc;
    Open(path, doc);
    if (seed) {
        RandSeed(static_cast<uint64_t>(*seed));
    }
    TSeqPrj& project = ProjectArg(doc, projectNumber);
    const TPrjOptions stored = project.Options();
    if (target) {
        TPrjOptions options = stored;
        options.TargetSeq = TargetArg(doc.codeNet, *target);
        project.SetOptions(options);
    }
    StdoutPane pane;
    if (one) {
        project.CalcOne(BindIndexArg(project, projectNumber, *one), settings, &pane);
    } else {
        project.CalcAll(settings, &pane);
    }
    if (record) {
        RecordPrediction(doc.ledger, project, projectNumber, Now());
    }
    if (target) {
        project.SetOptions(stored);
    }
    if (record) {
        SaveDocument(path, doc.codeNet, doc.projects);
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
                    {"--target", "P",
                     "run for period P as if it were the target (1 to the period after the last "
                     "draw plus 1000); the stored project stays as it is"},
                    {"--record", "",
                     "record the run in the ledger (成绩单) and save the document; refused when "
                     "the target is already drawn"},
                    kSettingsOption,
                    kSetOption,
                    {"--status", "", "end with \"STATUS <codes left> <verdict 0|1|2>\""}},
        .run = &RunFilter,
    };
    return spec;
}

}  // namespace tovarin::cli
