#include "core/base/ByteStream.h"

#include "core/base/Errors.h"

namespace tovarin {

void ByteWriter::WriteI32(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(bits & 0xFFU), static_cast<char>((bits >> 8) & 0xFFU),
                           static_cast<char>((bits >> 16) & 0xFFU),
                           static_cast<char>((bits >> 24) & 0xFFU)};
    buffer_.append(bytes, sizeof bytes);
}

void ByteWriter::Reserve(size_t additional) { buffer_.reserve(buffer_.size() + additional); }

void ByteWriter::WriteU8(uint8_t value) { buffer_.push_back(static_cast<char>(value)); }

void ByteWriter::WriteBytes(std::string_view bytes) { buffer_.append(bytes); }

void ByteReader::RefuseShortRead(size_t count) const {
    throw EReadError("Unexpected end of data at byte " + std::to_string(Offset()) + ": " +
                     std::to_string(count) + " bytes needed, " + std::to_string(Remaining()) +
                     " left");
}

}  // namespace tovarin
