// Documents of thousands of draws and conditions read from their files:
// every digit and text comes back, and a file that promises more than it
// holds, carries a bad text deep inside or is cut short while it is read is
// refused with the reader's error and changes nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/base/ByteStream.h"
#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::TempDir;

struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
};

constexpr int kDraws = 3000;
constexpr int kProjects = 30;
constexpr int kConditionsEach = 40;

// Condition texts, ASCII and Chinese in turn, each different.
std::string TextOf(int project, int condition) {
    const std::string number = std::to_string(project * kConditionsEach + condition);
    switch (condition % 4) {
        case 0:
            return number + ",3,5";
        case 1:
            return number + "与34相配,5与67相配";
        case 2:
            return "";
        default:
            return "方案" + number;
    }
}

void FillLarge(Doc& doc) {
    std::vector<TSeq> rows(kDraws);
    for (int row = 0; row < kDraws; ++row) {
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            rows[static_cast<size_t>(row)].SetNum(pos, (row * 3 + pos * 7) % 10);
        }
    }
    doc.net.Replace(std::move(rows));
    for (int p = 0; p < kProjects; ++p) {
        TSeqPrj& project = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
        for (int c = 0; c < kConditionsEach; ++c) {
            const int kind = c % 9 + 1;
            TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
            bind.SetParam(TextOf(p, c));
            bind.Checked = c % 2 == 0;
            bind.Assured = c % 3 == 0;
        }
    }
}

// A small document already open and modified, which a refused load keeps.
void FillSmall(Doc& doc) {
    const int row = doc.net.Add();
    doc.net.SetNum(row, 3, 7);
    doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net))
        .AddBind(CreateBind(1, doc.projects.GetSeqPrj(0).Options()))
        .SetParam("稳");
}

void PutI32(std::string& image, size_t at, int32_t value) {
    ByteWriter out;
    out.WriteI32(value);
    image.replace(at, 4, out.Bytes());
}

class LargeDocument : public ::testing::Test {
protected:
    void SetUp() override {
        FillLarge(source_);
        SaveDocument(path_, source_.net, source_.projects);
        image_ = ReadWholeFile(path_);
        FillSmall(open_);
        before_ = BuildDocumentImage(open_.net, open_.projects);
    }

    // The load of these bytes fails with exactly this message and leaves
    // the open document as it was.
    void ExpectRefused(const std::string& bytes, const std::string& message) {
        WriteFileAtomically(path_, bytes);
        try {
            LoadDocument(path_, open_.net, open_.projects);
            ADD_FAILURE() << "loaded";
        } catch (const EReadError& error) {
            EXPECT_EQ(error.what(), message);
        }
        EXPECT_EQ(BuildDocumentImage(open_.net, open_.projects), before_);
        EXPECT_TRUE(open_.net.Modified());
        EXPECT_TRUE(open_.projects.Modified());
    }

    TempDir folder_;
    const std::string path_ = folder_.File("large.lvrn");
    Doc source_;
    std::string image_;
    Doc open_;
    std::string before_;
};

TEST_F(LargeDocument, EveryDrawAndTextComesBackFromTheFile) {
    LoadDocument(path_, open_.net, open_.projects);
    EXPECT_EQ(BuildDocumentImage(open_.net, open_.projects), image_);
    EXPECT_FALSE(open_.net.Modified());
    EXPECT_FALSE(open_.projects.Modified());
    ASSERT_EQ(open_.net.Count(), kDraws);
    EXPECT_EQ(open_.net.GetNum(kDraws - 1, 6), ((kDraws - 1) * 3 + 6 * 7) % 10);
    ASSERT_EQ(open_.projects.PrjCount(), kProjects);
    for (int p = 0; p < kProjects; ++p) {
        const TSeqPrj& project = open_.projects.GetSeqPrj(p);
        ASSERT_EQ(project.BindCount(), kConditionsEach);
        for (int c = 0; c < kConditionsEach; ++c) {
            EXPECT_EQ(project.GetBind(c).Param(), TextOf(p, c)) << p << "/" << c;
            EXPECT_EQ(project.GetBind(c).Kind(), c % 9 + 1) << p << "/" << c;
        }
    }
}

TEST_F(LargeDocument, ACountOfMoreDrawsThanTheFileHoldsIsRefused) {
    const std::string follow = std::to_string(image_.size() - 4);
    std::string bytes = image_;
    // Enough draws for every byte after the count, and one more.
    const auto fits = static_cast<int32_t>((image_.size() - 4) / 28);
    PutI32(bytes, 0, fits + 1);
    ExpectRefused(bytes, "Draw table at byte 0 announces " + std::to_string(fits + 1) +
                             " draws, but only " + follow + " bytes follow");
    PutI32(bytes, 0, INT32_MAX);
    ExpectRefused(bytes, "Draw table at byte 0 announces 2147483647 draws, but only " + follow +
                             " bytes follow");
    ExpectRefused(image_.substr(0, 4 + 28 * (kDraws - 1)),
                  "Draw table at byte 0 announces 3000 draws, but only " +
                      std::to_string(28 * (kDraws - 1)) + " bytes follow");
}

TEST_F(LargeDocument, ANonDigitDeepInTheTableIsRefusedWithItsOffset) {
    std::string bytes = image_;
    const size_t at = 4 + 28 * 2500 + 4 * 6;
    PutI32(bytes, at, 10);
    ExpectRefused(bytes, "TSeq.SetNum Error! (digit 10 at byte " + std::to_string(at) + ")");
}

TEST_F(LargeDocument, ATextThatIsNotGbkDeepInTheFileIsRefusedAndTheNextLoadReadsEveryText) {
    const std::string gbk = Utf8ToGbk(TextOf(kProjects - 1, 7));
    const size_t at = image_.find(gbk);
    ASSERT_NE(at, std::string::npos);
    std::string bytes = image_;
    bytes[at + 1] = '\xFF';  // a lead byte followed by no trail byte GBK has
    ExpectRefused(bytes, "Condition text is not GBK at byte " + std::to_string(at));

    WriteFileAtomically(path_, image_);
    LoadDocument(path_, open_.net, open_.projects);
    EXPECT_EQ(BuildDocumentImage(open_.net, open_.projects), image_);
    EXPECT_EQ(open_.projects.GetSeqPrj(kProjects - 1).GetBind(7).Param(), TextOf(kProjects - 1, 7));
}

// What loading builds, or the message it refuses the bytes with.
std::string OutcomeOf(const std::function<void(TCodeNet&, TPrjMgr&)>& load) {
    Doc doc;
    try {
        load(doc.net, doc.projects);
    } catch (const EReadError& error) {
        return std::string("refused: ") + error.what();
    }
    return BuildDocumentImage(doc.net, doc.projects);
}

// The file's draws are decoded as they are read, its projects from the
// rest: wherever the file is cut short or spoiled, it is read as its image
// is, to the byte named in a message.
TEST_F(LargeDocument, TheFileIsReadAsItsImageWhereverItIsCutOrSpoiled) {
    const size_t blockEnd = 4 + 28 * size_t{kDraws};
    std::vector<std::string> variants;
    for (size_t cut = 0; cut < image_.size(); cut += image_.size() / 97 + 1) {
        variants.push_back(image_.substr(0, cut));
    }
    for (size_t cut = blockEnd - 3; cut <= blockEnd + 5; ++cut) {
        variants.push_back(image_.substr(0, cut));
    }
    for (const int32_t projects : {-1, 0, 31, 1000000}) {
        std::string spoiled = image_;
        PutI32(spoiled, blockEnd, projects);
        variants.push_back(spoiled);
    }
    variants.push_back(image_ + "trailing bytes");
    int refused = 0;
    for (const std::string& bytes : variants) {
        WriteFileAtomically(path_, bytes);
        const std::string fromFile = OutcomeOf(
            [&](TCodeNet& net, TPrjMgr& projects) { LoadDocument(path_, net, projects); });
        EXPECT_EQ(fromFile, OutcomeOf([&](TCodeNet& net, TPrjMgr& projects) {
                      LoadDocumentImage(bytes, net, projects);
                  }))
            << bytes.size() << " bytes";
        refused += fromFile.starts_with("refused: ") ? 1 : 0;
    }
    EXPECT_GE(refused, 100);
    WriteFileAtomically(path_, image_.substr(0, blockEnd + 2));
    EXPECT_EQ(
        OutcomeOf([&](TCodeNet& net, TPrjMgr& projects) { LoadDocument(path_, net, projects); }),
        "refused: Unexpected end of data at byte " + std::to_string(blockEnd) +
            ": 4 bytes needed, 2 left");
}

// The projects are read from the file a window at a time: a block of
// conditions larger than a window is read as its image is, wherever the file
// is cut or a text spoiled at a window's edge.
TEST(LargeProjectBlock, IsReadAsItsImageAcrossTheReadersWindows) {
    const TempDir folder;
    const std::string path = folder.File("conditions.lvrn");
    Doc source;
    TSeqPrj& project = source.projects.AddPrj(std::make_unique<TSeqPrj>(source.net));
    for (int c = 0; c < 40000; ++c) {
        project.AddBind(CreateBind(c % 9 + 1, project.Options()))
            .SetParam("方案" + std::to_string(c));
    }
    const std::string image = BuildDocumentImage(source.net, source.projects);
    ASSERT_GT(image.size(), size_t{3} << 18);
    std::vector<std::string> variants = {image};
    for (size_t edge = 4 + (size_t{1} << 16); edge < image.size(); edge += size_t{1} << 18) {
        for (size_t cut = edge - 24; cut <= edge + 24; cut += 3) {
            variants.push_back(image.substr(0, cut));
            std::string spoiled = image;
            spoiled[cut] = '\xFF';
            variants.push_back(spoiled);
        }
    }
    for (const std::string& bytes : variants) {
        WriteFileAtomically(path, bytes);
        EXPECT_EQ(
            OutcomeOf([&](TCodeNet& net, TPrjMgr& projects) { LoadDocument(path, net, projects); }),
            OutcomeOf(
                [&](TCodeNet& net, TPrjMgr& projects) { LoadDocumentImage(bytes, net, projects); }))
            << bytes.size() << " bytes";
    }
}

// Draws are decoded a few thousand at a time as they come from the file: a
// bad digit on either side of a piece's end is named where it stands.
TEST(LargeDrawTable, ANonDigitAtAPiecesEdgeIsRefusedWithItsOffset) {
    const TempDir folder;
    const std::string path = folder.File("draws.lvrn");
    Doc source;
    source.net.Replace(std::vector<TSeq>(20000));
    const std::string image = BuildDocumentImage(source.net, source.projects);
    for (const size_t value :
         {size_t{0}, size_t{8191 * 7 + 6}, size_t{8192 * 7}, size_t{19999 * 7 + 6}}) {
        std::string bytes = image;
        const size_t at = 4 + 4 * value;
        PutI32(bytes, at, -3);
        WriteFileAtomically(path, bytes);
        EXPECT_EQ(
            OutcomeOf([&](TCodeNet& net, TPrjMgr& projects) { LoadDocument(path, net, projects); }),
            "refused: TSeq.SetNum Error! (digit -3 at byte " + std::to_string(at) + ")");
    }
    WriteFileAtomically(path, image);
    EXPECT_EQ(
        OutcomeOf([&](TCodeNet& net, TPrjMgr& projects) { LoadDocument(path, net, projects); }),
        image);
}

// Another program cuts the file short and writes it back again and again
// while it is opened: the reader never runs past what it got, so each load
// either reads a document or is refused with the reader's error, and a
// refused one leaves the open document as it was.
TEST_F(LargeDocument, AFileCutShortWhileItIsReadIsRefusedNeverACrash) {
    std::atomic<bool> stop{false};
    std::atomic<int> cutterFailures{0};
    std::thread cutter([&] {
        try {
            const std::filesystem::path file = test::FsPath(path_);
            while (!stop) {
                std::filesystem::resize_file(file, image_.size() / 3);
                std::ofstream out(file, std::ios::binary | std::ios::in | std::ios::out);
                out.write(image_.data(), static_cast<std::streamsize>(image_.size()));
            }
        } catch (const std::exception&) {
            ++cutterFailures;
        }
    });
    for (int load = 0; load < 200; ++load) {
        const std::string held = BuildDocumentImage(open_.net, open_.projects);
        try {
            LoadDocument(path_, open_.net, open_.projects);
        } catch (const EReadError& error) {
            const std::string message = error.what();
            EXPECT_TRUE(
                message.starts_with("Draw table at byte 0 announces 3000 draws, but only ") ||
                message.starts_with("Unexpected end of data at byte ") ||
                message.starts_with("Bad "))
                << message;
            ASSERT_EQ(BuildDocumentImage(open_.net, open_.projects), held) << message;
        }
    }
    stop = true;
    cutter.join();
    EXPECT_EQ(cutterFailures, 0);
    // The file is whole again: it opens as saved.
    WriteFileAtomically(path_, image_);
    LoadDocument(path_, open_.net, open_.projects);
    EXPECT_EQ(BuildDocumentImage(open_.net, open_.projects), image_);
}

}  // namespace
}  // namespace tovarin
