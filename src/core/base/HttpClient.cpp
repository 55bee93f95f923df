#include "core/base/HttpClient.h"

#include <algorithm>
#include <cctype>
#include <chrono>

#include "core/base/Text.h"
#include "core/base/Version.h"

namespace tovarin {
namespace {

bool IsTokenChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view("-_!#$%&'*+.^`|~").find(c) != std::string_view::npos;
}

}  // namespace

void TFetchCancel::Cancel() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    cancelled_changed_.notify_all();
}

bool TFetchCancel::Cancelled() const {
    const std::lock_guard lock(mutex_);
    return cancelled_;
}

bool TFetchCancel::WaitMs(int ms) const {
    std::unique_lock lock(mutex_);
    return cancelled_changed_.wait_for(lock, std::chrono::milliseconds(std::max(ms, 0)),
                                       [this] { return cancelled_; });
}

bool IsValidHeaderLine(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon),
                     IsTokenChar)) {
        return false;
    }
    return std::none_of(line.begin() + static_cast<std::ptrdiff_t>(colon), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    });
}

namespace fetch_text {

std::string BadAddress(const std::string& url) {
    return "地址有误（应以 http:// 或 https:// 开头）：" + url;
}
std::string BadHeader(std::string_view line) {
    return "请求头有误（应为“名称: 值”）：" + std::string(line);
}
std::string BadCaFile(const std::string& path, const std::string& detail) {
    return "证书文件无法使用：" + path + (detail.empty() ? "" : "（" + detail + "）");
}
std::string Cancelled() { return "已取消"; }
std::string TooManyRedirects() { return "重定向超过" + std::to_string(kMaxRedirects) + "次"; }
std::string BadStatus(long status) { return "服务器回答 HTTP " + std::to_string(status); }
std::string BadCompression() { return "应答的压缩数据有误"; }
std::string Connect(const std::string& detail) { return "无法连接服务器：" + detail; }
std::string Certificate(const std::string& detail) { return "服务器的证书不可信：" + detail; }

}  // namespace fetch_text

void CheckRequest(const THttpRequest& request) {
    const std::string_view url = request.Url;
    const bool web = StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
    const bool hasHost = web && url.size() > url.find("//") + 2 && url[url.find("//") + 2] != '/';
    if (!hasHost || std::any_of(url.begin(), url.end(), [](char c) {
            return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
        })) {
        throw EFetchError(EFetchError::Kind::Request, fetch_text::BadAddress(request.Url));
    }
    for (const std::string& header : request.Headers) {
        if (!IsValidHeaderLine(header)) {
            throw EFetchError(EFetchError::Kind::Request, fetch_text::BadHeader(header));
        }
    }
}

bool HasUserAgent(const std::vector<std::string>& headers) {
    return std::any_of(headers.begin(), headers.end(), [](const std::string& header) {
        return StartsWithNoCase(header, "user-agent:");
    });
}

std::string DefaultUserAgent() { return std::string(kProductName) + "/" + kVersionText; }

}  // namespace tovarin
