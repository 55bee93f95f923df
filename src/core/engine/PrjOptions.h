#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tovarin {

class ByteReader;
class ByteWriter;
class TCodeNet;

// A project's settings, stored in the document as a 56-byte record.
struct TPrjOptions {
    static constexpr size_t StoredSize = 56;

    TCodeNet* CodeNet = nullptr;  // offset 0; meaningless on disk
    int32_t TargetSeq = 0;        // offset 4
    int32_t MissMax = 1;          // offset 8
    bool Large = true;            // offset 12
    int32_t LargeSize = 40;       // offset 16
    bool Middle = true;           // offset 20
    int32_t MiddleSize = 30;      // offset 24
    bool Small = false;           // offset 28
    int32_t SmallSize = 20;       // offset 32
    bool Tiny = false;            // offset 36
    int32_t TinySize = 10;        // offset 40
    bool HeadLimit = false;       // offset 44
    bool FloatOn = true;          // offset 45
    int32_t FloatCount = 5;       // offset 48
    int32_t RcMissBase = 0;       // offset 52

    // The stored bytes at the flag and padding offsets, as a loaded record
    // carried them, so that a record read and written again is the same
    // bytes from offset 4 on; zero in a new record.
    std::array<uint8_t, StoredSize> Padding{};

    // Writes the 56 bytes field by field in little-endian, zero in the
    // first four.
    void SaveToStream(ByteWriter& out) const;
    // Reads 56 bytes; CodeNet is left as it was (the bytes carry nothing).
    void LoadFromStream(ByteReader& in);
};

// The project description a filtering report can carry.
std::string DescribePrjOptions(const TPrjOptions& options);

}  // namespace tovarin
