#include <gtest/gtest.h>

#include <unistd.h>

#include "core/app/WorkFolder.h"
#include "core/base/Errors.h"
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

TEST(WorkFolderTest, AUserFolderThatCannotBeMadeIsSaidInChinese) {
    // Below a file no folder can be made, even by root.
    try {
        ChooseWorkFolder("/nonexistent/tovarin/bin", "/nonexistent/share", "/dev/null/Tovarin");
        ADD_FAILURE() << "a folder was made below /dev/null";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "无法创建文件夹“/dev/null/Tovarin”：Not a directory。");
    }
}

TEST(WorkFolderTest, WithoutAWorkFolderTheProgramStartsInAnEmptyOne) {
    std::string problem;
    const std::string folder =
        StartFolder("/nonexistent/tovarin/bin", "/nonexistent/share", "/dev/null/Tovarin", problem);
    EXPECT_EQ(problem,
              "无法创建文件夹“/dev/null/Tovarin”：Not a directory。\n"
              "工作文件夹无法使用：程序以空白工作区启动，"
              "设置和工作文档只保存在临时文件夹中。");
    EXPECT_TRUE(FolderWritable(folder));
    EXPECT_EQ(rmdir(folder.c_str()), 0) << "the folder is empty";

    test::TempDir user;
    std::string none;
    EXPECT_EQ(StartFolder("/nonexistent/tovarin/bin", "/nonexistent/share", user.Path(), none),
              user.Path());
    EXPECT_EQ(none, "");
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
