#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovarin {

// Builds a binary image in memory; stored integers are little-endian
// whatever the machine.
class ByteWriter {
public:
    void WriteI32(int32_t value);
    void WriteU8(uint8_t value);
    void WriteBytes(std::string_view bytes);
    // Room for this many more bytes, for a writer that knows its size.
    void Reserve(size_t additional);

    const std::string& Bytes() const { return buffer_; }
    size_t Size() const { return buffer_.size(); }

private:
    std::string buffer_;
};

// Reads a byte range front to back. Every read goes through one end check,
// so no reader can run past the data: a short read throws EReadError naming
// the offset and leaves the position unchanged.
class ByteReader {
public:
    // startOffset: where the data lies in the file, for the messages.
    explicit ByteReader(std::string_view data, size_t startOffset = 0)
        : data_(data), start_(startOffset) {}

    int32_t ReadI32();
    uint8_t ReadU8();
    std::string_view ReadBytes(size_t count);

    // Where the next read starts in the file.
    size_t Offset() const { return start_ + offset_; }
    size_t Remaining() const { return data_.size() - offset_; }

private:
    void Need(size_t count) const {
        if (count > Remaining()) {
            RefuseShortRead(count);
        }
    }
    [[noreturn]] void RefuseShortRead(size_t count) const;

    std::string_view data_;
    size_t start_;
    size_t offset_ = 0;
};

// The reads are inline: a document's conditions make tens of thousands.
inline int32_t ByteReader::ReadI32() {
    Need(4);
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(static_cast<uint8_t>(data_[offset_ + i])) << (8 * i);
    }
    offset_ += 4;
    return static_cast<int32_t>(bits);
}

inline uint8_t ByteReader::ReadU8() {
    Need(1);
    return static_cast<uint8_t>(data_[offset_++]);
}

inline std::string_view ByteReader::ReadBytes(size_t count) {
    Need(count);
    std::string_view bytes = data_.substr(offset_, count);
    offset_ += count;
    return bytes;
}

}  // namespace tovarin
