#include "core/base/Sha256.h"

#include <openssl/evp.h>

#include <string>

#include "core/base/Errors.h"

namespace tovarin {
namespace {

[[noreturn]] void RefuseDigest(const char* step) {
    throw Exception(std::string("SHA-256: OpenSSL's ") + step + " failed");
}

}  // namespace

// The algorithm is fetched once per hasher: an implicit fetch at every
// digest would look it up again each time.
struct TSha256::TState {
    EVP_MD* algorithm = nullptr;
    EVP_MD_CTX* context = nullptr;

    ~TState() {
        EVP_MD_CTX_free(context);
        EVP_MD_free(algorithm);
    }

    void Start() const {
        if (EVP_DigestInit_ex2(context, algorithm, nullptr) != 1) {
            RefuseDigest("EVP_DigestInit_ex2");
        }
    }
};

TSha256::TSha256() : state_(std::make_unique<TState>()) {
    state_->algorithm = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    state_->context = EVP_MD_CTX_new();
    if (state_->algorithm == nullptr || state_->context == nullptr) {
        RefuseDigest("EVP_MD_fetch");
    }
    state_->Start();
}

TSha256::~TSha256() = default;

void TSha256::Add(std::string_view bytes) {
    if (EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) != 1) {
        RefuseDigest("EVP_DigestUpdate");
    }
}

TSha256Digest TSha256::Finish() {
    TSha256Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1 ||
        length != digest.size()) {
        RefuseDigest("EVP_DigestFinal_ex");
    }
    state_->Start();
    return digest;
}

}  // namespace tovarin
