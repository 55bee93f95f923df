#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/WorkFolder.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"
#include "support/PosixOnly.h"
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
    EXPECT_TRUE(CanWriteInFolder(userFolder + "/Tovarin"));
}

// Whether the file system takes names whatever their case (as Windows's
// does), so that readme.txt and Readme.txt are one file.
bool NamesIgnoreCase(const test::TempDir& dir) {
    WriteFileAtomically(dir.File("probe"), "");
    const bool ignored = FileExists(dir.File("PROBE"));
    std::filesystem::remove(test::FsPath(dir.File("probe")));
    return ignored;
}

TEST(WorkFolderTest, AUserFolderThatCannotBeMadeIsSaidInChinese) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoDevNullFolderOnWindows;
#else
    // Below a file no folder can be made, even by root.
    try {
        ChooseWorkFolder("/nonexistent/tovarin/bin", "/nonexistent/share", "/dev/null/Tovarin");
        ADD_FAILURE() << "a folder was made below /dev/null";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "无法创建文件夹“/dev/null/Tovarin”：Not a directory。");
    }
#endif
}

TEST(WorkFolderTest, WithoutAWorkFolderTheProgramStartsInAnEmptyOne) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoDevNullFolderOnWindows;
#else
    std::string problem;
    const std::string folder =
        StartFolder("/nonexistent/tovarin/bin", "/nonexistent/share", "/dev/null/Tovarin", problem);
    EXPECT_EQ(problem,
              "无法创建文件夹“/dev/null/Tovarin”：Not a directory。\n"
              "工作文件夹无法使用：程序以空白工作区启动，"
              "设置和工作文档只保存在临时文件夹中。");
    EXPECT_TRUE(CanWriteInFolder(folder));
    EXPECT_TRUE(std::filesystem::is_empty(test::FsPath(folder)));
    std::filesystem::remove(test::FsPath(folder));

    test::TempDir user;
    std::string none;
    EXPECT_EQ(StartFolder("/nonexistent/tovarin/bin", "/nonexistent/share", user.Path(), none),
              user.Path());
    EXPECT_EQ(none, "");
#endif
}

TEST(WorkFolderTest, SeedingCopiesOnlyMissingFiles) {
    test::TempDir work;
    test::TempDir bundle;
    test::TempDir later;
    if (NamesIgnoreCase(work)) {
        GTEST_SKIP() << "readme.txt and Readme.txt are one file here; see the next test";
    }
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

// Where the two names are one file, the user's copy is kept and the bundle
// adds nothing under the other name.
TEST(WorkFolderTest, SeedingKeepsTheUsersFileWhereCaseIsIgnored) {
    test::TempDir work;
    test::TempDir bundle;
    if (!NamesIgnoreCase(work)) {
        GTEST_SKIP() << "readme.txt and Readme.txt are two files here; see the test before";
    }
    WriteFileAtomically(work.File("readme.txt"), "mine");
    WriteFileAtomically(bundle.File("Readme.txt"), "start");
    SeedWorkFolder(work.Path(), {bundle.Path()}, BundledFileNames());
    EXPECT_EQ(ReadWholeFile(work.File("Readme.txt")), "mine");
    EXPECT_EQ(work.Names(), std::vector<std::string>{"readme.txt"});
}

// Either way a bundle with only one of the two names gives the work folder
// that file under a name the program finds.
TEST(WorkFolderTest, SeedingNeedsOnlyOneOfTheTwoNames) {
    test::TempDir work;
    test::TempDir bundle;
    WriteFileAtomically(bundle.File("Readme.txt"), "start");
    SeedWorkFolder(work.Path(), {bundle.Path()}, BundledFileNames());
    EXPECT_EQ(ReadWholeFile(work.File("Readme.txt")), "start");
    EXPECT_EQ(work.Names().size(), 1U);
}

TEST(WorkFolderTest, BundledFiles) {
    EXPECT_EQ(BundledFileNames(),
              (std::vector<std::string>{"工作文档.lvrn", "readme.txt", "Readme.txt"}));
}

}  // namespace
}  // namespace tovarin
