#include "core/engine/PrjOptions.h"

#include "core/base/ByteStream.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

void WritePadding(ByteWriter& out, const TPrjOptions& options, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        out.WriteU8(options.Padding[i]);
    }
}

void ReadPadding(ByteReader& in, std::array<uint8_t, TPrjOptions::StoredSize>& padding, size_t from,
                 size_t to) {
    for (size_t i = from; i < to; ++i) {
        padding[i] = in.ReadU8();
    }
}

// A flag byte other than 0 and 1 reads as set; it is written back as it came
// while the flag keeps that meaning, so that re-saving changes no byte.
void WriteFlag(ByteWriter& out, const TPrjOptions& options, bool flag, size_t offset) {
    const uint8_t stored = options.Padding[offset];
    out.WriteU8((stored != 0) == flag ? stored : static_cast<uint8_t>(flag ? 1 : 0));
}

bool ReadFlag(ByteReader& in, std::array<uint8_t, TPrjOptions::StoredSize>& padding,
              size_t offset) {
    padding[offset] = in.ReadU8();
    return padding[offset] != 0;
}

}  // namespace

void TPrjOptions::SaveToStream(ByteWriter& out) const {
    out.WriteI32(0);
    out.WriteI32(TargetSeq);
    out.WriteI32(MissMax);
    WriteFlag(out, *this, Large, 12);
    WritePadding(out, *this, 13, 16);
    out.WriteI32(LargeSize);
    WriteFlag(out, *this, Middle, 20);
    WritePadding(out, *this, 21, 24);
    out.WriteI32(MiddleSize);
    WriteFlag(out, *this, Small, 28);
    WritePadding(out, *this, 29, 32);
    out.WriteI32(SmallSize);
    WriteFlag(out, *this, Tiny, 36);
    WritePadding(out, *this, 37, 40);
    out.WriteI32(TinySize);
    WriteFlag(out, *this, HeadLimit, 44);
    WriteFlag(out, *this, FloatOn, 45);
    WritePadding(out, *this, 46, 48);
    out.WriteI32(FloatCount);
    out.WriteI32(RcMissBase);
}

void TPrjOptions::LoadFromStream(ByteReader& in) {
    // Read the whole record into a copy first, so that a short record
    // leaves this one as it was.
    TPrjOptions read;
    read.CodeNet = CodeNet;
    in.ReadI32();  // the stored CodeNet reference
    read.TargetSeq = in.ReadI32();
    read.MissMax = in.ReadI32();
    read.Large = ReadFlag(in, read.Padding, 12);
    ReadPadding(in, read.Padding, 13, 16);
    read.LargeSize = in.ReadI32();
    read.Middle = ReadFlag(in, read.Padding, 20);
    ReadPadding(in, read.Padding, 21, 24);
    read.MiddleSize = in.ReadI32();
    read.Small = ReadFlag(in, read.Padding, 28);
    ReadPadding(in, read.Padding, 29, 32);
    read.SmallSize = in.ReadI32();
    read.Tiny = ReadFlag(in, read.Padding, 36);
    ReadPadding(in, read.Padding, 37, 40);
    read.TinySize = in.ReadI32();
    read.HeadLimit = ReadFlag(in, read.Padding, 44);
    read.FloatOn = ReadFlag(in, read.Padding, 45);
    ReadPadding(in, read.Padding, 46, 48);
    read.FloatCount = in.ReadI32();
    read.RcMissBase = in.ReadI32();
    *this = read;
}

std::string DescribePrjOptions(const TPrjOptions& o) {
    std::string text = "方案选项设置：\r\n计算目标期:";
    text += std::to_string(o.TargetSeq);
    text += ";容错值=" + std::to_string(o.MissMax);
    text += std::string(";推荐大范围定位:") + YesNoText(o.Large);
    text += std::string(";推荐中范围定位:") + YesNoText(o.Middle);
    text += std::string(";推荐小范围定位:") + YesNoText(o.Small);
    text += std::string(";推荐细范围定位:") + YesNoText(o.Tiny);
    text += std::string(";推荐定位可浮动:") + YesNoText(o.FloatOn);
    text += ";推荐定位浮动数目:" + std::to_string(o.FloatCount);
    text += ";推荐码的最小错误值:" + std::to_string(o.RcMissBase);
    text += "。";
    return text;
}

}  // namespace tovarin
