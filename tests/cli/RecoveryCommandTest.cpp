#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>

#include "cli/CliRunner.h"
#include "core/app/Recovery.h"
#include "core/base/FileIO.h"
#include "support/FileTime.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;

using test::SetModifiedTime;

TEST(RecoveryCommand, ReportsTheCopyAndWhetherItIsNewer) {
    test::TempDir dir;
    const std::string doc = dir.File("doc.lvrn");
    const std::string copy = RecoveryCopyPath(dir.Path(), doc);
    WriteFileAtomically(doc, "d");

    test::CliResult none = RunCli({"recovery", doc, "--folder", dir.Path()});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "copy " + copy + "\nstate none\n");

    WriteFileAtomically(copy, "c");
    SetModifiedTime(doc, 1796720000);
    SetModifiedTime(copy, 1796720100);
    EXPECT_EQ(RunCli({"recovery", doc, "--folder", dir.Path()}).out,
              "copy " + copy + "\nstate newer\n");
    const test::CliResult json = RunCli({"recovery", "--json", doc, "--folder", dir.Path()});
    EXPECT_EQ(json.status, 0);
    // The paths as JSON strings: a Windows path's backslashes come escaped.
    EXPECT_EQ(json.out, "{\"document\":" + nlohmann::json(doc).dump() + ",\"copy\":" +
                            nlohmann::json(copy).dump() + ",\"exists\":true,\"newer\":true}\n");

    SetModifiedTime(copy, 1796719000);
    EXPECT_EQ(RunCli({"recovery", doc, "--folder", dir.Path()}).out,
              "copy " + copy + "\nstate older\n");
}

TEST(RecoveryCommand, WithoutAFolderItIsAUsageError) {
    const test::CliResult result = RunCli({"recovery", "/x.lvrn"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.rfind("tovarin-cli recovery: ", 0), 0U) << result.err;
    EXPECT_NE(result.err.find("--folder"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    const test::CliResult empty = RunCli({"recovery", "/x.lvrn", "--folder="});
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(
        empty.err.rfind("tovarin-cli recovery: --folder needs a path, not an empty value\n", 0), 0U)
        << empty.err;
}

// The window names a document by its absolute path; so must the command.
TEST(RecoveryCommand, ARelativeDocumentIsTheOneInTheCurrentFolder) {
    test::TempDir dir;
    std::filesystem::create_directory(test::FsPath(dir.File("recovery")));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(test::FsPath(dir.Path()));
    const std::u8string folder = std::filesystem::current_path().generic_u8string();
    const std::string copy = RecoveryCopyPath(
        dir.File("recovery"), std::string(folder.begin(), folder.end()) + "/工作文档.lvrn");
    WriteFileAtomically(copy, "c");
    const test::CliResult result =
        RunCli({"recovery", "工作文档.lvrn", "--folder", dir.File("recovery")});
    std::filesystem::current_path(before);
    EXPECT_EQ(result.out, "copy " + copy + "\nstate newer\n") << result.err;
}

}  // namespace
}  // namespace tovarin
