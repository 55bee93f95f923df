// Exact bytes of a document with draws and a condition, and what a refused
// load leaves in place.
#include <gtest/gtest.h>

#include "core/base/ByteStream.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/Hex.h"

namespace tovarin {
namespace {

using test::FromHex;

// One draw 0372915; one project made while the table held that draw (target
// 2), tolerance 0; one assured, checked 稳搭配 condition "1与2相配" with
// AllMatch and MultiClause set.
// clang-format off
const std::string kOneConditionDocument =
    "01000000"                                                    // N
    "00000000" "03000000" "07000000" "02000000"                   // the draw 0372915
    "09000000" "01000000" "05000000"
    "01000000"                                                    // P
    "00000000" "02000000" "00000000"                              // reserved, target, tolerance
    "01000000" "28000000" "01000000" "1e000000" "00000000"        // the rest of the options
    "14000000" "00000000" "0a000000" "00010000" "05000000" "00000000"
    "01000000"                                                    // C
    "09000000"                                                    // the project's kind code
    "09000000" "08000000" "31d3eb32cfe0c5e4" "01" "01" "01" "01"; // the condition record
// clang-format on

struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
};

TEST(DocumentBytes, OneDrawOneProjectOneCondition) {
    Doc doc;
    test::AddDraws(doc.net, {"0372915"});
    TSeqPrj& project = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    TPrjOptions options = project.Options();
    options.MissMax = 0;
    project.SetOptions(options);
    TBaseBind& bind = project.AddBind(CreateBind(9, project.Options()));
    bind.SetParam("1与2相配");
    bind.AllMatch = true;
    bind.MultiClause = true;
    bind.Assured = true;
    bind.Checked = true;
    EXPECT_EQ(BuildDocumentImage(doc.net, doc.projects), FromHex(kOneConditionDocument));

    Doc loaded;
    LoadDocumentImage(FromHex(kOneConditionDocument), loaded.net, loaded.projects);
    ASSERT_EQ(loaded.projects.PrjCount(), 1);
    const TBaseBind& read = loaded.projects.GetSeqPrj(0).GetBind(0);
    EXPECT_EQ(read.Param(), "1与2相配");
    EXPECT_TRUE(read.AllMatch && read.MultiClause && read.Assured && read.Checked);
    EXPECT_EQ(loaded.projects.GetSeqPrj(0).Options().TargetSeq, 2);
    EXPECT_EQ(loaded.net.GetNum(0, 6), 5);
}

TEST(DocumentBytes, BytesAfterTheSecondBlockAreIgnored) {
    Doc doc;
    LoadDocumentImage(FromHex(kOneConditionDocument + "ffffffff0102"), doc.net, doc.projects);
    EXPECT_EQ(doc.net.Count(), 1);
    EXPECT_EQ(doc.projects.PrjCount(), 1);
    EXPECT_EQ(BuildDocumentImage(doc.net, doc.projects), FromHex(kOneConditionDocument));
}

// A document already in the program, modified, with one draw and one project.
void Prepare(Doc& doc) {
    doc.net.Add();
    doc.net.SetNum(0, 0, 4);
    doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net))
        .AddBind(CreateBind(2, doc.projects.GetSeqPrj(0).Options()))
        .SetParam("7");
}

struct Refusal {
    const char* name;
    std::string image;
    std::string message;  // the whole message the load error carries
};

void PrintTo(const Refusal& c, std::ostream* out) { *out << c.name; }

class RefusedLoad : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedLoad, KeepsTheDocumentAndItsModifiedFlags) {
    Doc doc;
    Prepare(doc);
    ASSERT_TRUE(doc.net.Modified());
    ASSERT_TRUE(doc.projects.Modified());
    const std::string before = BuildDocumentImage(doc.net, doc.projects);
    try {
        LoadDocumentImage(GetParam().image, doc.net, doc.projects);
        FAIL() << "loaded";
    } catch (const EReadError& error) {
        EXPECT_EQ(error.what(), GetParam().message);
    }
    EXPECT_EQ(BuildDocumentImage(doc.net, doc.projects), before);
    EXPECT_TRUE(doc.net.Modified());
    EXPECT_TRUE(doc.projects.Modified());
}

std::string WithByte(std::string image, size_t at, char value) {
    image[at] = value;
    return image;
}

const std::string kImage = FromHex(kOneConditionDocument);
// Offsets in kOneConditionDocument.
constexpr size_t kDigitAt = 4 + 4 * 3;  // the fourth digit of the draw
constexpr size_t kEntryKindAt = 32 + 4 + 56 + 4;
constexpr size_t kRecordKindAt = kEntryKindAt + 4;

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedLoad,
    ::testing::Values(Refusal{"DigitTen", WithByte(kImage, kDigitAt, 10),
                              "TSeq.SetNum Error! (digit 10 at byte 16)"},
                      Refusal{"DigitMinusOne", FromHex("01000000ffffffff") + kImage.substr(8),
                              "TSeq.SetNum Error! (digit -1 at byte 4)"},
                      Refusal{"EntryKindDiffers", WithByte(kImage, kEntryKindAt, 1),
                              "Condition kind 9 at byte 100 differs from its entry's kind 1"},
                      Refusal{"RecordKindDiffers", WithByte(kImage, kRecordKindAt, 3),
                              "Condition kind 3 at byte 100 differs from its entry's kind 9"},
                      Refusal{"RecordKindZero", WithByte(kImage, kRecordKindAt, 0),
                              "Bad condition kind 0 at byte 100"},
                      Refusal{"EntryKindTen", WithByte(kImage, kEntryKindAt, 10),
                              "Bad condition kind 10 at byte 96"},
                      Refusal{"LastFlagMissing", kImage.substr(0, kImage.size() - 1),
                              "Unexpected end of data at byte 119: 1 bytes needed, 0 left"}),
    [](const ::testing::TestParamInfo<Refusal>& item) { return item.param.name; });

}  // namespace
}  // namespace tovarin
