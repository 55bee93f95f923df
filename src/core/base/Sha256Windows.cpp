#include "core/base/Sha256.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <string>

#include "core/base/Errors.h"

namespace tovarin {
namespace {

[[noreturn]] void RefuseDigest(const char* step, NTSTATUS status) {
    throw Exception(std::string("SHA-256: BCrypt's ") + step + " failed with status " +
                    std::to_string(static_cast<unsigned long>(status)));
}

void Check(NTSTATUS status, const char* step) {
    if (!BCRYPT_SUCCESS(status)) {
        RefuseDigest(step, status);
    }
}

}  // namespace

// A reusable hash object starts again by itself after each digest.
struct TSha256::TState {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;

    ~TState() {
        if (hash != nullptr) {
            BCryptDestroyHash(hash);
        }
        if (algorithm != nullptr) {
            BCryptCloseAlgorithmProvider(algorithm, 0);
        }
    }
};

TSha256::TSha256() : state_(std::make_unique<TState>()) {
    Check(BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                      BCRYPT_HASH_REUSABLE_FLAG),
          "BCryptOpenAlgorithmProvider");
    Check(BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0,
                           BCRYPT_HASH_REUSABLE_FLAG),
          "BCryptCreateHash");
}

TSha256::~TSha256() = default;

void TSha256::Add(std::string_view bytes) {
    // BCrypt takes at most a ULONG of bytes at a time.
    constexpr size_t kMaxPiece = 1U << 30;
    while (!bytes.empty()) {
        const size_t piece = std::min(bytes.size(), kMaxPiece);
        // BCryptHashData does not write through its input pointer.
        auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
        Check(BCryptHashData(state_->hash, data, static_cast<ULONG>(piece), 0), "BCryptHashData");
        bytes.remove_prefix(piece);
    }
}

TSha256Digest TSha256::Finish() {
    TSha256Digest digest{};
    Check(BCryptFinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0),
          "BCryptFinishHash");
    return digest;
}

}  // namespace tovarin
