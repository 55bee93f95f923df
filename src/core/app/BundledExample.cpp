#include "core/app/BundledExample.h"

#include <cstdint>
#include <exception>
#include <string_view>

#include "core/base/FileIO.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

// data/工作文档.lvrn; a test holds them to the file, so that a new example
// is never left unrecognised.
constexpr size_t kExampleBytes = 10427;
constexpr uint64_t kExampleFingerprint = 0x8504318a282a98a2ULL;

bool IsBundledExampleImage(std::string_view image) {
    return image.size() == kExampleBytes && Fnv1a64(image) == kExampleFingerprint;
}

}  // namespace

const char* const kBundledExampleNote =
    "本文档是程序自带的示例，带有两个示例方案；其中的开奖数据由程序随机生成，仅供练习，"
    "不是任何真实彩票的开奖记录。";

bool IsBundledExample(const std::string& path) {
    try {
        // One byte more than the example tells a longer file at once.
        return IsBundledExampleImage(ReadFileHead(path, kExampleBytes + 1));
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace tovarin
