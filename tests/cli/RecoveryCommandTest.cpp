#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "cli/CliRunner.h"
#include "core/app/Recovery.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;

void SetTime(const std::string& path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(RecoveryCommand, ReportsTheCopyAndWhetherItIsNewer) {
    test::TempDir dir;
    const std::string doc = dir.File("doc.lvrn");
    const std::string copy = RecoveryCopyPath(dir.Path(), doc);
    WriteFileAtomically(doc, "d");

    test::CliResult none = RunCli({"recovery", doc, "--folder", dir.Path()});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "copy " + copy + "\nstate none\n");

    WriteFileAtomically(copy, "c");
    SetTime(doc, 1796720000);
    SetTime(copy, 1796720100);
    EXPECT_EQ(RunCli({"recovery", doc, "--folder", dir.Path()}).out,
              "copy " + copy + "\nstate newer\n");
    const test::CliResult json = RunCli({"recovery", "--json", doc, "--folder", dir.Path()});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, "{\"document\":\"" + doc + "\",\"copy\":\"" + copy +
                            "\",\"exists\":true,\"newer\":true}\n");

    SetTime(copy, 1796719000);
    EXPECT_EQ(RunCli({"recovery", doc, "--folder", dir.Path()}).out,
              "copy " + copy + "\nstate older\n");
}

TEST(RecoveryCommand, WithoutAFolderItIsAUsageError) {
    const test::CliResult result = RunCli({"recovery", "/x.lvrn"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.rfind("tovarin-cli recovery: ", 0), 0U) << result.err;
    EXPECT_NE(result.err.find("--folder"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace tovarin
