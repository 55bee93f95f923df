// The document commands: info, filter and the draw-table import and export.
#include <algorithm>
#include <iostream>

#include "cli/Cli.h"
#include "cli/Document.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/Random.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/settings/AppOptions.h"

namespace tovarin::cli {

int RunInfo(Args& args) {
    const std::string path = args.Positional("DOC");
    args.ExpectEnd();
    Document doc;
    Open(path, doc);
    std::cout << "draws " << doc.codeNet.Count() << '\n';
    std::cout << "projects " << doc.projects.PrjCount() << '\n';
    for (int i = 0; i < doc.projects.PrjCount(); ++i) {
        const TSeqPrj& project = doc.projects.GetSeqPrj(i);
        std::cout << "project " << i + 1 << " target " << project.Options().TargetSeq
                  << " tolerance " << project.Options().MissMax << " conditions "
                  << project.CheckedCount() << '/' << project.BindCount() << '\n';
        for (int k = 0; k < project.BindCount(); ++k) {
            const TBaseBind& bind = project.GetBind(k);
            PrintLine(std::string("  ") + (bind.Checked ? "[x] " : "[ ] ") + bind.GetText());
        }
    }
    return 0;
}

int RunFilter(Args& args) {
    const int projectNumber = args.IntValue("--project").value_or(1);
    const std::optional<int> one = args.IntValue("--one");
    const std::optional<int> seed = args.IntValue("--seed");
    const bool status = args.Flag("--status");
    const TAppOptions settings = AppOptionsFromArgs(args);
    const std::string path = args.Positional("DOC");
    args.ExpectEnd();

    Document doc;
    Open(path, doc);
    if (seed) {
        RandSeed(static_cast<uint64_t>(*seed));
    }
    TSeqPrj& project = ProjectArg(doc, projectNumber);
    StdoutPane pane;
    if (one) {
        // Numbers below 1 name no condition; clamped so that INT_MIN - 1 is never computed.
        project.CalcOne(std::max(*one, 0) - 1, settings, &pane);
    } else {
        project.CalcAll(settings, &pane);
    }
    if (status) {
        std::cout << "STATUS " << project.ResultCodes().ValidCount() << ' '
                  << static_cast<int>(project.VerifyState()) << '\n';
    }
    return 0;
}

int RunDraws(Args& args) {
    const std::string action = args.Positional("export or import");
    const std::string path = args.Positional("DOC");
    const std::string textFile = args.Positional("FILE");
    args.ExpectEnd();
    Document doc;
    if (action == "export") {
        Open(path, doc);
        doc.codeNet.ExportToText(textFile);
        return 0;
    }
    if (action != "import") {
        throw UsageError("draws takes export or import, not " + action);
    }
    if (FileExists(path)) {
        Open(path, doc);
    }
    if (!FileExists(textFile)) {
        throw EInOutError("No such file: " + textFile);
    }
    doc.codeNet.ImportFromText(textFile);
    SaveDocument(path, doc.codeNet, doc.projects);
    return 0;
}

}  // namespace tovarin::cli
