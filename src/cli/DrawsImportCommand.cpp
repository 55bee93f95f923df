// draws import: a text file of draws in place of the document's draw table.
#include "cli/Command.h"
#include "cli/Document.h"
#include "core/base/FileIO.h"

namespace tovarin::cli {
namespace {

int RunDrawsImport(const Args& args) {
    const std::string& path = args.Positional("DOC");
    const std::string& textFile = args.Positional("FILE");
    Document doc;
    if (FileExists(path)) {
        Open(path, doc);
    }
    if (!FileExists(textFile)) {
        throw EInOutError("No such file: " + textFile);
    }
    doc.codeNet.ImportFromText(textFile);
    SaveAfterReport(path, doc, "");
    return 0;
}

}  // namespace

const CommandSpec& DrawsImportCommand() {
    static const CommandSpec spec{
        .name = "draws import",
        .summary =
            "Replaces the document's draw table by the draws of a text file, as the "
            "draw-table window imports it; a missing document is created.",
        .positionals = {{"DOC", "the document (.lvrn)"}, {"FILE", "the text file to read"}},
        .options = {},
        .run = &RunDrawsImport,
    };
    return spec;
}

}  // namespace tovarin::cli
