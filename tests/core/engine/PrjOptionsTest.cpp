#include <gtest/gtest.h>

#include <string>

#include "core/base/ByteStream.h"
#include "core/base/Errors.h"
#include "core/engine/PrjOptions.h"
#include "support/Hex.h"

namespace tovarin {
namespace {

using test::Bytes;

std::string Saved(const TPrjOptions& options) {
    ByteWriter out;
    options.SaveToStream(out);
    return out.Bytes();
}

TPrjOptions NewProjectRecord() {
    TPrjOptions options;
    options.TargetSeq = 121;
    return options;
}

// A record as another writer could have left it: garbage in the first four
// bytes and in every padding byte, flag bytes other than 1.
const std::string kDirty = Bytes({
    0xDE, 0xAD, 0xBE, 0xEF,  // CodeNet
    0x10, 0x27, 0x00, 0x00,  // TargetSeq 10000
    0xFE, 0xFF, 0xFF, 0xFF,  // MissMax -2
    0x02, 0xAA, 0xBB, 0xCC,  // Large (2 = set) + padding
    0x64, 0x00, 0x00, 0x00,  // LargeSize 100
    0x00, 0x11, 0x22, 0x33,  // Middle + padding
    0x07, 0x00, 0x00, 0x00,  // MiddleSize 7
    0xFF, 0x44, 0x55, 0x66,  // Small (0xFF = set) + padding
    0x08, 0x00, 0x00, 0x00,  // SmallSize 8
    0x01, 0x77, 0x88, 0x99,  // Tiny + padding
    0x09, 0x00, 0x00, 0x00,  // TinySize 9
    0x03, 0x00, 0xEE, 0xFF,  // HeadLimit, FloatOn, padding
    0x00, 0x00, 0x00, 0x80,  // FloatCount INT32_MIN
    0xFF, 0xFF, 0xFF, 0x7F,  // RcMissBase INT32_MAX
});

TEST(PrjOptions, ANewRecordHasTheProjectDefaults) {
    const TPrjOptions options;
    EXPECT_EQ(options.CodeNet, nullptr);
    EXPECT_EQ(options.MissMax, 1);
    EXPECT_TRUE(options.Large);
    EXPECT_EQ(options.LargeSize, 40);
    EXPECT_TRUE(options.Middle);
    EXPECT_EQ(options.MiddleSize, 30);
    EXPECT_FALSE(options.Small);
    EXPECT_EQ(options.SmallSize, 20);
    EXPECT_FALSE(options.Tiny);
    EXPECT_EQ(options.TinySize, 10);
    EXPECT_FALSE(options.HeadLimit);
    EXPECT_TRUE(options.FloatOn);
    EXPECT_EQ(options.FloatCount, 5);
    EXPECT_EQ(options.RcMissBase, 0);
}

TEST(PrjOptions, GoldenBytesOfANewRecord) {
    EXPECT_EQ(Saved(NewProjectRecord()), Bytes({
                                             0,   0, 0, 0,  // CodeNet: zero
                                             121, 0, 0, 0,  // TargetSeq
                                             1,   0, 0, 0,  // MissMax
                                             1,   0, 0, 0,  // Large
                                             40,  0, 0, 0,  // LargeSize
                                             1,   0, 0, 0,  // Middle
                                             30,  0, 0, 0,  // MiddleSize
                                             0,   0, 0, 0,  // Small
                                             20,  0, 0, 0,  // SmallSize
                                             0,   0, 0, 0,  // Tiny
                                             10,  0, 0, 0,  // TinySize
                                             0,   1, 0, 0,  // HeadLimit, FloatOn
                                             5,   0, 0, 0,  // FloatCount
                                             0,   0, 0, 0,  // RcMissBase
                                         }));
    EXPECT_EQ(Saved(NewProjectRecord()).size(), TPrjOptions::StoredSize);
}

TEST(PrjOptions, FieldsComeBackFromTheirOffsets) {
    TPrjOptions options;
    ByteReader in(kDirty);
    options.LoadFromStream(in);
    EXPECT_EQ(in.Remaining(), 0U);
    EXPECT_EQ(options.CodeNet, nullptr) << "the stored reference means nothing";
    EXPECT_EQ(options.TargetSeq, 10000);
    EXPECT_EQ(options.MissMax, -2);
    EXPECT_TRUE(options.Large);
    EXPECT_EQ(options.LargeSize, 100);
    EXPECT_FALSE(options.Middle);
    EXPECT_EQ(options.MiddleSize, 7);
    EXPECT_TRUE(options.Small);
    EXPECT_EQ(options.SmallSize, 8);
    EXPECT_TRUE(options.Tiny);
    EXPECT_EQ(options.TinySize, 9);
    EXPECT_TRUE(options.HeadLimit);
    EXPECT_FALSE(options.FloatOn);
    EXPECT_EQ(options.FloatCount, INT32_MIN);
    EXPECT_EQ(options.RcMissBase, INT32_MAX);
}

TEST(PrjOptions, ARecordReadAndWrittenAgainIsTheSameFromOffsetFourOn) {
    TPrjOptions options;
    ByteReader in(kDirty);
    options.LoadFromStream(in);
    const std::string again = Saved(options);
    ASSERT_EQ(again.size(), 56U);
    EXPECT_EQ(again.substr(0, 4), std::string(4, '\0'));
    EXPECT_EQ(again.substr(4), kDirty.substr(4));

    // A copy carries the padding too, as the settings dialog's working copy does.
    const TPrjOptions copy = options;
    EXPECT_EQ(Saved(copy), again);
}

TEST(PrjOptions, AChangedFlagIsWrittenAsZeroOrOne) {
    TPrjOptions options;
    ByteReader in(kDirty);
    options.LoadFromStream(in);
    options.Large = false;  // stored 2
    options.Middle = true;  // stored 0
    options.HeadLimit = false;
    const std::string bytes = Saved(options);
    EXPECT_EQ(static_cast<uint8_t>(bytes[12]), 0);
    EXPECT_EQ(static_cast<uint8_t>(bytes[20]), 1);
    EXPECT_EQ(static_cast<uint8_t>(bytes[44]), 0);
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 0xFF) << "unchanged flags keep their byte";
    EXPECT_EQ(bytes.substr(13, 3), kDirty.substr(13, 3)) << "padding stays";
}

TEST(PrjOptions, EveryTruncatedPrefixIsRefusedAndChangesNothing) {
    for (size_t length = 0; length < TPrjOptions::StoredSize; ++length) {
        TPrjOptions options = NewProjectRecord();
        const std::string before = Saved(options);
        ByteReader in(std::string_view(kDirty).substr(0, length));
        EXPECT_THROW(options.LoadFromStream(in), EReadError) << "prefix " << length;
        EXPECT_EQ(Saved(options), before) << "prefix " << length;
        EXPECT_EQ(options.TargetSeq, 121);
    }
}

TEST(PrjOptions, LoadingKeepsTheInMemoryDrawTable) {
    TPrjOptions options;
    auto* const table = reinterpret_cast<TCodeNet*>(&options);
    options.CodeNet = table;
    ByteReader in(kDirty);
    options.LoadFromStream(in);
    EXPECT_EQ(options.CodeNet, table);
}

TEST(PrjOptions, DescriptionOfANewProject) {
    EXPECT_EQ(DescribePrjOptions(NewProjectRecord()),
              "方案选项设置：\r\n"
              "计算目标期:121;容错值=1;推荐大范围定位:是;推荐中范围定位:是;推荐小范围定位:否;"
              "推荐细范围定位:否;推荐定位可浮动:是;推荐定位浮动数目:5;推荐码的最小错误值:0。");
}

TEST(PrjOptions, DescriptionOfOtherValues) {
    TPrjOptions options;
    options.TargetSeq = 7;
    options.MissMax = 0;
    options.Large = false;
    options.Middle = false;
    options.Small = true;
    options.Tiny = true;
    options.FloatOn = false;
    options.FloatCount = 0;
    options.RcMissBase = 20;
    options.HeadLimit = true;  // not part of the description
    const std::string text = DescribePrjOptions(options);
    EXPECT_EQ(text,
              "方案选项设置：\r\n"
              "计算目标期:7;容错值=0;推荐大范围定位:否;推荐中范围定位:否;推荐小范围定位:是;"
              "推荐细范围定位:是;推荐定位可浮动:否;推荐定位浮动数目:0;推荐码的最小错误值:20。");
    EXPECT_EQ(text.find('\n'), text.rfind('\n')) << "exactly one line break";
    EXPECT_EQ(text.find('\r'), text.find('\n') - 1);
    EXPECT_EQ(text.substr(text.size() - 3), "。");
}

}  // namespace
}  // namespace tovarin
