// game: the lottery the document's draw table keeps, shown or switched.
#include <iostream>

#include "cli/Command.h"
#include "cli/Document.h"
#include "core/base/FileIO.h"

namespace tovarin::cli {
namespace {

int RunGame(const Args& args) {
    const std::string& path = args.Positional("DOC");
    const std::optional<std::string> name = args.OptionalPositional("NAME");
    const std::optional<TGame> game = name ? GameOfName(*name) : std::nullopt;
    if (name && !game) {
        throw UsageError("unknown game " + *name + " (seven, qxc or pl5)");
    }
    Document doc;
    if (!game || FileExists(path)) {
        Open(path, doc);
    }
    if (!game) {
        std::cout << GameName(doc.codeNet.Game()) << '\n';
        return 0;
    }
    // A draw the game cannot hold refuses the switch before the file is touched.
    doc.codeNet.SetGame(*game);
    SaveDocument(path, doc.codeNet, doc.projects);
    return 0;
}

}  // namespace

const CommandSpec& GameCommand() {
    static const CommandSpec spec{
        .name = "game",
        .summary =
            "Prints the game the document's draws are (seven: 七位数, qxc: 七星彩, pl5: "
            "排列5), or with NAME switches to it; a missing document is created.",
        .positionals = {{"DOC", "the document (.lvrn)"},
                        {"NAME", "the game to switch to: seven, qxc or pl5", true}},
        .options = {},
        .run = &RunGame,
    };
    return spec;
}

}  // namespace tovarin::cli
