// The document's extension: labels and dates, other sections, and what a
// reader refuses.
#include <gtest/gtest.h>

#include "core/base/ByteStream.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/DocExtension.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/Hex.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::FromHex;

struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
};

TLabel L(const char* text) { return *TLabel::Parse(text); }
TDrawDate D(const char* text) { return *TDrawDate::Parse(text); }

// Two draws, 0372915 labelled 04101 of 2004-01-01 and 1234567 with
// neither, and no projects.
// clang-format off
const std::string kBlocks =
    "02000000"
    "00000000" "03000000" "07000000" "02000000" "09000000" "01000000" "05000000"
    "01000000" "02000000" "03000000" "04000000" "05000000" "06000000" "07000000"
    "00000000";
const std::string kLabelled = kBlocks +
    "54565258" "01000000"                   // TVRX, version 1
    "01000000" "16000000"                   // labels and dates, 22 bytes
    "02000000"                              // for two draws
    "05" "05100000" "bd290b00"              // 04101, 2004-01-01 (day 731581)
    "00" "00000000" "00000000";             // neither
// clang-format on
constexpr size_t kExtensionAt = 4 + 2 * 28 + 4;

void FillLabelled(Doc& doc) {
    test::AddDraws(doc.net, {"0372915", "1234567"});
    doc.net.SetLabelDate(0, L("04101"), D("2004-01-01"));
    doc.net.SetLabelDate(1, TLabel(), TDrawDate());
}

TEST(DocExtension, LabelsAndDatesBytes) {
    Doc doc;
    FillLabelled(doc);
    EXPECT_EQ(test::Hex(BuildDocumentImage(doc.net, doc.projects)), kLabelled);

    Doc loaded;
    LoadDocumentImage(FromHex(kLabelled), loaded.net, loaded.projects);
    EXPECT_EQ(loaded.net.GetSeq(0).GetLabel().Text(), "04101");
    EXPECT_EQ(loaded.net.GetSeq(0).GetDate().Text(), "2004-01-01");
    EXPECT_TRUE(loaded.net.GetSeq(1).GetLabel().Empty());
    EXPECT_EQ(loaded.net.LabelledCount(), 1);
    EXPECT_FALSE(loaded.net.Modified());
}

TEST(DocExtension, ADocumentThatNeedsNoneIsWrittenWithout) {
    Doc doc;
    FillLabelled(doc);
    doc.net.SetLabelDate(0, TLabel(), D("2004-01-01"));
    EXPECT_NE(test::Hex(BuildDocumentImage(doc.net, doc.projects)), kBlocks);
    doc.net.SetLabelDate(0, TLabel(), TDrawDate());
    EXPECT_EQ(test::Hex(BuildDocumentImage(doc.net, doc.projects)), kBlocks);
}

TEST(DocExtension, OtherSectionsAreKeptInOrderAndWrittenBackUnchanged) {
    const std::string image = kLabelled +
                              "63000000"
                              "03000000"
                              "616263"  // kind 99: "abc"
                              "03000000"
                              "00000000";  // kind 3, empty
    Doc doc;
    LoadDocumentImage(FromHex(image), doc.net, doc.projects);
    ASSERT_NE(doc.projects.Sections().Get(99), nullptr);
    EXPECT_EQ(*doc.projects.Sections().Get(99), "abc");
    EXPECT_EQ(*doc.projects.Sections().Get(3), "");
    EXPECT_EQ(test::Hex(BuildDocumentImage(doc.net, doc.projects)), image);

    // Through a file, whose draws are read apart from the rest.
    const test::TempDir dir;
    WriteFileAtomically(dir.File("doc.lvrn"), FromHex(image));
    Doc fromFile;
    LoadDocument(dir.File("doc.lvrn"), fromFile.net, fromFile.projects);
    EXPECT_EQ(test::Hex(BuildDocumentImage(fromFile.net, fromFile.projects)), image);
}

TEST(DocExtension, SectionChangesAreAnnouncedAndMarkTheDocumentModified) {
    Doc doc;
    std::vector<TPrjChange> heard;
    doc.projects.Subscribe(
        [&heard](TPrjChange change, const TSeqPrj*) { heard.push_back(change); });
    doc.projects.SetSection(3, "ledger");
    EXPECT_TRUE(doc.projects.Modified());
    doc.projects.ClearModified();
    doc.projects.RemoveSection(7);
    EXPECT_FALSE(doc.projects.Modified());
    doc.projects.SetSection(3, "more");
    doc.projects.RemoveSection(3);
    EXPECT_EQ(heard, (std::vector<TPrjChange>(3, TPrjChange::Sections)));
    EXPECT_TRUE(doc.projects.Sections().Empty());
    // Without labels or sections the document is its two blocks again.
    EXPECT_EQ(BuildDocumentImage(doc.net, doc.projects).size(), 8U);
}

TEST(DocExtension, TrailingBytesWithoutTheMagicAreIgnored) {
    for (const char* tail : {"ffffffff0102", "545652", "5456525901000000", "74767278"}) {
        Doc doc;
        LoadDocumentImage(FromHex(kBlocks + tail), doc.net, doc.projects);
        EXPECT_EQ(doc.net.Count(), 2) << tail;
        EXPECT_EQ(test::Hex(BuildDocumentImage(doc.net, doc.projects)), kBlocks) << tail;
    }
}

// A cut inside a section, a header or the version is refused, naming the
// byte where the reader stopped; a cut at a section's end leaves a shorter
// extension that is whole.
TEST(DocExtension, EveryTruncationInsideTheExtensionIsRefused) {
    const std::string image = FromHex(kLabelled +
                                      "63000000"
                                      "03000000"
                                      "616263");
    const size_t labelsEnd = kExtensionAt + 8 + 8 + 22;
    Doc doc;
    FillLabelled(doc);
    doc.projects.SetSection(5, "x");
    const std::string before = BuildDocumentImage(doc.net, doc.projects);
    for (size_t length = kExtensionAt + 4; length < image.size(); ++length) {
        if (length == kExtensionAt + 8 || length == labelsEnd) {
            continue;
        }
        try {
            LoadDocumentImage(image.substr(0, length), doc.net, doc.projects);
            ADD_FAILURE() << "length " << length;
        } catch (const EReadError& error) {
            EXPECT_NE(std::string(error.what()).find(" at byte "), std::string::npos)
                << error.what();
        }
        ASSERT_EQ(BuildDocumentImage(doc.net, doc.projects), before) << "length " << length;
    }
    LoadDocumentImage(image.substr(0, labelsEnd), doc.net, doc.projects);
    EXPECT_TRUE(doc.projects.Sections().Empty());
    EXPECT_EQ(doc.net.LabelledCount(), 1);
}

TEST(DocExtension, SpoiledExtensionsAreRefusedWithTheirByte) {
    const std::string head = kBlocks + "54565258";
    const std::string labels =
        "01000000"
        "16000000"
        "02000000";
    const std::string good =
        "00"
        "00000000"
        "00000000";
    const struct {
        std::string hex;
        std::string message;
    } cases[] = {
        {head + "02000000",
         "Document extension version 2 at byte 68 is newer than this program reads (1)"},
        {head + "00000000", "Bad document extension version 0 at byte 68"},
        {head + "01000000"
                "05000000"
                "ffffffff",
         "Section of kind 5 at byte 72 announces -1 bytes, but only 0 follow"},
        {head + "01000000"
                "05000000"
                "02000000"
                "00",
         "Section of kind 5 at byte 72 announces 2 bytes, but only 1 follow"},
        {head +
             "01000000"
             "01000000"
             "0d000000"
             "01000000" +
             good,
         "Labels at byte 80 are for 1 draws, but the table has 2"},
        {head + "01000000" + labels +
             "0a"
             "00000000"
             "00000000" +
             good,
         "Bad label (0 in 10 digits) at byte 84"},
        {head + "01000000" + labels + good +
             "02"
             "64000000"
             "00000000",
         "Bad label (100 in 2 digits) at byte 93"},
        {head + "01000000" + labels + good +
             "00"
             "00000000"
             "dcb93700",
         "Bad date 3652060 at byte 98"},
        {head + "01000000" + labels + good +
             "00"
             "00000000"
             "ffffffff",
         "Bad date 4294967295 at byte 98"},
        {head +
             "01000000"
             "01000000"
             "17000000"
             "02000000" +
             good + good + "00",
         "Section of kind 1 at byte 72 has 1 bytes after its labels at byte 102"},
        {head + "01000000"
                "09000000"
                "00000000"
                "09000000"
                "00000000",
         "Second section of kind 9 at byte 80"},
    };
    for (const auto& c : cases) {
        Doc doc;
        try {
            LoadDocumentImage(FromHex(c.hex), doc.net, doc.projects);
            ADD_FAILURE() << c.message;
        } catch (const EReadError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

// 0372915 and 1 2 3 4 5 6 14, no projects, and the game 七星彩.
// clang-format off
const std::string kQxcBlocks =
    "02000000"
    "00000000" "03000000" "07000000" "02000000" "09000000" "01000000" "05000000"
    "01000000" "02000000" "03000000" "04000000" "05000000" "06000000" "0e000000"
    "00000000";
const std::string kQxc = kQxcBlocks +
    "54565258" "01000000"
    "02000000" "04000000" "01000000";       // the game, 4 bytes: 1 (七星彩)
// clang-format on

TEST(DocExtension, TheGameBytesAndASevenDigitDocumentWithout) {
    Doc doc;
    test::AddDraws(doc.net, {"0372915", "1234567"});
    EXPECT_EQ(test::Hex(BuildDocumentImage(doc.net, doc.projects)), kBlocks);
    doc.net.SetGame(TGame::Qxc);
    doc.net.SetNum(1, 6, 14);
    EXPECT_EQ(test::Hex(BuildDocumentImage(doc.net, doc.projects)), kQxc);

    Doc loaded;
    LoadDocumentImage(FromHex(kQxc), loaded.net, loaded.projects);
    EXPECT_EQ(loaded.net.Game(), TGame::Qxc);
    EXPECT_EQ(NumbersText(loaded.net.GetSeq(1), TGame::Qxc), "1 2 3 4 5 6 14");
    EXPECT_FALSE(loaded.net.Modified());
    // Back to the seven digits: the document is the specified one again.
    loaded.net.SetNum(1, 6, 7);
    loaded.net.SetGame(TGame::Seven);
    EXPECT_EQ(test::Hex(BuildDocumentImage(loaded.net, loaded.projects)), kBlocks);

    // Through a file, whose draw block is decoded as it is read.
    test::TempDir dir;
    const std::string path = dir.File("qxc.lvrn");
    WriteFileAtomically(path, FromHex(kQxc));
    Doc opened;
    LoadDocument(path, opened.net, opened.projects);
    EXPECT_EQ(opened.net.Game(), TGame::Qxc);
    EXPECT_EQ(opened.net.GetNum(1, 6), 14);
    // A document of no game section is of the seven digits again.
    LoadDocument(path, opened.net, opened.projects);
    LoadDocumentImage(FromHex(kBlocks), opened.net, opened.projects);
    EXPECT_EQ(opened.net.Game(), TGame::Seven);
}

TEST(DocExtension, NumbersTheGameCannotHoldAndSpoiledGamesAreRefused) {
    // clang-format off
    const std::string head = kBlocks + "54565258" "01000000";
    const std::string game = "54565258" "01000000" "02000000" "04000000";
    const std::string pl5Blocks =
        "01000000" "01000000" "02000000" "03000000" "04000000" "05000000" "00000000"
        "03000000" "00000000";
    const struct {
        std::string hex;
        std::string message;
    } cases[] = {
        {kQxcBlocks, "TSeq.SetNum Error! (digit 14 at byte 56)"},
        {kQxcBlocks + game + "00000000", "TSeq.SetNum Error! (digit 14 at byte 56)"},
        // As 排列5 the first draw's sixth number (1) is already one too many.
        {kQxcBlocks + game + "02000000", "TSeq.SetNum Error! (digit 1 at byte 24)"},
        {pl5Blocks + game + "02000000", "TSeq.SetNum Error! (digit 3 at byte 28)"},
        {head + "02000000" "03000000" "010000", "Game section at byte 72 has 3 bytes instead of 4"},
        {head + "02000000" "04000000" "07000000", "Unknown game 7 at byte 80"},
        {head + "02000000" "04000000" "01000000" "02000000" "04000000" "01000000",
         "Second section of kind 2 at byte 84"},
        {"01000000" "00000000" "00000000" "00000000" "00000000" "00000000" "00000000" "0f000000"
         "00000000" + game + "01000000",
         "TSeq.SetNum Error! (digit 15 at byte 28)"},
    };
    // clang-format on
    for (const auto& c : cases) {
        Doc doc;
        test::AddDraws(doc.net, {"5555555"});
        try {
            LoadDocumentImage(FromHex(c.hex), doc.net, doc.projects);
            ADD_FAILURE() << c.message;
        } catch (const EReadError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_EQ(test::DrawTexts(doc.net), (std::vector<std::string>{"5555555"}));
        EXPECT_EQ(doc.net.Game(), TGame::Seven);
    }
}

}  // namespace
}  // namespace tovarin
