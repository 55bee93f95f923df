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

// Conflicting lines are named one by one, so the file can be fixed.
std::vector<TSeq> RowsOrRefusal(const Document& doc, const TTableRead& read, TImportMode mode) {
    if (read.Conflicts.empty()) {
        return ImportedRows(doc.codeNet.Rows(), read, mode);
    }
    std::string message = ConflictsText();
    for (const TDrawConflict& conflict : read.Conflicts) {
        message += "\n" + ConflictText(conflict);
    }
    throw EImportError(message);
}

int RunDrawsImportTable(const Args& args) {
    const std::string& path = args.Positional("DOC");
    const TImportMode mode = args.Flag("--append") ? TImportMode::Append : TImportMode::Replace;
    Document doc;
    if (FileExists(path)) {
        Open(path, doc);
    }
    const TTableRead read = ReadDrawTableFile(args.Positional("FILE"));
    const int before = doc.codeNet.Count();
    doc.codeNet.Replace(RowsOrRefusal(doc, read, mode));
    Save(path, doc);

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
        };
        std::cout << json.dump(2) << '\n';
        return 0;
    }
    std::cout << "读到" << read.Draws.size() << "期开奖号码\n"
              << ImportDoneText(mode, imported, count + doc.codeNet.FirstPeriod() - 1) << '\n';
    for (const TSkippedLine& line : read.Skipped) {
        std::cout << SkippedText(line) << '\n';
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
                 .help = "add the file's draws after the longest run of the table's last draws "
                         "(at least three) that the file holds, instead of replacing the table"},
                {.name = "--json",
                 .valueName = "",
                 .help = "print {\"read\", \"imported\", \"mode\", \"draws\", \"skipped\": "
                         "[{\"line\", \"reason\"}]} as JSON"},
            },
        .run = &RunDrawsImportTable,
    };
    return spec;
}

}  // namespace tovarin::cli
