// Files that are not what a document, a draw list or a settings file should
// be, and machines that stop a write: the command line refuses or reports
// them and changes nothing.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "support/ChildProcess.h"
#endif

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/PosixOnly.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3127000", "5555555"});
        projects.AddPrj(std::make_unique<TSeqPrj>(net));
        path = dir.File("doc.lvrn");
        SaveDocument(path, net, projects);
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;
};

TEST_F(HostileFiles, AFifoInTheDocumentsPlaceIsRefusedAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    const std::string fifo = dir.File("fifo.lvrn");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const test::ChildEnd end = test::RunInChild(
        [&] {
            const test::CliResult result = RunCli({"info", fifo});
            return result.status == 1 && result.err == "tovarin-cli info: cannot read " + fifo +
                                                           ": Unable to open " + fifo +
                                                           ": not a regular file\n"
                       ? 0
                       : 1;
        },
        10);
    // A reader caught in open() is let go, so that no process is left behind.
    const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) {
        close(writer);
    }
    EXPECT_EQ(end.status, 0) << "signal " << end.signal;
#endif
}

TEST_F(HostileFiles, ADocumentAboveTheBoundIsRefusedBeforeReading) {
    const std::string huge = dir.File("huge.lvrn");
    // Sparse: no disk space and no time, and nothing of it may be read.
    WriteFileAtomically(huge, "");
    std::filesystem::resize_file(test::FsPath(huge), kMaxFileBytes + 1);
    const test::CliResult result = RunCli({"info", huge});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli info: cannot read " + huge + ": Unable to read " + huge +
                              ": File too large\n");
}

TEST_F(HostileFiles, ExportingThroughALinkReplacesTheLinkedFile) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymbolicLinksOnWindows;
#else
    const std::string target = dir.File("draws.txt");
    WriteFileAtomically(target, "old");
    ASSERT_EQ(symlink("draws.txt", dir.File("link.txt").c_str()), 0);
    const test::CliResult result = RunCli({"draws", "export", path, dir.File("link.txt")});
    ASSERT_EQ(result.status, 0) << result.err;
    struct stat info {};
    ASSERT_EQ(lstat(dir.File("link.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_NE(ReadWholeFile(target).find("3127000\r\n5555555\r\n"), std::string::npos);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"doc.lvrn", "draws.txt", "link.txt"}));
#endif
}

TEST_F(HostileFiles, ADanglingLinkIsNotReplaced) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymbolicLinksOnWindows;
#else
    ASSERT_EQ(symlink("gone.txt", dir.File("link.txt").c_str()), 0);
    const test::CliResult result = RunCli({"draws", "export", path, dir.File("link.txt")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli draws export: Unable to write to " + dir.File("link.txt") +
                              ": No such file or directory\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"doc.lvrn", "link.txt"}));
#endif
}

TEST_F(HostileFiles, AFileSizeLimitFailsTheSaveInsteadOfKillingTheProgram) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimitOnWindows;
#else
    const std::string before = ReadWholeFile(path);
    const std::string draws = dir.File("draws.txt");
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += "1234567\r\n";
    }
    WriteFileAtomically(draws, text);
    const test::ChildEnd end = test::RunInChild([&] {
        // The limit's signal as a shell leaves it: the program must see to it.
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit bound{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &bound);
        const test::CliResult result = RunCli({"draws", "import", path, draws});
        if (result.status == -1) {
            return 2;
        }
        return result.status == 1 && result.err == "tovarin-cli draws import: Unable to write to " +
                                                       path + ": File too large\n"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(end.status, 0) << "2: the program was killed";
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"doc.lvrn", "draws.txt"}));
#endif
}

TEST_F(HostileFiles, ASaveRemovesWhatSavesOfEndedProgramsLeftBesideTheDocument) {
    // No system hands out a process id this high: its program has ended.
    const std::string left = dir.File(".tovarin-999999999-3.tmp");
    WriteFileAtomically(left, "a save cut short");
    const std::string draws = dir.File("draws.txt");
    WriteFileAtomically(draws, "1234567\r\n");
    const test::CliResult result = RunCli({"draws", "import", path, draws});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"doc.lvrn", "draws.txt"}));
}

TEST_F(HostileFiles, ADocumentWithALongNameCanBeSaved) {
    const std::string name = std::string(240, 'd') + ".lvrn";
    const std::string draws = dir.File("draws.txt");
    WriteFileAtomically(draws, "1234567\r\n");
    ASSERT_EQ(RunCli({"draws", "import", dir.File(name), draws}).status, 0);
    const test::CliResult again = RunCli({"draws", "import", dir.File(name), draws});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(RunCli({"info", dir.File(name)}).out.rfind("draws 1\n", 0), 0U);
}

TEST_F(HostileFiles, ImportSkipsAUtf8MarkAndRefusesUtf16) {
    const std::string draws = dir.File("draws.txt");
    WriteFileAtomically(draws, "\xEF\xBB\xBF;comment\r\n1234567\r\n");
    ASSERT_EQ(RunCli({"draws", "import", path, draws}).status, 0);
    EXPECT_EQ(RunCli({"info", path}).out.rfind("draws 1\n", 0), 0U);

    const std::string before = ReadWholeFile(path);
    WriteFileAtomically(draws, std::string("\xFF\xFE;\0x\0\r\0\n\0"
                                           "1\0"
                                           "2\0",
                                           14));
    const test::CliResult result = RunCli({"draws", "import", path, draws});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli draws import: " + std::string(kNotDrawTextText) + "\n");
    EXPECT_EQ(ReadWholeFile(path), before);
}

}  // namespace
}  // namespace tovarin
