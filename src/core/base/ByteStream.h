#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

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
    // The bytes handed over, without a copy; the writer is left empty.
    std::string TakeBytes() { return std::exchange(buffer_, {}); }
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
        : data_(data), start_(startOffset), end_(startOffset + data.size()) {}
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;
    virtual ~ByteReader() = default;

    int32_t ReadI32();
    uint8_t ReadU8();
    // The bytes stay valid until the next read.
    std::string_view ReadBytes(size_t count);

    // Where the next read starts in the file.
    size_t Offset() const { return start_ + offset_; }
    size_t Remaining() const { return end_ - Offset(); }

protected:
    // A reader of data that arrives a piece at a time (see Refill), from
    // startOffset to endOffset.
    ByteReader(size_t startOffset, size_t endOffset) : start_(startOffset), end_(endOffset) {}

    // Makes at least count bytes from the next read on available (through
    // TakeWindow); false when the data ends before them.
    virtual bool Refill(size_t count);
    // The bytes not read yet that the reader holds.
    std::string_view Unread() const { return data_.substr(offset_); }
    // From now on the reader reads these bytes, which follow what it read.
    void TakeWindow(std::string_view window) {
        start_ += offset_;
        data_ = window;
        offset_ = 0;
    }
    // The data ended early, after the bytes the reader holds.
    void EndAfterWindow() { end_ = start_ + data_.size(); }

private:
    void Need(size_t count) {
        if (count > data_.size() - offset_ && !Refill(count)) {
            RefuseShortRead(count);
        }
    }
    [[noreturn]] void RefuseShortRead(size_t count) const;

    std::string_view data_;
    size_t start_;
    size_t end_;
    size_t offset_ = 0;
};

class TFileReader;

// Reads the rest of a file from where its reader stands, a window at a
// time: a reader of a large block never holds the block's bytes beside what
// it makes of them. The data ends where the file did when it was opened.
class FileByteReader final : public ByteReader {
public:
    explicit FileByteReader(TFileReader& file);

private:
    bool Refill(size_t count) override;

    TFileReader& file_;
    std::string window_;
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
