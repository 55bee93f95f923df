#include "base/Codec.h"

#include <cerrno>
#include <iconv.h>

#include "base/Errors.h"

namespace tovarin {
namespace {

// The only place that talks to the operating system's converter; on Windows
// this unit would call MultiByteToWideChar/WideCharToMultiByte instead.
std::string Convert(std::string_view in, const char* from, const char* to, const char* what) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw ECodecError(std::string("No converter for ") + what);
    }
    std::string out;
    out.resize(in.size() * 2 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            const size_t used = static_cast<size_t>(dst - out.data());
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
            continue;
        }
        const size_t offset = in.size() - srcLeft;
        iconv_close(cd);
        throw ECodecError(std::string("Text cannot be converted ") + what + " at byte " +
                          std::to_string(offset));
    }
    // Flush any shift state (none for these encodings, but the call is cheap).
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    iconv_close(cd);
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) { return Convert(utf8, "UTF-8", "GBK", "to GBK"); }

std::string GbkToUtf8(std::string_view gbk) { return Convert(gbk, "GBK", "UTF-8", "from GBK"); }

}  // namespace tovarin
