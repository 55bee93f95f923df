// draws import-table: a draw-history file (a web site's or a spreadsheet's
// CSV or text) into the document's draw table, replacing it or appended.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Document.h"
#include "core/base/FileIO.h"
#include "core/draws/TableImport.h"

namespace tovarin::cli {
namespace {

// Conflicting lines and labels are named one by one, so the file can be
// fixed; missing labels are listed by ImportedRows itself.
std::vector<TSeq> RowsOrRefusal(const Document& doc, const TTableRead& read,
                                const TImportPlan& plan, bool allowGaps) {
    std::string message;
    if (!read.Conflicts.empty()) {
        message = ConflictsText();
        for (const TDrawConflict& conflict : read.Conflicts) {
            message += "\n" + ConflictText(conflict);
        }
    } else if (!plan.Conflicts.empty()) {
        message = LabelConflictsText();
        for (const TLabelConflict& conflict : plan.Conflicts) {
            message += "\n" + LabelConflictText(conflict);
        }
    } else if (!allowGaps && !plan.Gaps.Empty()) {
        message = GapsText(plan.Gaps) + "\n（加上 --allow-gaps 仍然导入）";
    } else {
        return ImportedRows(doc.codeNet.Rows(), read, plan.Mode, allowGaps);
    }
    throw EImportError(message);
}

nlohmann::ordered_json GapsJson(const TLabelGaps& gaps) {
    nlohmann::ordered_json listed = nlohmann::ordered_json::array();
    for (const TLabel label : gaps.Listed) {
        listed.push_back(label.Text());
    }
    return listed;
}

int RunDrawsImportTable(const Args& args) {
    const std::string& path = args.Positional("DOC");
    const TImportMode mode = args.Flag("--append") ? TImportMode::Append : TImportMode::Replace;
    Document doc;
    if (FileExists(path)) {
        Open(path, doc);
    }
    const TTableRead read = ReadDrawTableFile(args.Positional("FILE"));
    const TImportPlan plan = PlanImport(doc.codeNet.Rows(), read, mode);
    const int before = doc.codeNet.Count();
    doc.codeNet.Replace(RowsOrRefusal(doc, read, plan, args.Flag("--allow-gaps")));
    SaveDocument(path, doc.codeNet, doc.projects);

    const int count = doc.codeNet.Count();
    const int imported = mode == TImportMode::Append ? count - before : count;
    if (args.Flag("--json")) {
        nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
        for (const TSkippedLine& line : read.Skipped) {
            skipped.push_back({{"line", line.Line}, {"reason", line.Reason}});
        }
        const nlohmann::ordered_json json = {
            {"read", read.Draws.size()},
            {"imported", imported},
            {"mode", mode == TImportMode::Append ? "append" : "replace"},
            {"draws", count},
            {"skipped", skipped},
            {"gaps", GapsJson(plan.Gaps)},
            {"gaps_total", plan.Gaps.Total},
        };
        std::cout << json.dump(2) << '\n';
        return 0;
    }
    const TLabel newest = count > 0 ? doc.codeNet.GetSeq(count - 1).GetLabel() : TLabel();
    std::cout << "读到" << read.Draws.size() << "期开奖号码\n"
              << ImportDoneText(mode, imported, count + doc.codeNet.FirstPeriod() - 1, newest)
              << '\n';
    for (const TSkippedLine& line : read.Skipped) {
        std::cout << SkippedText(line) << '\n';
    }
    if (!plan.Gaps.Empty()) {
        std::cout << GapsText(plan.Gaps) << '\n';
    }
    return 0;
}

}  // namespace

const CommandSpec& DrawsImportTableCommand() {
    static const CommandSpec spec{
        .name = "draws import-table",
        .summary =
            "Reads a draw-history file (CSV or text from a web site or a spreadsheet) into the "
            "document's draw table, replacing it or appended; a missing document is created.",
        .positionals = {{"DOC", "the document (.lvrn)"}, {"FILE", "the draw-history file"}},
        .options =
            {
                {.name = "--append",
                 .valueName = "",
                 .help = "add the file's draws after the table's last draw instead of replacing "
                         "the table: by label when both have labels, otherwise after the longest "
                         "run of the table's last draws (at least three) that the file holds"},
                {.name = "--allow-gaps",
                 .valueName = "",
                 .help = "import even when periods are missing (listed in the report)"},
                {.name = "--json",
                 .valueName = "",
                 .help = "print {\"read\", \"imported\", \"mode\", \"draws\", \"skipped\": "
                         "[{\"line\", \"reason\"}], \"gaps\": [labels], \"gaps_total\"} as "
                         "JSON"},
            },
        .run = &RunDrawsImportTable,
    };
    return spec;
}

}  // namespace tovarin::cli
