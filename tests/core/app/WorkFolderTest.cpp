#include <gtest/gtest.h>

#include <unistd.h>

#include "core/app/WorkFolder.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

TEST(WorkFolderTest, WritableProgramFolderIsTheWorkFolder) {
    test::TempDir program;
    test::TempDir user;
    EXPECT_EQ(ChooseWorkFolder(program.Path(), program.File("none"), user.File("tovarin")),
              program.Path());
    EXPECT_TRUE(user.Names().empty());
}

TEST(WorkFolderTest, InstalledCopyUsesTheUserFolderEvenWhenWritable) {
    test::TempDir program;
    test::TempDir share;
    test::TempDir user;
    EXPECT_EQ(ChooseWorkFolder(program.Path(), share.Path(), user.Path()), user.Path());
    EXPECT_EQ(InstalledDataDir("/usr/local/bin"), "/usr/local/bin/../share/tovarin");
}

TEST(WorkFolderTest, UnwritableProgramFolderGivesTheUserFolder) {
    test::TempDir user;
    // A folder that does not exist cannot be written to, even by root.
    const std::string userFolder = user.File("data");
    EXPECT_EQ(
        ChooseWorkFolder("/nonexistent/tovarin/bin", "/nonexistent/share", userFolder + "/Tovarin"),
        userFolder + "/Tovarin");
    EXPECT_TRUE(FolderWritable(userFolder + "/Tovarin"));
    rmdir((userFolder + "/Tovarin").c_str());
    rmdir(userFolder.c_str());
}

TEST(WorkFolderTest, SeedingCopiesOnlyMissingFiles) {
    test::TempDir work;
    test::TempDir bundle;
    test::TempDir later;
    WriteFileAtomically(work.File("readme.txt"), "mine");
    WriteFileAtomically(bundle.File("readme.txt"), "bundled help");
    WriteFileAtomically(later.File("工作文档.lvrn"), "doc");
    WriteFileAtomically(bundle.File("Readme.txt"), "start");
    SeedWorkFolder(work.Path(), {"/nonexistent", bundle.Path(), later.Path()}, BundledFileNames());
    EXPECT_EQ(ReadWholeFile(work.File("readme.txt")), "mine");
    EXPECT_EQ(ReadWholeFile(work.File("Readme.txt")), "start");
    EXPECT_EQ(ReadWholeFile(work.File("工作文档.lvrn")), "doc");
    EXPECT_EQ(work.Names(),
              (std::vector<std::string>{"Readme.txt", "readme.txt", "工作文档.lvrn"}));
}

TEST(WorkFolderTest, BundledFiles) {
    EXPECT_EQ(BundledFileNames(),
              (std::vector<std::string>{"工作文档.lvrn", "readme.txt", "Readme.txt"}));
}

}  // namespace
}  // namespace tovarin
