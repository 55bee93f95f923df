#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "support/ChildProcess.h"
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

TEST_F(FileIOTest, AFileIsReadPieceByPieceFromWhereTheLastReadEnded) {
    WriteFileAtomically(Path("doc.lvrn"), "0123456789abcdef");
    TFileReader file(Path("doc.lvrn"), true);
    EXPECT_EQ(file.SizeWhenOpened(), 16u);
    char piece[6] = {};
    ASSERT_EQ(file.Read(piece, 6), 6u);
    EXPECT_EQ(std::string(piece, 6), "012345");
    EXPECT_EQ(file.Offset(), 6u);
    EXPECT_EQ(file.ReadUpTo(4), "6789");
    EXPECT_EQ(file.ReadUpTo(100), "abcdef");
    EXPECT_EQ(file.Offset(), 16u);
    EXPECT_EQ(file.Read(piece, 6), 0u);
    EXPECT_EQ(file.ReadUpTo(100), "");
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

// The message of the EInOutError the call throws, or "" when it throws none.
std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const EInOutError& error) {
        return error.what();
    }
    return "";
}

TEST_F(FileIOTest, ReadingAFifoIsRefusedAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    ASSERT_EQ(mkfifo(Path("doc.lvrn").c_str(), 0644), 0);
    // In a child, so that a reader that waits for a writer cannot hold the suite.
    const test::ChildEnd end = test::RunInChild(
        [&] {
            const std::string error = ErrorOf([&] { ReadWholeFile(Path("doc.lvrn")); });
            return error == "Unable to open " + Path("doc.lvrn") + ": not a regular file" ? 0 : 1;
        },
        5);
    EXPECT_EQ(end.status, 0) << "signal " << end.signal;
#endif
}

TEST_F(FileIOTest, ReadingADeviceOrAFolderIsRefused) {
#ifndef _WIN32
    EXPECT_EQ(ErrorOf([] { ReadWholeFile("/dev/zero"); }),
              "Unable to open /dev/zero: not a regular file");
#endif
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder_); }),
              "Unable to open " + folder_ + ": not a regular file");
}

TEST_F(FileIOTest, AFileAboveTheBoundIsRefusedBeforeReading) {
    // Sparse: no disk space and no time, and nothing of it may be read.
    WriteFileAtomically(Path("huge"), "");
    std::filesystem::resize_file(test::FsPath(Path("huge")), kMaxFileBytes + 1);
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(Path("huge")); }),
              "Unable to read " + Path("huge") + ": File too large");
}

TEST_F(FileIOTest, AWriteAboveTheReadersBoundIsRefusedAndTheOldFileKept) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoLazyMemoryOnWindows;
#else
    // Pages that are never touched: the refusal must come before any byte
    // is read, or this costs a gigabyte of memory and of disk.
    const size_t size = kMaxFileBytes + 1;
    void* const pages =
        mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    WriteFileAtomically(Path("doc.lvrn"), "old");
    EXPECT_EQ(ErrorOf([&] {
                  WriteFileAtomically(Path("doc.lvrn"),
                                      std::string_view(static_cast<const char*>(pages), size));
              }),
              "the document would be larger than 1 GB");
    munmap(pages, size);
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
    EXPECT_NO_THROW(CheckWritableSize(kMaxFileBytes));
#endif
}

TEST_F(FileIOTest, SavingThroughALinkReplacesItsTarget) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymbolicLinksOnWindows;
#else
    ASSERT_EQ(mkdir(Path("real").c_str(), 0755), 0);
    WriteFileAtomically(Path("real/doc.lvrn"), "old");
    ASSERT_EQ(chmod(Path("real/doc.lvrn").c_str(), 0640), 0);
    ASSERT_EQ(symlink("real/doc.lvrn", Path("link.lvrn").c_str()), 0);
    WriteFileAtomically(Path("link.lvrn"), "new");
    struct stat info {};
    ASSERT_EQ(lstat(Path("link.lvrn").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
    EXPECT_EQ(ReadWholeFile(Path("real/doc.lvrn")), "new");
    ASSERT_EQ(stat(Path("real/doc.lvrn").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
    std::vector<std::string> entries = Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"link.lvrn", "real"}));
    unlink(Path("real/doc.lvrn").c_str());
    EXPECT_EQ(rmdir(Path("real").c_str()), 0) << "no temporary file beside the target";
#endif
}

TEST_F(FileIOTest, ADanglingLinkOrAFifoIsNotReplaced) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    ASSERT_EQ(symlink("gone.lvrn", Path("dangling.lvrn").c_str()), 0);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(Path("dangling.lvrn"), "x"); }),
              "Unable to write to " + Path("dangling.lvrn") + ": No such file or directory");
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0644), 0);
    ASSERT_EQ(symlink("fifo", Path("to-fifo").c_str()), 0);
    for (const char* name : {"fifo", "to-fifo"}) {
        EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(Path(name), "x"); }),
                  "Unable to write to " + Path(name) + ": not a regular file");
    }
    struct stat info {};
    ASSERT_EQ(lstat(Path("dangling.lvrn").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(lstat(Path("fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    std::vector<std::string> entries = Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"dangling.lvrn", "fifo", "to-fifo"}));
#endif
}

TEST_F(FileIOTest, AFileTheWriterMayNotWriteIsNotReplaced) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    WriteFileAtomically(Path("theirs.lvrn"), "their document");
    ASSERT_EQ(chmod(Path("theirs.lvrn").c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder_.c_str(), 0777), 0);
    // Tests run as root, who may write anything: the writer is another user.
    const test::ChildEnd end = test::RunInChild([&] {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            return 3;
        }
        const std::string error =
            ErrorOf([&] { WriteFileAtomically(Path("theirs.lvrn"), "mine"); });
        return error == "Unable to write to " + Path("theirs.lvrn") + ": Permission denied" ? 0 : 1;
    });
    EXPECT_EQ(end.status, 0) << "1: replaced or wrong message, 3: no other user";
    EXPECT_EQ(ReadWholeFile(Path("theirs.lvrn")), "their document");
    struct stat info {};
    ASSERT_EQ(stat(Path("theirs.lvrn").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0U);
    EXPECT_EQ(Entries(), std::vector<std::string>{"theirs.lvrn"});
#endif
}

TEST_F(FileIOTest, ATargetWithALongNameCanBeSaved) {
    const std::string name = std::string(245, 'd') + ".lvrn";
    WriteFileAtomically(Path(name.c_str()), "first");
    WriteFileAtomically(Path(name.c_str()), "second");
    EXPECT_EQ(ReadWholeFile(Path(name.c_str())), "second");
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
}

TEST_F(FileIOTest, AWriteEndedByASignalLeavesNoTemporaryFile) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    WriteFileAtomically(Path("doc.lvrn"), "old");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        const test::ChildEnd end = test::RunInChild(
            [&] {
                // SIGQUIT would otherwise leave a core file of the test.
                const rlimit noCore{0, 0};
                setrlimit(RLIMIT_CORE, &noCore);
                PrepareProcessForFileWrites();
                WriteFileAtomically(Path("doc.lvrn"), std::string(size_t{256} << 20, 'n'));
                return 0;
            },
            60,
            [&](pid_t child) {
                // Signalled as soon as its temporary file shows.
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                while (Entries().size() < 2 && std::chrono::steady_clock::now() < giveUp) {
                    std::this_thread::sleep_for(std::chrono::microseconds(100));
                }
                kill(child, signal);
            });
        EXPECT_EQ(end.signal, signal)
            << "the signal ends the writer as it would have: " << strsignal(signal);
        EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), "old");
        EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
    }
#endif
}

TEST_F(FileIOTest, AWritePastTheFileSizeLimitFailsInsteadOfEndingTheProcess) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    WriteFileAtomically(Path("doc.lvrn"), "old");
    const test::ChildEnd end = test::RunInChild([&] {
        // The limit's signal is left as a process starts with it.
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit bound{100, 100};
        setrlimit(RLIMIT_FSIZE, &bound);
        PrepareProcessForFileWrites();
        const std::string error =
            ErrorOf([&] { WriteFileAtomically(Path("doc.lvrn"), std::string(5000, 'n')); });
        return error == "Unable to write to " + Path("doc.lvrn") + ": File too large" ? 0 : 1;
    });
    EXPECT_EQ(end.status, 0) << "signal " << end.signal;
    EXPECT_EQ(ReadWholeFile(Path("doc.lvrn")), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.lvrn"});
#endif
}

TEST_F(FileIOTest, TemporariesOfAProcessThatCannotExistAreRemoved) {
    // No system hands out a process id this high.
    const std::string left = ".tovarin-999999999-3.tmp";
    const std::vector<std::string> kept = {".tovarin-x-1.tmp", ".tovarin-1234567890-1.tmp",
                                           ".tovarin-999999999.tmp", "doc.lvrn"};
    for (const std::string& name : kept) {
        WriteFileAtomically(Path(name.c_str()), "k");
    }
    WriteFileAtomically(Path(left.c_str()), "partial");
    EXPECT_EQ(RemoveLeftTemporaries(folder_), 1);
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(), expected);
}

TEST_F(FileIOTest, TemporariesOfEndedWritersAreRemovedAtTheNextStart) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string left = ".tovarin-" + std::to_string(gone) + "-3.tmp";
    const std::string running = ".tovarin-" + std::to_string(getpid()) + "-0.tmp";
    const std::vector<std::string> kept = {running, ".tovarin-x-1.tmp",
                                           ".tovarin-" + std::to_string(gone) + ".tmp", "doc.lvrn"};
    for (const std::string& name : kept) {
        WriteFileAtomically(Path(name.c_str()), "k");
    }
    WriteFileAtomically(Path(left.c_str()), "partial");
    EXPECT_EQ(RemoveLeftTemporaries(folder_), 1);
    std::vector<std::string> entries = Entries();
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(RemoveLeftTemporaries(Path("missing")), 0);
#endif
}

TEST_F(FileIOTest, TemporariesAreRemovedWhereAWriteThroughALinkPutsItsOwn) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymbolicLinksOnWindows;
#else
    // No system hands out a process id this high.
    const std::string left = ".tovarin-999999999-3.tmp";
    ASSERT_EQ(mkdir(Path("real").c_str(), 0755), 0);
    WriteFileAtomically(Path("real/doc.lvrn"), "doc");
    WriteFileAtomically(Path(("real/" + left).c_str()), "partial");
    WriteFileAtomically(Path(left.c_str()), "partial");
    ASSERT_EQ(symlink("real/doc.lvrn", Path("link.lvrn").c_str()), 0);
    EXPECT_EQ(RemoveLeftTemporariesBeside(Path("link.lvrn")), 1);
    EXPECT_FALSE(FileExists(Path(("real/" + left).c_str())));
    EXPECT_EQ(ReadWholeFile(Path("real/doc.lvrn")), "doc");
    EXPECT_EQ(RemoveLeftTemporariesBeside(Path("missing/doc.lvrn")), 0);
    EXPECT_EQ(RemoveLeftTemporariesBeside(Path("real")), 0) << "a folder is no write target";
    EXPECT_EQ(Entries(), (std::vector<std::string>{left, "link.lvrn", "real"}));
#endif
}

}  // namespace
}  // namespace tovarin
