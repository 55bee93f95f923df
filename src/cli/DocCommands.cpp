// The document commands: info, filter and the draw-table import and export.
#include <iostream>

#include "base/Errors.h"
#include "base/FileIO.h"
#include "base/Random.h"
#include "cli/Cli.h"
#include "dialogs/AppOptions.h"
#include "draws/LawNet.h"
#include "engine/Prj.h"
#include "engine/ReportPane.h"

namespace tovarin::cli {
namespace {

// The document as the program holds it: one draw table, one project list.
struct Document {
    TCodeNet codeNet;
    TPrjMgr projects{codeNet};
};

// A document that cannot be read is reported the way the program's open
// command reports it.
class DocumentOpenError : public Exception {
public:
    using Exception::Exception;
};

void Open(const std::string& path, Document& doc) {
    try {
        LoadDocument(path, doc.codeNet, doc.projects);
    } catch (const std::exception& error) {
        throw DocumentOpenError(std::string("打开文件时出现错误！\n") + error.what());
    }
}

// Standard output takes LF line ends; a report line may carry a CR LF.
void PrintLine(const std::string& line) {
    std::string text;
    text.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') {
            continue;
        }
        text += line[i];
    }
    std::cout << text << '\n';
}

class StdoutPane : public TReportPane {
public:
    void ReplaceLines(const std::vector<std::string>& lines) override {
        for (const std::string& line : lines) {
            PrintLine(line);
        }
    }
};

TSeqPrj& ProjectArg(const Document& doc, int number) {
    // The project list's own range check gives the message.
    return doc.projects.GetSeqPrj(number - 1);
}

}  // namespace

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
        project.CalcOne(*one - 1, settings, &pane);
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
