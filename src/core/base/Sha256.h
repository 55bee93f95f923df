#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tovarin {

using TSha256Digest = std::array<uint8_t, 32>;

// SHA-256 from the system's cryptography (OpenSSL's libcrypto; BCrypt on
// Windows), never from code of our own. One hasher serves many digests in
// turn, so that a chain of ten thousand pays the library's set-up once.
// Exception when the library fails.
class TSha256 {
public:
    TSha256();
    ~TSha256();
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    void Add(std::string_view bytes);
    // The digest of the bytes added since the last Finish (or since the
    // hasher was made); the hasher then starts again with nothing added.
    TSha256Digest Finish();

private:
    struct TState;
    std::unique_ptr<TState> state_;
};

inline TSha256Digest Sha256(std::string_view bytes) {
    TSha256 hasher;
    hasher.Add(bytes);
    return hasher.Finish();
}

}  // namespace tovarin
