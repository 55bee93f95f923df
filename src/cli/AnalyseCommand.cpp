// The analyse command: the result analyses of the main window's project
// menu, printed instead of shown.
#include <iostream>
#include <map>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/SettingsArgs.h"
#include "core/analyses/Analyses.h"
#include "core/base/Random.h"

namespace tovarin::cli {
namespace {

const std::map<std::string, TAnalysisKind>& ProjectAnalyses() {
    static const std::map<std::string, TAnalysisKind> kinds = {
        {"double", TAnalysisKind::Double},     {"single", TAnalysisKind::Single},
        {"head", TAnalysisKind::Head},         {"size", TAnalysisKind::SmallBig},
        {"missstat", TAnalysisKind::MissStat}, {"missview", TAnalysisKind::MissView},
        {"base", TAnalysisKind::BaseCode},
    };
    return kinds;
}

class CollectingPane : public TReportPane {
public:
    void ReplaceLines(const std::vector<std::string>& lines) override { Lines = lines; }
    std::vector<std::string> Lines;
};

// The report as the output area holds it, each occurrence the verification
// colours red wrapped in << and >>.
std::string MarkedText(const std::vector<std::string>& lines, const std::string& code) {
    std::string text;
    for (const std::string& line : lines) {
        text += ShownLine(line);
        text += '\n';
    }
    std::string marked;
    size_t done = 0;
    for (size_t hit : FindWinningCode(std::string_view(text), code)) {
        marked.append(text, done, hit - done);
        marked += "<<" + text.substr(hit, code.size()) + ">>";
        done = hit + code.size();
    }
    marked.append(text, done);
    return marked;
}

void Verify(TSeqPrj& project, const TAppOptions& settings) {
    CollectingPane pane;
    project.CalcAll(settings, &pane);
    const std::string code = WinningCodeText(project);
    if (code.empty()) {
        throw Exception(MissingDrawMessage(project));
    }
    std::cout << MarkedText(pane.Lines, code);
}

int RunAnalyse(const Args& args) {
    // Declared as required, so always given.
    const std::string kind = *args.Value("--kind");
    const std::vector<std::string>& numbers = args.Values("--project");
    const std::optional<int> seed = args.IntValue("--seed");
    const TAppOptions settings = AppOptionsFromArgs(args);
    const auto analysis = ProjectAnalyses().find(kind);
    const bool contrast = kind == "contrast";
    if (analysis == ProjectAnalyses().end() && !contrast && kind != "verify") {
        throw UsageError("unknown --kind " + kind);
    }
    if (contrast && numbers.size() < 2) {
        throw UsageError("contrast needs two or more --project");
    }
    if (!contrast && numbers.size() > 1) {
        throw UsageError(kind + " takes one --project");
    }

    std::vector<int> projectNumbers;
    projectNumbers.reserve(numbers.size());
    for (const std::string& number : numbers) {
        projectNumbers.push_back(ParseIntArg(number, "--project"));
    }
    if (projectNumbers.empty()) {
        projectNumbers.push_back(1);
    }

    Document doc;
    Open(args.Positional("DOC"), doc);
    if (seed) {
        RandSeed(static_cast<uint64_t>(*seed));
    }
    std::vector<TSeqPrj*> projects;
    projects.reserve(projectNumbers.size());
    for (int number : projectNumbers) {
        projects.push_back(&ProjectArg(doc, number));
    }
    if (contrast) {
        // The comparison runs the projects itself.
        StdoutPane().ReplaceLines(ContrastReport(projects, settings));
        return 0;
    }
    TSeqPrj& project = *projects.front();
    if (analysis == ProjectAnalyses().end()) {
        Verify(project, settings);
        return 0;
    }
    project.CalcAll(settings, nullptr);
    StdoutPane().ReplaceLines(BuildAnalysis(analysis->second, project, settings));
    return 0;
}

}  // namespace

const CommandSpec& AnalyseCommand() {
    static const CommandSpec spec{
        .name = "analyse",
        .summary = "Runs a project and prints one of the result analyses of the project menu.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--kind", "KIND",
                     "double, single, head, size, missstat, missview, base, verify or contrast",
                     Occurs::Required},
                    {"--project", "N",
                     "the project, from 1 (default 1); contrast takes two or more",
                     Occurs::Repeated},
                    kSettingsOption,
                    kSetOption,
                    {"--seed", "S", "seed of the random recommendation, for repeatable reports"}},
        .run = &RunAnalyse,
    };
    return spec;
}

}  // namespace tovarin::cli
