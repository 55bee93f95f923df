// The system's SHA-256 against the standard's own test vectors.
#include <gtest/gtest.h>

#include <string>

#include "core/base/Sha256.h"
#include "support/Hex.h"

namespace tovarin {
namespace {

std::string Hex(const TSha256Digest& digest) {
    return test::Hex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

struct Vector {
    std::string message;
    const char* digest;
};

TEST(Sha256, StandardVectors) {
    const Vector vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrl"
         "mnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Vector& v : vectors) {
        EXPECT_EQ(Hex(Sha256(v.message)), v.digest) << v.message.size() << " bytes";
    }
}

// Pieces of any size give the digest of the whole, and a finished hasher
// starts again from nothing.
TEST(Sha256, PiecesAndReuse) {
    const std::string message = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    TSha256 hasher;
    for (const char c : message) {
        hasher.Add(std::string_view(&c, 1));
    }
    EXPECT_EQ(Hex(hasher.Finish()),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    hasher.Add("ab");
    hasher.Add("");
    hasher.Add("c");
    EXPECT_EQ(Hex(hasher.Finish()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Hex(hasher.Finish()),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
}  // namespace tovarin
