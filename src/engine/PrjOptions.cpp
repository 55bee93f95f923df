#include "engine/PrjOptions.h"

#include "base/ByteStream.h"
#include "base/Text.h"

namespace tovarin {
namespace {

void WritePadding(ByteWriter& out, const TPrjOptions& options, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        out.WriteU8(options.Padding[i]);
    }
}

void ReadPadding(ByteReader& in, std::array<uint8_t, TPrjOptions::StoredSize>& padding,
                 size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        padding[i] = in.ReadU8();
    }
}

}  // namespace

void TPrjOptions::SaveToStream(ByteWriter& out) const {
    out.WriteI32(0);
    out.WriteI32(TargetSeq);
    out.WriteI32(MissMax);
    out.WriteU8(Large ? 1 : 0);
    WritePadding(out, *this, 13, 16);
    out.WriteI32(LargeSize);
    out.WriteU8(Middle ? 1 : 0);
    WritePadding(out, *this, 21, 24);
    out.WriteI32(MiddleSize);
    out.WriteU8(Small ? 1 : 0);
    WritePadding(out, *this, 29, 32);
    out.WriteI32(SmallSize);
    out.WriteU8(Tiny ? 1 : 0);
    WritePadding(out, *this, 37, 40);
    out.WriteI32(TinySize);
    out.WriteU8(HeadLimit ? 1 : 0);
    out.WriteU8(FloatOn ? 1 : 0);
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
    read.Large = in.ReadU8() != 0;
    ReadPadding(in, read.Padding, 13, 16);
    read.LargeSize = in.ReadI32();
    read.Middle = in.ReadU8() != 0;
    ReadPadding(in, read.Padding, 21, 24);
    read.MiddleSize = in.ReadI32();
    read.Small = in.ReadU8() != 0;
    ReadPadding(in, read.Padding, 29, 32);
    read.SmallSize = in.ReadI32();
    read.Tiny = in.ReadU8() != 0;
    ReadPadding(in, read.Padding, 37, 40);
    read.TinySize = in.ReadI32();
    read.HeadLimit = in.ReadU8() != 0;
    read.FloatOn = in.ReadU8() != 0;
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
