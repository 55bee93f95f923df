// draws export: the document's draw table as a text file.
#include "cli/Command.h"
#include "cli/Document.h"

namespace tovarin::cli {
namespace {

int RunDrawsExport(const Args& args) {
    Document doc;
    Open(args.Positional("DOC"), doc);
    doc.codeNet.ExportToText(args.Positional("FILE"));
    return 0;
}

}  // namespace

const CommandSpec& DrawsExportCommand() {
    static const CommandSpec spec{
        .name = "draws export",
        .summary =
            "Writes the document's draw table to a text file, as the draw-table window "
            "exports it.",
        .positionals = {{"DOC", "the document (.lvrn)"}, {"FILE", "the text file to write"}},
        .options = {},
        .run = &RunDrawsExport,
    };
    return spec;
}

}  // namespace tovarin::cli
