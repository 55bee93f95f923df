#include "core/base/Codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <memory>
#include <vector>

#include "core/base/Errors.h"

namespace tovarin {
namespace {

// Closes the converter when its thread ends.
class Converter {
public:
    Converter(const char* from, const char* to, const char* what) : cd_(iconv_open(to, from)) {
        // iconv_open reports failure as the handle (iconv_t)-1.
        if (reinterpret_cast<intptr_t>(cd_) == -1) {
            throw ECodecError(std::string("No converter for ") + what);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { iconv_close(cd_); }

    iconv_t Handle() const { return cd_; }

private:
    iconv_t cd_;
};

// Opening a converter costs more than converting a condition's text, and a
// document holds thousands of them: each thread keeps the converters it
// opened (one per direction), returned with their state reset.
iconv_t KeptConverter(const char* from, const char* to, const char* what) {
    struct Kept {
        std::string From;
        std::string To;
        std::unique_ptr<Converter> Opened;
    };
    thread_local std::vector<Kept> kept;
    auto found = std::find_if(kept.begin(), kept.end(),
                              [&](const Kept& k) { return k.From == from && k.To == to; });
    if (found == kept.end()) {
        kept.push_back({from, to, std::make_unique<Converter>(from, to, what)});
        found = kept.end() - 1;
    }
    const iconv_t cd = found->Opened->Handle();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return cd;
}

// glibc's converter; CodecWindows.cpp gives the same answers through the
// Windows code pages.
std::string Convert(std::string_view in, const char* from, const char* to, const char* what) {
    const iconv_t converter = KeptConverter(from, to, what);
    std::string out;
    out.resize(in.size() * 2 + 8);
    // iconv's interface takes a non-const input pointer but does not write
    // through it.
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(converter, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            const size_t used = static_cast<size_t>(dst - out.data());
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
            continue;
        }
        // EILSEQ (no such character) or EINVAL (the text ends inside one).
        throw ECodecError(std::string("Text cannot be converted ") + what, in.size() - srcLeft);
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

// ASCII is the same in UTF-8, GBK and GB18030. Most stored texts are
// digits and commas, and copying them costs less than converting.
std::string Utf8ToGbk(std::string_view utf8) {
    return IsAscii(utf8) ? std::string(utf8) : Convert(utf8, "UTF-8", "GBK", "to GBK");
}

std::string GbkToUtf8(std::string_view gbk) {
    return IsAscii(gbk) ? std::string(gbk) : Convert(gbk, "GBK", "UTF-8", "from GBK");
}

}  // namespace tovarin
