// info: what a document holds, as lines to read or as one JSON object.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/Output.h"
#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"

namespace tovarin::cli {
namespace {

void PrintText(const Document& doc) {
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
}

nlohmann::ordered_json BindJson(const TBaseBind& bind) {
    return {
        {"kind", bind.Kind()},       {"name", BindKindNames[static_cast<size_t>(bind.Kind())]},
        {"text", bind.GetText()},    {"param", bind.Param()},
        {"Checked", bind.Checked},   {"Assured", bind.Assured},
        {"AllMatch", bind.AllMatch}, {"MultiClause", bind.MultiClause},
    };
}

// The settings under the names of the record's fields, in the record's
// order (ordered_json keeps the keys as written).
nlohmann::ordered_json ProjectJson(const TSeqPrj& project) {
    const TPrjOptions& options = project.Options();
    nlohmann::ordered_json json = {
        {"TargetSeq", options.TargetSeq},
        {"MissMax", options.MissMax},
        {"Large", options.Large},
        {"LargeSize", options.LargeSize},
        {"Middle", options.Middle},
        {"MiddleSize", options.MiddleSize},
        {"Small", options.Small},
        {"SmallSize", options.SmallSize},
        {"Tiny", options.Tiny},
        {"TinySize", options.TinySize},
        {"HeadLimit", options.HeadLimit},
        {"FloatOn", options.FloatOn},
        {"FloatCount", options.FloatCount},
        {"RcMissBase", options.RcMissBase},
    };
    nlohmann::ordered_json& conditions = json["conditions"] = nlohmann::ordered_json::array();
    for (int k = 0; k < project.BindCount(); ++k) {
        conditions.push_back(BindJson(project.GetBind(k)));
    }
    return json;
}

void PrintJson(const Document& doc) {
    nlohmann::ordered_json projects = nlohmann::ordered_json::array();
    for (int i = 0; i < doc.projects.PrjCount(); ++i) {
        projects.push_back(ProjectJson(doc.projects.GetSeqPrj(i)));
    }
    const nlohmann::ordered_json json = {{"draws", doc.codeNet.Count()},
                                         {"game", GameName(doc.codeNet.Game())},
                                         {"labelled", doc.codeNet.LabelledCount()},
                                         {"projects", projects}};
    std::cout << JsonText(json, 2) << '\n';
}

int RunInfo(const Args& args) {
    Document doc;
    Open(args.Positional("DOC"), doc);
    if (args.Flag("--json")) {
        PrintJson(doc);
    } else {
        PrintText(doc);
    }
    return 0;
}

}  // namespace

const CommandSpec& InfoCommand() {
    static const CommandSpec spec{
        .name = "info",
        .summary = "Lists the document's draw count, its projects and their conditions.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--json", "", "one JSON object instead of lines (keys in README.md)"}},
        .run = &RunInfo,
    };
    return spec;
}

}  // namespace tovarin::cli
