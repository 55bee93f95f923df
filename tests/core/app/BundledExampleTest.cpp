#include <gtest/gtest.h>

#include <string>

#include "core/app/BundledExample.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

const std::string kShipped = std::string(TOVARIN_TEST_DATA) + "/../../data/工作文档.lvrn";

// The shipped file itself is recognised: a new example fails here until its
// size and fingerprint are recorded.
TEST(BundledExample, TheShippedFileIsTheExample) { EXPECT_TRUE(IsBundledExample(kShipped)); }

TEST(BundledExample, AnyOtherFileIsNot) {
    test::TempDir dir;
    const std::string example = ReadWholeFile(kShipped);
    std::string changed = example;
    changed[changed.size() / 2] ^= 1;
    const std::pair<const char*, std::string> others[] = {{"changed.lvrn", changed},
                                                          {"longer.lvrn", example + "x"},
                                                          {"shorter.lvrn", example.substr(1)},
                                                          {"empty.lvrn", ""}};
    for (const auto& [name, bytes] : others) {
        WriteFileAtomically(dir.File(name), bytes);
        EXPECT_FALSE(IsBundledExample(dir.File(name))) << name;
    }
    EXPECT_FALSE(IsBundledExample(dir.File("missing.lvrn")));
    EXPECT_FALSE(IsBundledExample(dir.Path()));
}

}  // namespace
}  // namespace tovarin
