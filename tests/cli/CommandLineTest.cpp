// How tovarin-cli reads its command line: help generated from each
// command's declaration, the version, the forms of an option, "--", the
// numbers that must name something in the document, and the prefix and
// status of every error.
#include <gtest/gtest.h>

#include <climits>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/base/Version.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::CliResult;
using test::RunCli;

// The text after the report's header line, which carries the time.
std::string AfterHeader(const std::string& out) { return out.substr(out.find('\n') + 1); }

const std::string kFilterUsage =
    "Usage: tovarin-cli filter DOC [--project N] [--one K] [--seed S] [--target P] [--record] "
    "[--settings INI] "
    "[--set KEY=VALUE]... [--status]\n";

// What a usage error of filter prints: the reason, then the usage line.
std::string FilterUsageError(const std::string& reason) {
    return "tovarin-cli filter: " + reason + "\n" + kFilterUsage;
}

// Two draws; project 1 has three conditions, project 2 one.
class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3127000", "5555555"});
        TSeqPrj& first = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TPrjOptions options = first.Options();
        options.TargetSeq = 1;
        first.SetOptions(options);
        Add(first, 1, "3,7");
        Add(first, 3, "0,5");
        Add(first, 7, "10");
        Add(projects.AddPrj(std::make_unique<TSeqPrj>(net)), 2, "4");
        path = dir.File("doc.lvrn");
        SaveDocument(path, net, projects);
    }

    static void Add(TSeqPrj& project, int kind, const char* param) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Checked = true;
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;
};

struct HelpCase {
    std::vector<std::string> command;
    std::vector<std::string> lists;  // options and arguments the help must name
};

TEST(CommandHelp, EveryCommandDescribesItsOptions) {
    const std::vector<HelpCase> cases = {
        {{"eval"}, {"KIND", "PARAM", "--assured", "--all-match", "--tolerance N"}},
        {{"info"}, {"DOC", "--json"}},
        {{"filter"},
         {"DOC", "--project N", "--one K", "--seed S", "--settings INI", "--set KEY=VALUE",
          "--status"}},
        {{"draws", "export"}, {"DOC", "FILE"}},
        {{"draws", "import"}, {"DOC", "FILE"}},
        {{"download"},
         {"DOC", "--url BASE", "--user NAME", "--password PW", "--settings INI", "--timeout MS"}},
        {{"settings"}, {"INI", "--set KEY=VALUE"}},
        {{"analyse"}, {"DOC", "--kind KIND", "--project N", "--settings INI", "--seed S"}},
    };
    for (const HelpCase& c : cases) {
        std::vector<std::string> args = c.command;
        args.emplace_back("--help");
        const CliResult result = RunCli(args);
        std::string name;
        for (const std::string& word : c.command) {
            name += (name.empty() ? "" : " ") + word;
        }
        EXPECT_EQ(result.status, 0) << name;
        EXPECT_EQ(result.err, "") << name;
        EXPECT_EQ(result.out.rfind("Usage: tovarin-cli " + name + " ", 0), 0u) << result.out;
        for (const std::string& item : c.lists) {
            EXPECT_NE(result.out.find("\n  " + item + "  "), std::string::npos)
                << name << " does not list " << item << ":\n"
                << result.out;
        }
        EXPECT_NE(result.out.find("\n  --help  "), std::string::npos) << name;
    }
}

TEST(CommandHelp, TheWholeTextOfOneCommand) {
    const CliResult result = RunCli({"info", "--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "Usage: tovarin-cli info DOC [--json]\n"
              "\n"
              "Lists the document's draw count, its projects and their conditions.\n"
              "\n"
              "Arguments:\n"
              "  DOC      the document (.lvrn)\n"
              "\n"
              "Options:\n"
              "  --json   one JSON object instead of lines (keys in README.md)\n"
              "  --help   show this help and exit\n"
              "\n"
              "Options may stand before or after the arguments, as --name VALUE or "
              "--name=VALUE;\n"
              "every word after -- is an argument.\n");
}

// Help wins over whatever else is on the line, but not after "--".
TEST(CommandHelp, HelpAnywhereBeforeTheEndOfOptions) {
    const CliResult late = RunCli({"filter", "no.lvrn", "--bogus", "--project", "x", "-h"});
    EXPECT_EQ(late.status, 0) << late.err;
    EXPECT_EQ(late.out.rfind("Usage: tovarin-cli filter DOC", 0), 0u);

    const CliResult quoted = RunCli({"info", "--", "--help"});
    EXPECT_EQ(quoted.status, 1);
    EXPECT_EQ(quoted.out, "");
    EXPECT_EQ(quoted.err.rfind("tovarin-cli info: cannot read --help: ", 0), 0u) << quoted.err;
}

TEST(CommandHelp, TheProgramListsEveryCommand) {
    const CliResult result = RunCli({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> synopses = {
        "\n  eval KIND PARAM [--assured] [--all-match] [--tolerance N]\n",
        "\n  info DOC [--json]\n",
        "\n  " + kFilterUsage.substr(std::string("Usage: tovarin-cli ").size()),
        "\n  draws export DOC FILE\n",
        "\n  draws import DOC FILE\n",
        "\n  settings INI [--set KEY=VALUE]...\n",
        ("\n  analyse DOC --kind KIND [--project N]... [--settings INI] [--set KEY=VALUE]... "
         "[--seed S]\n"),
    };
    for (const std::string& synopsis : synopses) {
        EXPECT_NE(result.out.find(synopsis), std::string::npos) << synopsis;
    }
    EXPECT_NE(result.out.find("\n  download DOC [--url BASE]"), std::string::npos);
    // Without a command the same list goes to standard error.
    const CliResult bare = RunCli({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.out, "");
    EXPECT_EQ(bare.err, result.out);
}

TEST(CommandHelp, AGroupListsItsCommands) {
    const CliResult help = RunCli({"draws", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tovarin-cli draws COMMAND ...\n\nCommands:\n"
                             "  draws export DOC FILE\n",
                             0),
              0u)
        << help.out;
    EXPECT_NE(help.out.find("\n  draws import DOC FILE\n"), std::string::npos);

    const CliResult missing = RunCli({"draws"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "tovarin-cli draws: missing the command (one of export, import, import-table, "
              "export-table, list)\n");
    const CliResult unknown = RunCli({"draws", "sideways", "a", "b"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err,
              "tovarin-cli draws: unknown command sideways (one of export, import, import-table, "
              "export-table, list)\n");
}

TEST(CommandHelp, VersionIsTheProgramsVersionText) {
    const CliResult result = RunCli({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "1.08\n");
    EXPECT_EQ(result.out, std::string(kVersionText) + "\n");
    EXPECT_EQ(result.err, "");
}

// The same run written in every accepted form gives the same report.
TEST_F(CommandLine, OptionFormsAndPlacesGiveTheSameRun) {
    const CliResult plain = RunCli({"filter", path, "--project", "1", "--one", "2", "--status"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("筛选条件:稳上尾:[容]0,5\n"), std::string::npos) << plain.out;
    const std::vector<std::vector<std::string>> forms = {
        {"filter", "--project=1", "--one=2", "--status", path},
        {"filter", "--status", "--one", "2", path, "--project", "1"},
        {"filter", "--project", "1", "--one=2", "--status", "--", path},
    };
    for (const auto& args : forms) {
        const CliResult result = RunCli(args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(AfterHeader(result.out), AfterHeader(plain.out)) << args[1];
    }
    // After "--" an option is a positional word, here one too many.
    const CliResult ended = RunCli({"filter", "--one", "2", "--", path, "--project=1"});
    EXPECT_EQ(ended.status, 2);
    EXPECT_EQ(ended.err, FilterUsageError("unexpected argument --project=1"));
}

TEST_F(CommandLine, AValueMayBeEmptyOrLookLikeAnOption) {
    // "--set=" hands --set an empty text, which is no KEY=VALUE.
    const CliResult empty = RunCli({"filter", path, "--set="});
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.err, FilterUsageError("--set needs KEY=VALUE, not "));
    // The word after an option that takes a value is its value, whatever it looks like.
    const CliResult dashed = RunCli({"filter", path, "--settings", "--status"});
    EXPECT_EQ(dashed.status, 0) << dashed.err;
    EXPECT_EQ(dashed.out.find("STATUS"), std::string::npos);
}

TEST_F(CommandLine, DoubleDashEndsTheOptions) {
    const std::string dashed = dir.File("--doc.lvrn");
    WriteFileAtomically(dashed, ReadWholeFile(path));
    const CliResult ended = RunCli({"info", "--", dashed});
    EXPECT_EQ(ended.status, 0) << ended.err;
    EXPECT_EQ(ended.out.rfind("draws 2\nprojects 2\n", 0), 0u);
    const CliResult notEnded = RunCli({"info", "--doc.lvrn"});
    EXPECT_EQ(notEnded.status, 2);
    EXPECT_EQ(
        notEnded.err,
        "tovarin-cli info: unknown option --doc.lvrn\nUsage: tovarin-cli info DOC [--json]\n");
    // A second "--" is a word like any other.
    const CliResult twice = RunCli({"info", "--", "--", path});
    EXPECT_EQ(twice.status, 2);
    EXPECT_EQ(twice.err.rfind("tovarin-cli info: unexpected argument " + path + "\n", 0), 0u);
}

TEST_F(CommandLine, MalformedWordsAreUsageErrors) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"filter", path, "--bogus"}, "unknown option --bogus"},
        {{"filter", path, "--bogus=1"}, "unknown option --bogus"},
        {{"filter", "--project", path}, "missing DOC"},
        {{"filter", path, "--project"}, "--project needs a value"},
        {{"filter", path, "--one"}, "--one needs a value"},
        {{"filter", path, "--status=yes"}, "--status takes no value"},
        {{"filter", path, "--status", "--status"}, "--status given more than once"},
        {{"filter", path, "--project=1", "--project", "2"}, "--project given more than once"},
        {{"filter", path, "--project", "2147483648"}, "--project needs a number, not 2147483648"},
        {{"filter", path, "--project", ""}, "--project needs a number, not "},
        // An empty path would name the current or the root folder.
        {{"filter", path, "--settings="}, "--settings needs a path, not an empty value"},
        {{"filter", path, "--settings", ""}, "--settings needs a path, not an empty value"},
        {{"filter", path, path}, "unexpected argument " + path},
        {{"filter"}, "missing DOC"},
    };
    for (const auto& [args, reason] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << reason;
        EXPECT_EQ(result.out, "") << reason;
        EXPECT_EQ(result.err, FilterUsageError(reason));
    }
    const CliResult kind = RunCli({"analyse", path});
    EXPECT_EQ(kind.status, 2);
    EXPECT_EQ(
        kind.err.rfind("tovarin-cli analyse: --kind is missing\nUsage: tovarin-cli analyse ", 0),
        0u)
        << kind.err;
    const CliResult before = RunCli({"--status", "filter", path});
    EXPECT_EQ(before.status, 2);
    EXPECT_EQ(before.err, "tovarin-cli: unknown command --status (see --help)\n");
}

// A number that names nothing in the document: one line, status 2, and the
// document is not touched.
TEST_F(CommandLine, ProjectAndConditionNumbersOutsideTheDocument) {
    const std::string before = ReadWholeFile(path);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"filter", path, "--project", "9"}, "tovarin-cli filter: project 9: the document has 2"},
        {{"filter", path, "--project", "3"}, "tovarin-cli filter: project 3: the document has 2"},
        {{"filter", path, "--project", "0"}, "tovarin-cli filter: project 0: the document has 2"},
        {{"filter", path, "--project", "-1"}, "tovarin-cli filter: project -1: the document has 2"},
        {{"filter", path, "--project", "-2147483648"},
         "tovarin-cli filter: project -2147483648: the document has 2"},
        {{"filter", path, "--project=2147483647"},
         "tovarin-cli filter: project 2147483647: the document has 2"},
        {{"filter", path, "--one", "4"}, "tovarin-cli filter: condition 4: project 1 has 3"},
        {{"filter", path, "--one", "0"}, "tovarin-cli filter: condition 0: project 1 has 3"},
        {{"filter", path, "--project", "2", "--one", "2"},
         "tovarin-cli filter: condition 2: project 2 has 1"},
        {{"filter", path, "--one", "-2147483648"},
         "tovarin-cli filter: condition -2147483648: project 1 has 3"},
        {{"analyse", path, "--kind", "head", "--project", "9"},
         "tovarin-cli analyse: project 9: the document has 2"},
        {{"analyse", path, "--kind", "contrast", "--project", "1", "--project", "-2147483648"},
         "tovarin-cli analyse: project -2147483648: the document has 2"},
    };
    for (const auto& [args, message] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_EQ(result.out, "") << message;
        EXPECT_EQ(result.err, message + "\n");
    }
    EXPECT_EQ(ReadWholeFile(path), before);

    const std::string empty = dir.File("empty.lvrn");
    WriteFileAtomically(empty, "");
    EXPECT_EQ(RunCli({"filter", empty}).err, "tovarin-cli filter: project 1: the document has 0\n");
}

// Every failure, of the words or of the work, names the command first.
TEST_F(CommandLine, EveryErrorNamesItsCommand) {
    const std::string missing = dir.File("missing.lvrn");
    const std::string text = dir.File("draws.txt");
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"eval", "7", "1,x"}, 1},
        {{"eval", "12", "1"}, 2},
        {{"info", missing}, 1},
        {{"filter", missing}, 1},
        {{"draws", "export", missing, text}, 1},
        {{"draws", "import", path, missing}, 1},
        {{"draws", "import", path}, 2},
        {{"download", missing, "--timeout", "0"}, 2},
        {{"settings", dir.File("no-folder/x.ini"), "--set", "AutoCalcChk=1"}, 1},
        {{"analyse", missing, "--kind", "head"}, 1},
        {{"analyse", path, "--kind", "colour"}, 2},
    };
    for (const auto& [args, status] : cases) {
        const CliResult result = RunCli(args);
        std::string name = args[0];
        if (name == "draws") {
            name += " " + args[1];
        }
        EXPECT_EQ(result.status, status) << name << ": " << result.err;
        EXPECT_EQ(result.err.rfind("tovarin-cli " + name + ": ", 0), 0u) << result.err;
        EXPECT_GT(result.err.size(), ("tovarin-cli " + name + ": \n").size()) << name;
        EXPECT_EQ(result.out, "") << name;
    }
    EXPECT_EQ(RunCli({"info", missing}).err, "tovarin-cli info: cannot read " + missing +
                                                 ": Unable to open " + missing +
                                                 ": No such file or directory\n");
}

// A broken document is reported with the reader's reason and where it
// stopped, not only with the window's message box text.
TEST_F(CommandLine, ABrokenDocumentNamesTheByteOffset) {
    std::string image = ReadWholeFile(path);
    // Two draws (4 + 2 × 28 bytes), the project count, 56 option bytes and
    // the condition count put the first condition's kind at byte 124.
    ASSERT_EQ(image.substr(124, 4), std::string("\x01\x00\x00\x00", 4));
    image[124] = 42;
    const std::string broken = dir.File("broken.lvrn");
    WriteFileAtomically(broken, image);
    for (const char* command : {"info", "filter"}) {
        const CliResult result = RunCli({command, broken});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, std::string("tovarin-cli ") + command + ": cannot read " + broken +
                                  ": Bad condition kind 42 at byte 124\n");
    }
    const std::string cut = dir.File("cut.lvrn");
    WriteFileAtomically(cut, ReadWholeFile(path).substr(0, 100));
    EXPECT_EQ(RunCli({"info", cut}).err,
              "tovarin-cli info: cannot read " + cut + ": Bad project count 2 at byte 60\n");
}

}  // namespace
}  // namespace tovarin
