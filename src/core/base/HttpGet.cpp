#include "core/base/HttpGet.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>

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

// Owns the socket so that every way out closes it.
class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int fd() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::string SystemText(int error) { return std::strerror(error); }

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

void WaitFor(int fd, short events, const Deadline& deadline) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, deadline.RemainingMs());
        if (ready > 0) {
            return;
        }
        if (ready == 0) {
            throw EHttpError(Kind::Timeout, TransferTimeoutText(deadline.TimeoutMs()));
        }
        if (errno != EINTR) {
            throw EHttpError(Kind::Connect, SystemText(errno));
        }
    }
}

// A non-blocking connect, so that its wait is bounded like the reads.
int Connect(const Target& target, const Deadline& deadline) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &found);
    if (status != 0) {
        throw EHttpError(Kind::Connect, target.host + ": " + ::gai_strerror(status));
    }
    std::string lastError = "no address";
    Kind lastKind = Kind::Connect;
    for (addrinfo* address = found; address != nullptr; address = address->ai_next) {
        const int fd = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (fd < 0) {
            lastError = SystemText(errno);
            continue;
        }
        Socket guard(fd);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        if (::connect(fd, address->ai_addr, address->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                lastError = SystemText(errno);
                continue;
            }
            try {
                WaitFor(fd, POLLOUT, deadline);
            } catch (const EHttpError& error) {
                lastError = error.what();
                lastKind = error.kind();
                continue;
            }
            int socketError = 0;
            socklen_t length = sizeof socketError;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &length);
            if (socketError != 0) {
                lastError = SystemText(socketError);
                continue;
            }
        }
        ::freeaddrinfo(found);
        return guard.Release();
    }
    ::freeaddrinfo(found);
    throw EHttpError(lastKind, target.host + ":" + target.port + ": " + lastError);
}

void SendAll(int fd, std::string_view bytes, const Deadline& deadline) {
    while (!bytes.empty()) {
        WaitFor(fd, POLLOUT, deadline);
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
                continue;
            }
            throw EHttpError(Kind::Connect, SystemText(errno));
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
}

std::string ReceiveAll(int fd, const Deadline& deadline) {
    std::string received;
    char buffer[16384];
    for (;;) {
        WaitFor(fd, POLLIN, deadline);
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
                continue;
            }
            throw EHttpError(Kind::Connect, SystemText(errno));
        }
        if (count == 0) {
            return received;
        }
        // Headers included: no real answer comes near the bound.
        if (received.size() + static_cast<size_t>(count) > kMaxAnswerBytes) {
            throw EHttpError(Kind::Status, AnswerTooLongText());
        }
        received.append(buffer, static_cast<size_t>(count));
    }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

// The body of a whole answer, after its status line and headers are checked.
std::string BodyOf(const std::string& answer) {
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
    std::string body = answer.substr(headerEnd + 4);
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
        int length = 0;
        if (!TryStrToInt(Trim(header.substr(lengthKey.size())), length) || length < 0) {
            throw EHttpError(Kind::Status, std::string(header));
        }
        if (body.size() < static_cast<size_t>(length)) {
            throw EHttpError(Kind::Status, "应答内容不完整：" +
                                               IntToStr(static_cast<long long>(body.size())) + "/" +
                                               IntToStr(length) + " 字节");
        }
        body.resize(static_cast<size_t>(length));
    }
    return body;
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
    const Socket socket(Connect(target, deadline));
    const std::string hostHeader =
        target.port == "80" ? target.host : target.host + ":" + target.port;
    SendAll(socket.fd(),
            "GET " + target.pathAndQuery + " HTTP/1.0\r\nHost: " + hostHeader +
                "\r\nAccept: */*\r\nConnection: close\r\n\r\n",
            deadline);
    return BodyOf(ReceiveAll(socket.fd(), deadline));
}

}  // namespace tovarin
