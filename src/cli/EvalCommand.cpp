#include <iostream>

#include "cli/Cli.h"
#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"

namespace tovarin::cli {

int RunEval(Args& args) {
    const bool assured = args.Flag("--assured");
    const bool allMatch = args.Flag("--all-match");
    const std::optional<int> tolerance = args.IntValue("--tolerance");
    const int kind = ParseIntArg(args.Positional("KIND"), "KIND");
    const std::string param = args.Positional("PARAM");
    args.ExpectEnd();
    if (kind < 1 || kind > kBindKindCount) {
        throw UsageError("KIND must be 1..9");
    }

    TPrjOptions options;
    if (tolerance) {
        options.MissMax = *tolerance;
    }
    std::unique_ptr<TBaseBind> bind = CreateBind(kind, options);
    bind->SetParam(param);
    bind->Assured = assured;
    bind->AllMatch = allMatch;

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

}  // namespace tovarin::cli
