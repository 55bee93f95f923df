// Standard output as every command shares it: a write that fails fails the
// command (and a command that changes a file changes nothing), and a JSON
// answer stays JSON whatever bytes a name holds.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliRunner.h"
#include "core/app/Recovery.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/PosixOnly.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

class Output : public ::testing::Test {
protected:
    void SetUp() override {
        TCodeNet net;
        TPrjMgr projects(net);
        test::AddDraws(net, {"1001000", "1005000", "5001000"});
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TBaseBind& bind = project.AddBind(CreateBind(1, project.Options()));
        bind.SetParam("1");
        bind.Checked = true;
        SaveDocument(doc, net, projects);
        WriteFileAtomically(csv, "1,1111111\n2,2222222\n3,123456\n");
    }

    test::TempDir dir;
    const std::string doc = dir.File("doc.lvrn");
    const std::string csv = dir.File("draws.csv");
};

TEST_F(Output, AnOutputThatCannotBeWrittenFailsEveryCommand) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoDevFullOnWindows;
#else
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"info", doc}, "tovarin-cli info"},
        {{"stats", doc, "--trend", "head"}, "tovarin-cli stats"},
        {{"backtest", doc, "--project", "1", "--details", "--json"}, "tovarin-cli backtest"},
        {{"eval", "1", "3,7"}, "tovarin-cli eval"},
        {{"recovery", doc, "--folder", dir.Path(), "--json"}, "tovarin-cli recovery"},
        {{"draws", "import-table", doc, csv, "--json"}, "tovarin-cli draws import-table"},
        {{"--version"}, "tovarin-cli"},
    };
    const std::string before = ReadWholeFile(doc);
    for (const auto& [args, prefix] : cases) {
        const test::CliResult result = test::RunCliInto(args, "/dev/full");
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_EQ(result.err, prefix + ": cannot write the output: No space left on device\n");
    }
    // The import's report could not be written, so the document was not.
    EXPECT_EQ(ReadWholeFile(doc), before);
#endif
}

TEST_F(Output, JsonHoldsANameThatIsNotUtf8AndTheTextKeepsItsBytes) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16, which always becomes UTF-8";
#else
    // 工 in GBK: two bytes that are no UTF-8.
    const std::string name = dir.File("\xB9\xA4.lvrn");
    const std::string copy = RecoveryCopyPath(dir.Path(), name);
    const test::CliResult json = test::RunCli({"recovery", name, "--folder", dir.Path(), "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json answer = nlohmann::json::parse(json.out);
    EXPECT_EQ(answer["document"], dir.File("\xEF\xBF\xBD\xEF\xBF\xBD.lvrn"));
    const test::CliResult text = test::RunCli({"recovery", name, "--folder", dir.Path()});
    EXPECT_EQ(text.out, "copy " + copy + "\nstate none\n");
#endif
}

}  // namespace
}  // namespace tovarin
