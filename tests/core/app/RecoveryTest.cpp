#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/app/Recovery.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::TempDir;

// Sets a file's modification time, seconds after the epoch.
void SetTime(const std::string& path, time_t seconds, long nanos = 0) {
    const timespec times[2] = {{seconds, nanos}, {seconds, nanos}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(Recovery, FolderAndNames) {
    EXPECT_EQ(RecoveryFolder("/home/wang/.local/share/Tovarin"),
              "/home/wang/.local/share/Tovarin/recovery");
    const std::string copy = RecoveryCopyPath("/r", "/home/wang/工作文档.lvrn");
    EXPECT_EQ(copy.rfind("/r/工作文档.", 0), 0U);
    EXPECT_TRUE(copy.ends_with(".lvrn"));
    EXPECT_EQ(copy.size(), std::string("/r/工作文档.").size() + 16 + 5);
    // The same name in another folder gets another copy; the same path the same.
    EXPECT_NE(RecoveryCopyPath("/r", "/tmp/工作文档.lvrn"), copy);
    EXPECT_EQ(RecoveryCopyPath("/r", "/home/wang/工作文档.lvrn"), copy);
    // FNV-1a of the empty text, for a document without a file.
    EXPECT_EQ(RecoveryCopyPath("/r", ""), "/r/未命名.cbf29ce484222325.lvrn");
    EXPECT_EQ(RecoveryCopyPath("/r", "/x/.lvrn").rfind("/r/未命名.", 0), 0U);
    EXPECT_EQ(RecoveryCopyPath("/r", "/x/notes").rfind("/r/notes.", 0), 0U);
}

TEST(Recovery, LongNamesAreCutAtACharacterBoundary) {
    std::string stem;
    for (int i = 0; i < 100; ++i) {
        stem += "码";  // three bytes each
    }
    const std::string copy = RecoveryCopyPath("/r", "/d/" + stem + ".lvrn");
    const std::string name = copy.substr(3);
    EXPECT_LE(name.size(), 255U);
    EXPECT_EQ(name.find(".") % 3, 0U);
    EXPECT_EQ(name.rfind("码", 0), 0U);
}

TEST(Recovery, WriteMakesTheFolderAndReplacesAtomically) {
    TempDir dir;
    const std::string folder = dir.File("recovery");
    const std::string copy = RecoveryCopyPath(folder, dir.File("doc.lvrn"));
    WriteRecoveryCopy(copy, dir.File("doc.lvrn"), "first");
    EXPECT_EQ(ReadWholeFile(copy), "first");
    WriteRecoveryCopy(copy, dir.File("doc.lvrn"), std::string("\0\1second", 8));
    EXPECT_EQ(ReadWholeFile(copy), std::string("\0\1second", 8));
    RemoveRecoveryCopy(copy);
    EXPECT_FALSE(FileExists(copy));
    RemoveRecoveryCopy(copy);
    rmdir(folder.c_str());
}

TEST(Recovery, NeverWritesOverTheDocument) {
    TempDir dir;
    const std::string doc = dir.File("doc.lvrn");
    WriteFileAtomically(doc, "the work");
    EXPECT_THROW(WriteRecoveryCopy(doc, doc, "copy"), EInOutError);
    // Another name for the same file is the same file.
    ASSERT_EQ(symlink(doc.c_str(), dir.File("link.lvrn").c_str()), 0);
    EXPECT_THROW(WriteRecoveryCopy(dir.File("link.lvrn"), doc, "copy"), EInOutError);
    EXPECT_EQ(ReadWholeFile(doc), "the work");
}

TEST(Recovery, AFolderThatCannotBeMadeFails) {
    TempDir dir;
    WriteFileAtomically(dir.File("file"), "x");
    EXPECT_THROW(WriteRecoveryCopy(dir.File("file") + "/sub/c.lvrn", "", "copy"), EInOutError);
}

TEST(Recovery, NewerThanItsDocument) {
    TempDir dir;
    const std::string doc = dir.File("doc.lvrn");
    const std::string copy = dir.File("copy.lvrn");
    EXPECT_FALSE(RecoveryCopyIsNewer(copy, doc));
    WriteFileAtomically(copy, "c");
    // No document (deleted, or never saved): the copy is all there is.
    EXPECT_TRUE(RecoveryCopyIsNewer(copy, doc));
    EXPECT_TRUE(RecoveryCopyIsNewer(copy, ""));
    WriteFileAtomically(doc, "d");
    SetTime(doc, 1796720000);
    SetTime(copy, 1796720001);
    EXPECT_TRUE(RecoveryCopyIsNewer(copy, doc));
    SetTime(copy, 1796720000);
    EXPECT_FALSE(RecoveryCopyIsNewer(copy, doc));
    SetTime(copy, 1796720000, 500);
    EXPECT_TRUE(RecoveryCopyIsNewer(copy, doc));
    SetTime(copy, 1796719999, 999999999);
    EXPECT_FALSE(RecoveryCopyIsNewer(copy, doc));
    // A folder where the copy should be is no copy.
    EXPECT_FALSE(RecoveryCopyIsNewer(dir.Path(), doc));
}

TEST(Recovery, DeclinedCopiesAreKeptAsideUnderFreeNames) {
    TempDir dir;
    const std::string copy = dir.File("工作文档.0123456789abcdef.lvrn");
    WriteFileAtomically(copy, "one");
    const std::string first = KeepRecoveryCopyAside(copy);
    EXPECT_EQ(first, dir.File("工作文档.0123456789abcdef.declined-1.lvrn"));
    EXPECT_FALSE(FileExists(copy));
    WriteFileAtomically(copy, "two");
    const std::string second = KeepRecoveryCopyAside(copy);
    EXPECT_EQ(second, dir.File("工作文档.0123456789abcdef.declined-2.lvrn"));
    EXPECT_EQ(ReadWholeFile(first), "one");
    EXPECT_EQ(ReadWholeFile(second), "two");
    EXPECT_THROW(KeepRecoveryCopyAside(copy), EInOutError);
}

TEST(Recovery, StartupOpensTheLastDocumentOnlyWhenAskedAndThere) {
    TempDir dir;
    const std::string working = "工作文档.lvrn";
    WriteFileAtomically(dir.File("甲.lvrn"), "x");
    EXPECT_EQ(ChooseStartupDocument(false, dir.File("甲.lvrn"), working, dir.Path()), working);
    EXPECT_EQ(ChooseStartupDocument(true, dir.File("甲.lvrn"), working, dir.Path()),
              dir.File("甲.lvrn"));
    // A bare name resolves in the program's folder.
    EXPECT_EQ(ChooseStartupDocument(true, "甲.lvrn", working, dir.Path()), "甲.lvrn");
    EXPECT_EQ(ChooseStartupDocument(true, "甲.lvrn", working, "/nonexistent"), working);
    EXPECT_EQ(ChooseStartupDocument(true, dir.File("gone.lvrn"), working, dir.Path()), working);
    EXPECT_EQ(ChooseStartupDocument(true, "", working, dir.Path()), working);
    // A folder is no document.
    EXPECT_EQ(ChooseStartupDocument(true, dir.Path(), working, dir.Path()), working);
}

}  // namespace
}  // namespace tovarin
