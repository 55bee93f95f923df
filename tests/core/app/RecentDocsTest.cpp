#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/ChildProcess.h"
#endif

#include "core/app/RecentDocs.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::TempDir;
using Paths = std::vector<std::string>;

// A document of the user's, as this system spells its path.
std::string InHome(const std::string& name) {
#ifdef _WIN32
    return "C:\\Users\\王\\" + name;
#else
    return "/home/王/" + name;
#endif
}

TEST(RecentDocs, NewestFirstWithoutRepeats) {
    TRecentDocs recent;
    recent.Add("/a.lvrn");
    recent.Add("/b.lvrn");
    recent.Add("/a.lvrn");
    recent.Add("");
    EXPECT_EQ(recent.Items(), (Paths{"/a.lvrn", "/b.lvrn"}));
    recent.Remove("/a.lvrn");
    recent.Remove("/missing.lvrn");
    EXPECT_EQ(recent.Items(), (Paths{"/b.lvrn"}));
}

TEST(RecentDocs, EightAtMost) {
    TRecentDocs recent;
    for (int i = 1; i <= 10; ++i) {
        recent.Add("/" + std::to_string(i));
    }
    EXPECT_EQ(recent.Items(), (Paths{"/10", "/9", "/8", "/7", "/6", "/5", "/4", "/3"}));
}

TEST(RecentDocs, FileRoundTrip) {
    TempDir dir;
    const std::string file = RecentDocsFilePath(dir.Path());
    EXPECT_EQ(file, dir.Path() + "/ormelux-recent.txt");
    EXPECT_TRUE(TRecentDocs::Load(file).Items().empty());
    TRecentDocs recent;
    recent.Add(InHome("旧.lvrn"));
    recent.Add(InHome("新 文档.lvrn"));
    recent.Save(file);
    EXPECT_EQ(ReadWholeFile(file), InHome("新 文档.lvrn") + "\n" + InHome("旧.lvrn") + "\n");
    EXPECT_EQ(TRecentDocs::Load(file).Items(), recent.Items());
}

TEST(RecentDocs, BadLinesAreSkipped) {
    TempDir dir;
    const std::string file = dir.File("recent");
    WriteFileAtomically(file, "relative.lvrn\n" + InHome("good.lvrn") + "\r\n" +
                                  InHome("tab\there") + "\n\n" + InHome("ok.lvrn") + "\n" +
                                  InHome("good2.lvrn"));
    EXPECT_EQ(TRecentDocs::Load(file).Items(),
              (Paths{InHome("good.lvrn"), InHome("ok.lvrn"), InHome("good2.lvrn")}));
    // More than eight lines keep the first eight.
    std::string many;
    for (int i = 1; i <= 12; ++i) {
        many += InHome(std::to_string(i)) + "\n";
    }
    WriteFileAtomically(file, many);
    Paths eight;
    for (int i = 1; i <= 8; ++i) {
        eight.push_back(InHome(std::to_string(i)));
    }
    EXPECT_EQ(TRecentDocs::Load(file).Items(), eight);
}

TEST(RecentDocs, HostileFilesGiveAnEmptyList) {
    TempDir dir;
    const std::string huge = dir.File("huge");
    const std::string first = InHome("a") + "\n";  // a path of the system's own form
    WriteFileAtomically(huge, first + std::string(70000, 'x'));
    std::string warning;
    EXPECT_TRUE(TRecentDocs::Load(huge, &warning).Items().empty());
    EXPECT_EQ(warning, "最近打开的文档列表 " + huge + " 大于 64 KB，已忽略");
    WriteFileAtomically(huge, first + std::string(64 * 1024 - first.size(), 'x'));
    warning.clear();
    EXPECT_EQ(TRecentDocs::Load(huge, &warning).Items().size(), 1U) << "exactly at the bound";
    EXPECT_EQ(warning, "");
#ifndef _WIN32
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(TRecentDocs::Load(fifo).Items().empty());
#endif
    EXPECT_TRUE(TRecentDocs::Load(dir.Path()).Items().empty());
}

// A list of almost the whole file bound is not taken into memory to be
// refused: the load succeeds in a process that has far less memory.
TEST(RecentDocs, ALargeFileIsNotReadWhole) {
#if defined(_WIN32) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "needs fork and an address-space limit, which a sanitizer's shadow defeats";
#else
    TempDir dir;
    const std::string huge = dir.File("huge");
    WriteFileAtomically(huge, "");
    std::filesystem::resize_file(test::FsPath(huge), kMaxFileBytes - 1);  // sparse
    const test::ChildEnd end = test::RunInChild([&] {
        const rlimit bound{size_t{512} << 20, size_t{512} << 20};
        setrlimit(RLIMIT_AS, &bound);
        std::string warning;
        try {
            return TRecentDocs::Load(huge, &warning).Items().empty() && !warning.empty() ? 0 : 1;
        } catch (const std::bad_alloc&) {
            return 2;
        }
    });
    EXPECT_EQ(end.status, 0) << "2: read whole; signal " << end.signal;
#endif
}

}  // namespace
}  // namespace tovarin
