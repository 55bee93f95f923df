#include "core/base/TcpConnection.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/base/HttpGet.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

using Kind = EHttpError::Kind;

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

void WaitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready > 0) {
            return;
        }
        if (ready == 0) {
            throw EHttpError(Kind::Timeout, "等待超过 " + IntToStr(timeoutMs / 1000) + " 秒");
        }
        if (errno != EINTR) {
            throw EHttpError(Kind::Connect, SystemText(errno));
        }
    }
}

// A non-blocking connect, so that its wait is bounded like the reads.
int Connect(const std::string& host, const std::string& port, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (status != 0) {
        throw EHttpError(Kind::Connect, host + ": " + ::gai_strerror(status));
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
                WaitFor(fd, POLLOUT, timeoutMs);
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
    throw EHttpError(lastKind, host + ":" + port + ": " + lastError);
}

}  // namespace

TcpConnection::TcpConnection(const std::string& host, const std::string& port, int timeoutMs)
    : socket_(Connect(host, port, timeoutMs)) {}

TcpConnection::~TcpConnection() { ::close(static_cast<int>(socket_)); }

void TcpConnection::Send(std::string_view bytes, int timeoutMs) {
    const int fd = static_cast<int>(socket_);
    while (!bytes.empty()) {
        WaitFor(fd, POLLOUT, timeoutMs);
        // A peer that has gone away gives EPIPE here, not a SIGPIPE that
        // would end the program.
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

size_t TcpConnection::Receive(char* buffer, size_t size, int timeoutMs) {
    const int fd = static_cast<int>(socket_);
    for (;;) {
        WaitFor(fd, POLLIN, timeoutMs);
        const ssize_t count = ::recv(fd, buffer, size, 0);
        if (count >= 0) {
            return static_cast<size_t>(count);
        }
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            throw EHttpError(Kind::Connect, SystemText(errno));
        }
    }
}

}  // namespace tovarin
