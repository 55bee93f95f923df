#include "core/base/FileIO.h"

#include <algorithm>

// What every system's file reader does alike.
namespace tovarin {
size_t TFileReader::Read(char* buffer, size_t bytes) {
    size_t filled = 0;
    while (filled < bytes) {
        const size_t got = ReadSome(buffer + filled, bytes - filled);
        if (got == 0) {
            break;
        }
        filled += got;
    }
    done_ += filled;
    // The file grew past the bound while it was read.
    if (whole_ && done_ > kMaxFileBytes) {
        RefuseTooLarge();
    }
    return filled;
}

// The size is only a hint (the file may change, and /proc files say 0): one
// buffer of that size filled in place, grown only when the file is longer;
// the loop reads to the real end.
std::string TFileReader::ReadUpTo(size_t maxBytes) {
    const size_t expected =
        std::min(sizeWhenOpened_ > done_ ? sizeWhenOpened_ - done_ : 0, maxBytes);
    std::string data(std::max<size_t>(std::min<size_t>(expected + 1, maxBytes), 1), '\0');
    size_t filled = 0;
    while (filled < maxBytes) {
        if (filled == data.size()) {
            data.resize(std::min(maxBytes, data.size() * 2));
        }
        filled += Read(data.data() + filled, data.size() - filled);
        if (filled < data.size()) {
            break;
        }
    }
    data.resize(filled);
    return data;
}

std::string ReadFileHead(const std::string& path, size_t maxBytes) {
    return TFileReader(path, false).ReadUpTo(maxBytes);
}

void CheckWritableSize(size_t bytes) {
    if (bytes > kMaxFileBytes) {
        throw EFileTooLarge();
    }
}

// One byte past the bound, which Read refuses.
std::string ReadWholeFile(const std::string& path) {
    return TFileReader(path, true).ReadUpTo(kMaxFileBytes + 1);
}

}  // namespace tovarin
