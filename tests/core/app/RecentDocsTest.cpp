#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/app/RecentDocs.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::TempDir;
using Paths = std::vector<std::string>;

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
    recent.Add("/home/王/旧.lvrn");
    recent.Add("/home/王/新 文档.lvrn");
    recent.Save(file);
    EXPECT_EQ(ReadWholeFile(file), "/home/王/新 文档.lvrn\n/home/王/旧.lvrn\n");
    EXPECT_EQ(TRecentDocs::Load(file).Items(), recent.Items());
}

TEST(RecentDocs, BadLinesAreSkipped) {
    TempDir dir;
    const std::string file = dir.File("recent");
    WriteFileAtomically(file, "relative.lvrn\n/good.lvrn\r\n/tab\there\n\n/ok.lvrn\n/good2.lvrn");
    EXPECT_EQ(TRecentDocs::Load(file).Items(), (Paths{"/good.lvrn", "/ok.lvrn", "/good2.lvrn"}));
    // More than eight lines keep the first eight.
    std::string many;
    for (int i = 1; i <= 12; ++i) {
        many += "/" + std::to_string(i) + "\n";
    }
    WriteFileAtomically(file, many);
    EXPECT_EQ(TRecentDocs::Load(file).Items(),
              (Paths{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}));
}

TEST(RecentDocs, HostileFilesGiveAnEmptyList) {
    TempDir dir;
    const std::string huge = dir.File("huge");
    WriteFileAtomically(huge, "/a\n" + std::string(70000, 'x'));
    EXPECT_TRUE(TRecentDocs::Load(huge).Items().empty());
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(TRecentDocs::Load(fifo).Items().empty());
    EXPECT_TRUE(TRecentDocs::Load(dir.Path()).Items().empty());
}

}  // namespace
}  // namespace tovarin
