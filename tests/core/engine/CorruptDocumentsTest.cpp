// The sample documents made by tests/data/documents/make-documents.py.
#include <gtest/gtest.h>

#include <dirent.h>

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

namespace tovarin {
namespace {

const std::string kFolder = std::string(TOVARIN_TEST_DATA) + "/documents";

std::vector<std::string> CorruptFiles() {
    std::vector<std::string> names;
    if (DIR* dir = opendir((kFolder + "/corrupt").c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 5 && name.substr(name.size() - 5) == ".lvrn") {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SampleDocuments, ValidDocumentLoadsAndSavesTheSameBytes) {
    TCodeNet net;
    TPrjMgr projects(net);
    const std::string path = kFolder + "/valid.lvrn";
    LoadDocument(path, net, projects);
    EXPECT_EQ(net.Count(), 2);
    ASSERT_EQ(projects.PrjCount(), 2);
    EXPECT_EQ(projects.GetSeqPrj(0).GetBind(1).GetText(),
              "稳搭配:[容]或者12与34相配,或者5与67相配");
    EXPECT_EQ(projects.GetSeqPrj(1).Options().MissMax, 2);
    EXPECT_EQ(BuildDocumentImage(net, projects), ReadWholeFile(path));
}

TEST(SampleDocuments, LabelledDocumentKeepsItsLabelsAndUnknownSection) {
    TCodeNet net;
    TPrjMgr projects(net);
    const std::string path = kFolder + "/labelled.lvrn";
    LoadDocument(path, net, projects);
    ASSERT_EQ(net.Count(), 2);
    EXPECT_EQ(net.GetSeq(0).GetLabel().Text(), "2026149");
    EXPECT_EQ(net.GetSeq(0).GetDate().Text(), "2026-12-04");
    EXPECT_EQ(net.GetSeq(1).GetLabel().Text(), "26150");
    EXPECT_TRUE(net.GetSeq(1).GetDate().Empty());
    EXPECT_EQ(*projects.Sections().Get(99), "未知");
    EXPECT_EQ(BuildDocumentImage(net, projects), ReadWholeFile(path));
}

TEST(SampleDocuments, EveryCorruptDocumentIsRefusedAndChangesNothing) {
    const std::vector<std::string> names = CorruptFiles();
    // 277 truncations of the valid document and 17 hand-made records.
    ASSERT_EQ(names.size(), 294U);
    TCodeNet net;
    TPrjMgr projects(net);
    LoadDocument(kFolder + "/valid.lvrn", net, projects);
    const std::string before = BuildDocumentImage(net, projects);
    for (const std::string& name : names) {
        EXPECT_THROW(LoadDocument(kFolder + "/corrupt/" + name, net, projects), Exception) << name;
        ASSERT_EQ(BuildDocumentImage(net, projects), before) << name;
        EXPECT_FALSE(projects.Modified()) << name;
    }
}

}  // namespace
}  // namespace tovarin
