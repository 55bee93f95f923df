#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "support/FileSizeLimit.h"

namespace tovarin {
namespace {

// A fresh folder per test, removed with whatever is left in it.
class FileIOTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "tovarin-fileio-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        for (const std::string& name : Entries()) {
            unlink((folder_ + "/" + name).c_str());
        }
        rmdir(folder_.c_str());
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        DIR* dir = opendir(folder_.c_str());
        if (dir == nullptr) {
            return names;
        }
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(dir);
        return names;
    }

    std::string Path(const char* name) const { return folder_ + "/" + name; }

    std::string folder_;
};

TEST_F(FileIOTest, WritesANewFileAndReadsItBack) {
    const std::string bytes("a\0b\r\n\xCE\xC8", 7);
    WriteFileAtomically(Path("doc.lvrn"), bytes);
    EXPECT_TRUE(FileExists(Path("doc.lvrn")));
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), bytes);
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
}

TEST_F(FileIOTest, ReplacesAnExistingFileAndKeepsItsPermissions) {
    WriteFileAtomically(Path("doc.lvrn"), "old contents that are longer");
    ASSERT_EQ(chmod(Path("doc.lvrn").c_str(), 0640), 0);
    WriteFileAtomically(Path("doc.lvrn"), "new");
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), "new");
    struct stat info {};
    ASSERT_EQ(stat(Path("doc.lvrn").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
}

TEST_F(FileIOTest, ANewFileGetsThePermissionsTheUmaskLeaves) {
    const mode_t saved = umask(027);
    WriteFileAtomically(Path("new"), "x");
    umask(saved);
    struct stat info {};
    ASSERT_EQ(stat(Path("new").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
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
}

TEST_F(FileIOTest, ReadFileHeadStopsAtTheLimit) {
    std::string bytes(200000, 'a');
    bytes.back() = 'z';
    WriteFileAtomically(Path("big.txt"), bytes);
    EXPECT_EQ(ReadFileHead(Path("big.txt"), 10), std::string(10, 'a'));
    EXPECT_EQ(ReadFileHead(Path("big.txt"), 0), "");
    EXPECT_EQ(ReadFileHead(Path("big.txt"), 200000), bytes);
    EXPECT_EQ(ReadFileHead(Path("big.txt"), 200001), bytes);
    EXPECT_EQ(ReadWholeFile(Path("big.txt")), bytes);
    WriteFileAtomically(Path("empty.txt"), "");
    EXPECT_EQ(ReadWholeFile(Path("empty.txt")), "");
    EXPECT_EQ(ReadFileHead(Path("empty.txt"), 5), "");
}

TEST_F(FileIOTest, FilesWithoutASizeAreReadToTheirEnd) {
    // /proc files report size 0 and still have contents.
    const std::string status = ReadWholeFile("/proc/self/status");
    EXPECT_NE(status.find("Name:"), std::string::npos);
    EXPECT_EQ(ReadFileHead("/proc/self/status", 5), "Name:");
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
