#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>

#include "support/FileSizeLimit.h"
#endif

#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "support/PosixOnly.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

// A fresh folder per test, removed with whatever is left in it.
class FileIOTest : public ::testing::Test {
protected:
    std::vector<std::string> Entries() const { return dir_.Names(); }
    std::string Path(const char* name) const { return dir_.File(name); }

    test::TempDir dir_;
    const std::string& folder_ = dir_.Path();
};

TEST_F(FileIOTest, WritesANewFileAndReadsItBack) {
    const std::string bytes("a\0b\r\n\xCE\xC8", 7);
    WriteFileAtomically(Path("doc.lvrn"), bytes);
    EXPECT_TRUE(FileExists(Path("doc.lvrn")));
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), bytes);
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
}

TEST_F(FileIOTest, ReplacesAnExistingFileAndKeepsItsPermissions) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoPermissionBitsOnWindows;
#else
    WriteFileAtomically(Path("doc.lvrn"), "old contents that are longer");
    ASSERT_EQ(chmod(Path("doc.lvrn").c_str(), 0640), 0);
    WriteFileAtomically(Path("doc.lvrn"), "new");
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), "new");
    struct stat info {};
    ASSERT_EQ(stat(Path("doc.lvrn").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
#endif
}

TEST_F(FileIOTest, ReplacesAnExistingFile) {
    WriteFileAtomically(Path("doc.lvrn"), "old contents that are longer");
    WriteFileAtomically(Path("doc.lvrn"), "new\n");
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), "new\n") << "no CR comes before the line end";
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
}

TEST_F(FileIOTest, ChineseNamesAreKept) {
    WriteFileAtomically(Path("工作文档.lvrn"), "x");
    EXPECT_TRUE(FileExists(Path("工作文档.lvrn")));
    EXPECT_EQ(ReadWholeFile(Path("工作文档.lvrn")), "x");
    EXPECT_EQ(Entries(), std::vector<std::string>{"工作文档.lvrn"});
}

TEST_F(FileIOTest, ANewFileGetsThePermissionsTheUmaskLeaves) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoPermissionBitsOnWindows;
#else
    const mode_t saved = umask(027);
    WriteFileAtomically(Path("new"), "x");
    umask(saved);
    struct stat info {};
    ASSERT_EQ(stat(Path("new").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
#endif
}

TEST_F(FileIOTest, WritesAnEmptyFile) {
    WriteFileAtomically(Path("empty"), "");
    EXPECT_TRUE(FileExists(Path("empty")));
    EXPECT_EQ(ReadWholeFile(Path("empty")), "");
}

TEST_F(FileIOTest, LargeContentsArriveWhole) {
    std::string bytes;
    for (int i = 0; i < 300000; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    WriteFileAtomically(Path("big"), bytes);
    EXPECT_EQ(ReadWholeFile(Path("big")), bytes);
}

TEST_F(FileIOTest, AMissingFolderIsAnErrorAndCreatesNothing) {
    EXPECT_THROW(WriteFileAtomically(Path("missing/doc.lvrn"), "x"), EInOutError);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(FileIOTest, AFailedWriteKeepsTheOldFileByteForByte) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimitOnWindows;
#else
    const std::string old("old document\0\x01\x02", 15);
    WriteFileAtomically(Path("doc.lvrn"), old);
    const int status = test::RunWithFileSizeLimit(100, [&] {
        try {
            WriteFileAtomically(Path("doc.lvrn"), std::string(5000, 'n'));
        } catch (const EInOutError&) {
            return 0;
        } catch (...) {
            return 2;
        }
        return 1;
    });
    EXPECT_EQ(status, 0) << "1: the write did not fail, 2: wrong exception";
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"}) << "no temporary file is left";
#endif
}

TEST_F(FileIOTest, ReadingAMissingFileIsAnError) {
    try {
        ReadWholeFile(Path("nothing"));
        ADD_FAILURE();
    } catch (const EInOutError& error) {
        EXPECT_NE(std::string(error.what()).find(Path("nothing")), std::string::npos);
    }
}

TEST_F(FileIOTest, FileExistsOnlyForFiles) {
    EXPECT_FALSE(FileExists(Path("nothing")));
    EXPECT_FALSE(FileExists(folder_)) << "a folder is not a file";
    WriteFileAtomically(Path("x"), "1");
    EXPECT_TRUE(FileExists(Path("x")));
}

}  // namespace
}  // namespace tovarin
