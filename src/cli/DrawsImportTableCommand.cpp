// draws import-table: a draw-history file (a web site's or a spreadsheet's
// CSV or text) into the document's draw table, replacing it or appended.
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/Output.h"
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
            message += "\n" + LabelConflictText(conflict, read.Game);
        }
    } else if (!allowGaps && !plan.Gaps.Empty()) {
        message = GapsText(plan.Gaps) + "\n（加上 --allow-gaps 仍然导入）";
    } else {
        return ImportedRows(doc.codeNet.Rows(), read, plan.Mode, allowGaps);
    }
    if (read.ConflictsTotal > read.Conflicts.size()) {
        message += "\n" + UnlistedText(read.ConflictsTotal - read.Conflicts.size());
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

struct TOutcome {
    TImportMode mode;
    int imported;  // the draws that came from the file
    int draws;     // the table's draws afterwards
    int newestPeriod;
    TLabel newestLabel;
};

std::string JsonReport(const TTableRead& read, const TImportPlan& plan, const TOutcome& outcome) {
    nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
    for (const TSkippedLine& line : read.Skipped) {
        skipped.push_back({{"line", line.Line}, {"reason", line.Reason}});
    }
    const nlohmann::ordered_json json = {
        {"read", read.Draws.size()},
        {"imported", outcome.imported},
        {"mode", outcome.mode == TImportMode::Append ? "append" : "replace"},
        {"draws", outcome.draws},
        {"skipped", skipped},
        {"skipped_total", read.SkippedTotal},
        {"gaps", GapsJson(plan.Gaps)},
        {"gaps_total", plan.Gaps.Total},
    };
    return JsonText(json, 2) + "\n";
}

std::string TextReport(const TTableRead& read, const TImportPlan& plan, const TOutcome& outcome) {
    std::string text =
        "读到" + std::to_string(read.Draws.size()) + "期开奖号码\n" +
        ImportDoneText(outcome.mode, outcome.imported, outcome.newestPeriod, outcome.newestLabel) +
        "\n";
    for (const TSkippedLine& line : read.Skipped) {
        text += SkippedText(line) + "\n";
    }
    if (read.SkippedTotal > read.Skipped.size()) {
        text += UnlistedText(read.SkippedTotal - read.Skipped.size()) + "\n";
    }
    if (!plan.Gaps.Empty()) {
        text += GapsText(plan.Gaps) + "\n";
    }
    return text;
}

int RunDrawsImportTable(const Args& args) {
    const std::string& path = args.Positional("DOC");
    const TImportMode mode = args.Flag("--append") ? TImportMode::Append : TImportMode::Replace;
    Document doc;
    if (FileExists(path)) {
        Open(path, doc);
    }
    const TTableRead read = ReadDrawTableFile(args.Positional("FILE"), doc.codeNet.Game());
    const TImportPlan plan = PlanImport(doc.codeNet.Rows(), read, mode);
    const int before = doc.codeNet.Count();
    doc.codeNet.Replace(RowsOrRefusal(doc, read, plan, args.Flag("--allow-gaps")));

    const int count = doc.codeNet.Count();
    const TOutcome outcome{mode, mode == TImportMode::Append ? count - before : count, count,
                           count + doc.codeNet.FirstPeriod() - 1,
                           count > 0 ? doc.codeNet.GetSeq(count - 1).GetLabel() : TLabel()};
    SaveAfterReport(
        path, doc,
        args.Flag("--json") ? JsonReport(read, plan, outcome) : TextReport(read, plan, outcome));
    return 0;
}

}  // namespace

const CommandSpec& DrawsImportTableCommand() {
    static const CommandSpec spec{
        .name = "draws import-table",
        .summary =
            "Reads a draw-history file (CSV or text from a web site or a spreadsheet) into the "
            "document's draw table, replacing it or appended, as the numbers of the document's "
            "game; a missing document is created (seven digits).",
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
                         "[{\"line\", \"reason\"}] (the first 1000), \"skipped_total\", \"gaps\": "
                         "[labels] (the first 1000), \"gaps_total\"} as "
                         "JSON"},
            },
        .run = &RunDrawsImportTable,
    };
    return spec;
}

}  // namespace tovarin::cli
