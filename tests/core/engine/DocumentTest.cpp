#include <gtest/gtest.h>

#include "core/base/ByteStream.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/Hex.h"
#include "support/PosixOnly.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include "support/FileSizeLimit.h"
#endif

namespace tovarin {
namespace {

using test::FromHex;
using test::Hex;

// A new project's options as stored.
const std::string kOptions =
    "00000000"
    "01000000"
    "01000000"
    "01000000"
    "28000000"
    "01000000"
    "1e000000"
    "00000000"
    "14000000"
    "00000000"
    "0a000000"
    "00010000"
    "05000000"
    "00000000";

// A document with no draws and one new project without conditions.
const std::string kSmallDocument =
    "00000000"                // no draws
    "01000000"                // one project
    + kOptions + "00000000";  // no conditions

using test::TempDir;

struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
};

// Two projects, draws, conditions of several kinds with Chinese text.
void Fill(Doc& doc) {
    test::AddDraws(doc.net, {"0372915", "9999999", "1234567"});
    TSeqPrj& first = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    TPrjOptions options = first.Options();
    options.MissMax = 2;
    options.Tiny = true;
    options.RcMissBase = 3;
    first.SetOptions(options);
    for (int kind = 1; kind <= 9; ++kind) {
        TBaseBind& bind = first.AddBind(CreateBind(kind, first.Options()));
        bind.SetParam(kind == 9 ? "12与34相配,5与67相配" : kind >= 7 ? "0,9,18" : "1,3,5");
        bind.Assured = kind % 2 == 0;
        bind.AllMatch = kind == 9;
        bind.Checked = kind != 4;
    }
    TSeqPrj& second = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    second.AddBind(CreateBind(3, second.Options()));
}

TEST(Document, SmallDocumentBytes) {
    Doc doc;
    doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    const std::string image = BuildDocumentImage(doc.net, doc.projects);
    EXPECT_EQ(image.size(), 68U);
    EXPECT_EQ(Hex(image), kSmallDocument);
}

TEST(Document, RecordSizes) {
    Doc doc;
    TSeqPrj& project = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    ByteWriter empty;
    project.SaveToStream(empty);
    EXPECT_EQ(empty.Size(), 60U);
    project.AddBind(CreateBind(1, project.Options())).SetParam("1,2");
    project.AddBind(CreateBind(9, project.Options())).SetParam("1与2相配");
    ByteWriter two;
    project.SaveToStream(two);
    // "1与2相配" is 1 + 2 + 1 + 4 GBK bytes.
    EXPECT_EQ(two.Size(), 60U + 16 + 3 + 16 + 8);
}

TEST(Document, RoundTripKeepsEverything) {
    Doc doc;
    Fill(doc);
    TempDir dir;
    const std::string path = dir.File("work.lvrn");
    SaveDocument(path, doc.net, doc.projects);
    EXPECT_FALSE(doc.projects.Modified());
    EXPECT_FALSE(doc.net.Modified());

    Doc loaded;
    loaded.projects.AddPrj(std::make_unique<TSeqPrj>(loaded.net));
    LoadDocument(path, loaded.net, loaded.projects);
    EXPECT_FALSE(loaded.projects.Modified());
    ASSERT_EQ(loaded.net.Count(), 3);
    EXPECT_EQ(loaded.net.GetNum(0, 1), 3);
    EXPECT_EQ(loaded.net.GetNum(2, 6), 7);
    ASSERT_EQ(loaded.projects.PrjCount(), 2);
    const TSeqPrj& first = loaded.projects.GetSeqPrj(0);
    EXPECT_EQ(first.Options().CodeNet, &loaded.net);
    EXPECT_EQ(first.Options().MissMax, 2);
    EXPECT_EQ(first.Options().RcMissBase, 3);
    EXPECT_TRUE(first.Options().Tiny);
    ASSERT_EQ(first.BindCount(), 9);
    for (int i = 0; i < 9; ++i) {
        const TBaseBind& original = doc.projects.GetSeqPrj(0).GetBind(i);
        const TBaseBind& bind = first.GetBind(i);
        EXPECT_EQ(bind.Kind(), i + 1);
        EXPECT_EQ(bind.Param(), original.Param());
        EXPECT_EQ(bind.Assured, original.Assured);
        EXPECT_EQ(bind.AllMatch, original.AllMatch);
        EXPECT_EQ(bind.MultiClause, original.MultiClause);
        EXPECT_EQ(bind.Checked, original.Checked);
        EXPECT_TRUE(bind.Dirty());
    }
    EXPECT_EQ(first.VerifyState(), 0);
    EXPECT_EQ(first.ResultCodes().ValidCount(), 100);
    EXPECT_EQ(BuildDocumentImage(loaded.net, loaded.projects), ReadWholeFile(path));
}

TEST(Document, PaddingAndReservedBytes) {
    Doc doc;
    doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    std::string image = FromHex(kSmallDocument);
    // Arbitrary reserved bytes and padding as files in circulation have them.
    image[8] = '\x11';
    image[11] = '\x44';
    image[8 + 13] = '\x7f';
    image[8 + 47] = '\x01';
    LoadDocumentImage(image, doc.net, doc.projects);
    EXPECT_EQ(doc.projects.GetSeqPrj(0).Options().CodeNet, &doc.net);
    const std::string again = BuildDocumentImage(doc.net, doc.projects);
    EXPECT_EQ(Hex(again.substr(8, 4)), "00000000");
    EXPECT_EQ(again.substr(12), image.substr(12));
}

TEST(Document, EmptyFileChangesNothing) {
    Doc doc;
    Fill(doc);
    TempDir dir;
    const std::string path = dir.File("empty.lvrn");
    WriteFileAtomically(path, "");
    LoadDocument(path, doc.net, doc.projects);
    EXPECT_EQ(doc.net.Count(), 3);
    EXPECT_EQ(doc.projects.PrjCount(), 2);
}

TEST(Document, ZeroProjectsAndTrailingBytes) {
    Doc doc;
    Fill(doc);
    LoadDocumentImage(FromHex("0000000000000000ffff"), doc.net, doc.projects);
    EXPECT_EQ(doc.net.Count(), 0);
    EXPECT_EQ(doc.projects.PrjCount(), 0);
}

// Every prefix of a valid document is refused and changes nothing.
TEST(Document, EveryTruncationIsRefusedWithoutChange) {
    Doc source;
    Fill(source);
    const std::string image = BuildDocumentImage(source.net, source.projects);
    Doc doc;
    doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    const int draw = doc.net.Add();
    doc.net.SetNum(draw, 0, 8);
    const std::string before = BuildDocumentImage(doc.net, doc.projects);
    for (size_t length = 1; length < image.size(); ++length) {
        EXPECT_THROW(LoadDocumentImage(image.substr(0, length), doc.net, doc.projects), EReadError)
            << "length " << length;
        ASSERT_EQ(BuildDocumentImage(doc.net, doc.projects), before) << "length " << length;
    }
    LoadDocumentImage(image, doc.net, doc.projects);
    EXPECT_EQ(BuildDocumentImage(doc.net, doc.projects), image);
}

struct Corruption {
    const char* name;
    std::string hex;
    const char* message;  // part of the error text
};

void PrintTo(const Corruption& c, std::ostream* out) { *out << c.name; }

class CorruptDocument : public ::testing::TestWithParam<Corruption> {};

TEST_P(CorruptDocument, IsRefusedWithoutChange) {
    Doc doc;
    Fill(doc);
    const std::string before = BuildDocumentImage(doc.net, doc.projects);
    try {
        LoadDocumentImage(FromHex(GetParam().hex), doc.net, doc.projects);
        FAIL() << "loaded a corrupt document";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(BuildDocumentImage(doc.net, doc.projects), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CorruptDocument,
    ::testing::Values(Corruption{"NegativeDraws", "ffffffff00000000", "at byte 0"},
                      Corruption{"HugeDraws", "ffffff7f00000000", "at byte 0"},
                      Corruption{"DigitTen",
                                 "01000000"
                                 "0a000000"
                                 "00000000"
                                 "00000000"
                                 "00000000"
                                 "00000000"
                                 "00000000"
                                 "00000000"
                                 "00000000",
                                 ""},
                      Corruption{"NegativeProjects",
                                 "00000000"
                                 "ffffffff",
                                 "project count -1 at byte 4"},
                      Corruption{"HugeProjects",
                                 "00000000"
                                 "00000010",
                                 "at byte 4"},
                      Corruption{"HugeConditions",
                                 "00000000"
                                 "01000000" +
                                     kOptions + "ffffff7f",
                                 "condition count"},
                      Corruption{"KindZero",
                                 "00000000"
                                 "01000000" +
                                     kOptions +
                                     "01000000"
                                     "00000000" +
                                     "00000000"
                                     "00000000"
                                     "00000000",
                                 "Bad condition kind 0"},
                      Corruption{"KindTen",
                                 "00000000"
                                 "01000000" +
                                     kOptions +
                                     "01000000"
                                     "0a000000" +
                                     "0a000000"
                                     "00000000"
                                     "00000000",
                                 "Bad condition kind 10"},
                      Corruption{"NegativeLength",
                                 "00000000"
                                 "01000000" +
                                     kOptions +
                                     "01000000"
                                     "01000000" +
                                     "01000000"
                                     "ffffffff"
                                     "00000000",
                                 "text length -1"},
                      Corruption{"LengthBeyondEnd",
                                 "00000000"
                                 "01000000" +
                                     kOptions + "01000000" +
                                     "01000000"
                                     "01000000"
                                     "10000000"
                                     "31000000",
                                 "text length 16"},
                      Corruption{"TextNotGbk",
                                 "00000000"
                                 "01000000" +
                                     kOptions +
                                     "01000000"
                                     "01000000" +
                                     "01000000"
                                     "02000000"
                                     "ff3f"
                                     "00000001",
                                 "not GBK"}),
    [](const ::testing::TestParamInfo<Corruption>& item) { return item.param.name; });

// A save that fails as it does in life (the disk quota runs out) keeps the
// old file byte for byte and leaves nothing behind.
TEST(Document, FailedSaveKeepsTheOldFile) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimitOnWindows;
#else
    TempDir dir;
    const std::string path = dir.File("work.lvrn");
    Doc small;
    small.projects.AddPrj(std::make_unique<TSeqPrj>(small.net));
    SaveDocument(path, small.net, small.projects);
    const std::string before = ReadWholeFile(path);

    const int status = test::RunWithFileSizeLimit(100, [&] {
        Doc big;
        Fill(big);
        for (int i = 0; i < 100; ++i) {
            big.net.Add();
        }
        try {
            SaveDocument(path, big.net, big.projects);
        } catch (const EInOutError&) {
            return big.net.Modified() && big.projects.Modified() ? 3 : 4;
        }
        return 0;
    });
    EXPECT_EQ(status, 3) << "the save must fail and keep the document modified";
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"work.lvrn"});
#endif
}

TEST(Document, SaveIntoAMissingFolderFails) {
    Doc doc;
    Fill(doc);
    EXPECT_THROW(SaveDocument("/nonexistent-folder/x.lvrn", doc.net, doc.projects), EInOutError);
    EXPECT_TRUE(doc.projects.Modified());
}

TEST(PrjMgr, ListOperations) {
    TCodeNet net;
    TPrjMgr projects(net);
    EXPECT_FALSE(projects.Modified());
    TSeqPrj& a = projects.AddPrj(std::make_unique<TSeqPrj>(net));
    TSeqPrj& b = projects.AddPrj(std::make_unique<TSeqPrj>(net));
    EXPECT_TRUE(projects.Modified());
    EXPECT_EQ(projects.IndexOfPrj(&b), 1);
    EXPECT_EQ(projects.IndexOfPrj(nullptr), -1);
    for (int bad : {-1, 2}) {
        try {
            projects.GetSeqPrj(bad);
            ADD_FAILURE();
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), "TPrjMgr.GetSeqPrj Error!");
        }
        try {
            projects.Del(bad);
            ADD_FAILURE();
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), "TPrjMgr.Del Error!");
        }
    }
    EXPECT_EQ(projects.PrjCount(), 2);
    projects.Move(1, 0);
    EXPECT_EQ(&projects.GetSeqPrj(0), &b);
    EXPECT_EQ(&projects.GetSeqPrj(1), &a);
    ByteWriter out;
    projects.SaveToStream(out);
    EXPECT_FALSE(projects.Modified());
    projects.Del(0);
    EXPECT_TRUE(projects.Modified());
    EXPECT_EQ(&projects.GetSeqPrj(0), &a);
    projects.ClearPrjs();
    EXPECT_EQ(projects.PrjCount(), 0);
    ByteReader in(out.Bytes());
    projects.LoadFromStream(in);
    EXPECT_EQ(projects.PrjCount(), 2);
    EXPECT_FALSE(projects.Modified());
}

}  // namespace
}  // namespace tovarin
