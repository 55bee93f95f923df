#include "core/base/HttpGet.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <string_view>

#include "core/base/TcpConnection.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

using Kind = EHttpError::Kind;

struct Target {
    std::string host;
    std::string port = "80";
    std::string pathAndQuery = "/";
};

Target ParseUrl(const std::string& url) {
    constexpr std::string_view scheme = "http://";
    if (url.compare(0, scheme.size(), scheme) != 0) {
        throw EHttpError(Kind::Connect, "只支持 http:// 地址：" + url);
    }
    const std::string rest = url.substr(scheme.size());
    const size_t slash = rest.find_first_of("/?");
    Target target;
    std::string authority = rest.substr(0, slash);
    if (slash != std::string::npos) {
        target.pathAndQuery = rest.substr(slash);
        if (target.pathAndQuery.front() == '?') {
            target.pathAndQuery.insert(0, "/");
        }
    }
    const size_t colon = authority.rfind(':');
    if (colon != std::string::npos) {
        int port = 0;
        const std::string portText = authority.substr(colon + 1);
        if (!TryStrToInt(portText, port) || port < 1 || port > 65535) {
            throw EHttpError(Kind::Connect, "端口有误：" + url);
        }
        target.port = portText;
        authority.resize(colon);
    }
    if (authority.empty()) {
        throw EHttpError(Kind::Connect, "地址缺少主机名：" + url);
    }
    target.host = authority;
    return target;
}

// The end of the time the whole transfer may take.
class Deadline {
public:
    explicit Deadline(int timeoutMs)
        : timeoutMs_(timeoutMs),
          end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}

    int RemainingMs() const {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<long long>(left.count(), 0));
    }
    int TimeoutMs() const { return timeoutMs_; }

private:
    int timeoutMs_;
    std::chrono::steady_clock::time_point end_;
};

// Runs one step of the transfer with what is left of the deadline; a step
// that runs out of time says so in the words of the whole transfer, after
// what the step names (the connection's address, or nothing).
template <typename Step>
auto WithinDeadline(const Deadline& deadline, const std::string& what, Step step) {
    try {
        return step(deadline.RemainingMs());
    } catch (const EHttpError& error) {
        if (error.kind() != Kind::Timeout) {
            throw;
        }
        throw EHttpError(Kind::Timeout, what + TransferTimeoutText(deadline.TimeoutMs()));
    }
}

std::string ReceiveAll(TcpConnection& connection, const Deadline& deadline) {
    std::string received;
    char buffer[16384];
    for (;;) {
        const size_t count = WithinDeadline(deadline, "", [&](int remainingMs) {
            return connection.Receive(buffer, sizeof buffer, remainingMs);
        });
        if (count == 0) {
            return received;
        }
        // Headers included: no real answer comes near the bound.
        if (received.size() + count > kMaxAnswerBytes) {
            throw EHttpError(Kind::Status, AnswerTooLongText());
        }
        received.append(buffer, count);
    }
}

// The body of a whole answer, after its status line and headers are
// checked; it is cut out of the answer in place, as an answer near the bound
// must not be held twice.
std::string BodyOf(std::string answer) {
    const size_t headerEnd = answer.find("\r\n\r\n");
    if (headerEnd == std::string::npos) {
        throw EHttpError(Kind::Status, "应答不完整");
    }
    const std::string_view head(answer.data(), headerEnd);
    const size_t statusEnd = head.find("\r\n");
    const std::string_view statusLine = head.substr(0, statusEnd);
    if (!(StartsWithNoCase(statusLine, "HTTP/1.0 200") ||
          StartsWithNoCase(statusLine, "HTTP/1.1 200")) ||
        (statusLine.size() > 12 && statusLine[12] != ' ')) {
        throw EHttpError(Kind::Status, std::string(statusLine));
    }
    size_t length = answer.size() - (headerEnd + 4);
    std::string_view headers =
        statusEnd == std::string_view::npos ? std::string_view() : head.substr(statusEnd + 2);
    while (!headers.empty()) {
        const size_t end = headers.find("\r\n");
        const std::string_view header = headers.substr(0, end);
        headers.remove_prefix(end == std::string_view::npos ? headers.size() : end + 2);
        constexpr std::string_view lengthKey = "content-length:";
        if (!StartsWithNoCase(header, lengthKey)) {
            continue;
        }
        int declared = 0;
        if (!TryStrToInt(Trim(header.substr(lengthKey.size())), declared) || declared < 0) {
            throw EHttpError(Kind::Status, std::string(header));
        }
        if (length < static_cast<size_t>(declared)) {
            throw EHttpError(Kind::Status, "应答内容不完整：" +
                                               IntToStr(static_cast<long long>(length)) + "/" +
                                               IntToStr(declared) + " 字节");
        }
        length = static_cast<size_t>(declared);
    }
    answer.erase(0, headerEnd + 4);
    answer.resize(length);
    return answer;
}

}  // namespace

std::string AnswerTooLongText() {
    return "应答超过 " + IntToStr(static_cast<long long>(kMaxAnswerBytes >> 20)) + " MB";
}

std::string TransferTimeoutText(int timeoutMs) {
    return "超过 " + IntToStr((timeoutMs + 999) / 1000) + " 秒仍未完成";
}

std::string HttpGet(const std::string& url, int timeoutMs) {
    const Deadline deadline(timeoutMs);
    const Target target = ParseUrl(url);
    TcpConnection connection = WithinDeadline(
        deadline, target.host + ":" + target.port + ": ",
        [&](int remainingMs) { return TcpConnection(target.host, target.port, remainingMs); });
    const std::string hostHeader =
        target.port == "80" ? target.host : target.host + ":" + target.port;
    WithinDeadline(deadline, "", [&](int remainingMs) {
        connection.Send("GET " + target.pathAndQuery + " HTTP/1.0\r\nHost: " + hostHeader +
                            "\r\nAccept: */*\r\nConnection: close\r\n\r\n",
                        remainingMs);
    });
    return BodyOf(ReceiveAll(connection, deadline));
}

}  // namespace tovarin
