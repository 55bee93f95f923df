// eval: the codes one condition passes, without a document.
#include <iostream>

#include "cli/Command.h"
#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"

namespace tovarin::cli {
namespace {

int RunEval(const Args& args) {
    const int kind = ParseIntArg(args.Positional("KIND"), "KIND");
    if (kind < 1 || kind > kBindKindCount) {
        throw UsageError("KIND must be 1..9");
    }
    TPrjOptions options;
    if (const std::optional<int> tolerance = args.IntValue("--tolerance")) {
        options.MissMax = *tolerance;
    }
    std::unique_ptr<TBaseBind> bind = CreateBind(kind, options);
    bind->SetParam(args.Positional("PARAM"));
    bind->Assured = args.Flag("--assured");
    bind->AllMatch = args.Flag("--all-match");

    const TCodes& codes = bind->GetCodes();
    std::string passing;
    int count = 0;
    for (TCode code = 0; code < codes.Count(); ++code) {
        if (codes.GetMiss(code) == 0) {
            passing += (count++ > 0 ? " " : "") + CodeToStr(code);
        }
    }
    std::cout << bind->GetText() << '\n' << count << '\n' << passing << '\n';
    return 0;
}

}  // namespace

const CommandSpec& EvalCommand() {
    static const CommandSpec spec{
        .name = "eval",
        .summary =
            "Prints one condition's text, how many of the 100 head-tail codes pass it, and "
            "those codes.",
        .positionals = {{"KIND", "the condition kind, 1..9 (1 稳上头 ... 9 稳搭配)"},
                        {"PARAM",
                         "the condition's parameter text, as the condition editor takes it"}},
        .options = {{"--assured", "", "an assured (铁) condition instead of a tolerated (容) one"},
                    {"--all-match", "",
                     "稳搭配: every clause must match (并且) instead of any (或者)"},
                    {"--tolerance", "N", "the project tolerance the condition sees (default 1)"}},
        .run = &RunEval,
    };
    return spec;
}

}  // namespace tovarin::cli
