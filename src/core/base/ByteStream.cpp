#include "core/base/ByteStream.h"

#include <algorithm>
#include <cstring>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"

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

bool ByteReader::Refill(size_t /*count*/) { return false; }

FileByteReader::FileByteReader(TFileReader& file)
    : ByteReader(file.Offset(), std::max(file.SizeWhenOpened(), file.Offset())), file_(file) {}

// What is left unread moves to the window's front and the file fills the
// rest; the window grows only for a read larger than it.
bool FileByteReader::Refill(size_t count) {
    constexpr size_t kWindowBytes = size_t{64} << 10;
    if (count > Remaining()) {
        return false;
    }
    const size_t wanted = std::min(std::max(count, kWindowBytes), Remaining());
    const std::string_view unread = Unread();
    const size_t kept = unread.size();
    if (window_.size() < wanted) {
        std::string larger(wanted, '\0');
        if (kept > 0) {
            std::memcpy(larger.data(), unread.data(), kept);
        }
        window_.swap(larger);
    } else if (kept > 0) {
        std::memmove(window_.data(), unread.data(), kept);
    }
    const size_t filled = kept + file_.Read(window_.data() + kept, wanted - kept);
    TakeWindow(std::string_view(window_.data(), filled));
    if (filled < count) {
        EndAfterWindow();
        return false;
    }
    return true;
}

void ByteReader::RefuseShortRead(size_t count) const {
    throw EReadError("Unexpected end of data at byte " + std::to_string(Offset()) + ": " +
                     std::to_string(count) + " bytes needed, " + std::to_string(Remaining()) +
                     " left");
}

}  // namespace tovarin
