// draws export-table: the document's draws with their labels and dates as
// a CSV file that draws import-table reads back.
#include "cli/Command.h"
#include "cli/Document.h"
#include "core/draws/TableExport.h"

namespace tovarin::cli {
namespace {

int RunDrawsExportTable(const Args& args) {
    Document doc;
    Open(args.Positional("DOC"), doc);
    ExportTableFile(doc.codeNet, args.Positional("FILE"));
    return 0;
}

}  // namespace

const CommandSpec& DrawsExportTableCommand() {
    static const CommandSpec spec{
        .name = "draws export-table",
        .summary =
            "Writes the document's draws with their labels and dates as a CSV file "
            "(UTF-8, header 期号,开奖日期,开奖号码) that draws import-table reads back.",
        .positionals = {{"DOC", "the document (.lvrn)"}, {"FILE", "the CSV file to write"}},
        .options = {},
        .run = &RunDrawsExportTable,
    };
    return spec;
}

}  // namespace tovarin::cli
