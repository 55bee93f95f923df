#include "core/base/TcpConnection.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "core/base/HttpGet.h"
#include "core/base/SystemTextWindows.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

using Kind = EHttpError::Kind;

// Winsock works only after WSAStartup; once per process is enough, and the
// system releases it when the process ends.
void StartWinsockOnce() {
    static const int status = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (status != 0) {
        throw EHttpError(Kind::Connect, SystemMessage(static_cast<unsigned long>(status)));
    }
}

[[noreturn]] void FailWithLastError() {
    throw EHttpError(Kind::Connect, SystemMessage(static_cast<unsigned long>(WSAGetLastError())));
}

// Owns the socket so that every way out closes it.
class Socket {
public:
    explicit Socket(SOCKET socket) : socket_(socket) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
    }
    SOCKET get() const { return socket_; }
    SOCKET Release() {
        const SOCKET socket = socket_;
        socket_ = INVALID_SOCKET;
        return socket;
    }

private:
    SOCKET socket_;
};

// Returns the events that came; a failed connect shows as POLLERR or POLLHUP.
short WaitFor(SOCKET socket, short events, int timeoutMs) {
    WSAPOLLFD entry{socket, events, 0};
    const int ready = WSAPoll(&entry, 1, timeoutMs);
    if (ready == 0) {
        throw EHttpError(Kind::Timeout, "等待超过 " + IntToStr(timeoutMs / 1000) + " 秒");
    }
    if (ready < 0) {
        FailWithLastError();
    }
    return entry.revents;
}

// A non-blocking connect, so that its wait is bounded like the reads.
SOCKET Connect(const std::string& host, const std::string& port, int timeoutMs) {
    StartWinsockOnce();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (status != 0) {
        throw EHttpError(Kind::Connect,
                         host + ": " + SystemMessage(static_cast<unsigned long>(status)));
    }
    std::string lastError = "no address";
    Kind lastKind = Kind::Connect;
    for (addrinfo* address = found; address != nullptr; address = address->ai_next) {
        Socket guard(socket(address->ai_family, address->ai_socktype, address->ai_protocol));
        if (guard.get() == INVALID_SOCKET) {
            lastError = SystemMessage(static_cast<unsigned long>(WSAGetLastError()));
            continue;
        }
        u_long nonBlocking = 1;
        ioctlsocket(guard.get(), FIONBIO, &nonBlocking);
        if (connect(guard.get(), address->ai_addr, static_cast<int>(address->ai_addrlen)) != 0) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) {
                lastError = SystemMessage(static_cast<unsigned long>(error));
                continue;
            }
            try {
                WaitFor(guard.get(), POLLOUT, timeoutMs);
            } catch (const EHttpError& failure) {
                lastError = failure.what();
                lastKind = failure.kind();
                continue;
            }
            int socketError = 0;
            int length = sizeof socketError;
            getsockopt(guard.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError),
                       &length);
            if (socketError != 0) {
                lastError = SystemMessage(static_cast<unsigned long>(socketError));
                continue;
            }
        }
        freeaddrinfo(found);
        return guard.Release();
    }
    freeaddrinfo(found);
    throw EHttpError(lastKind, host + ":" + port + ": " + lastError);
}

}  // namespace

TcpConnection::TcpConnection(const std::string& host, const std::string& port, int timeoutMs)
    : socket_(static_cast<std::intptr_t>(Connect(host, port, timeoutMs))) {}

TcpConnection::~TcpConnection() { closesocket(static_cast<SOCKET>(socket_)); }

// Windows raises no signal for a peer that has gone away, so there is no
// MSG_NOSIGNAL to give.
void TcpConnection::Send(std::string_view bytes, int timeoutMs) {
    const SOCKET socket = static_cast<SOCKET>(socket_);
    while (!bytes.empty()) {
        WaitFor(socket, POLLOUT, timeoutMs);
        const int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20));
        const int sent = send(socket, bytes.data(), chunk, 0);
        if (sent == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK) {
                continue;
            }
            FailWithLastError();
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
}

size_t TcpConnection::Receive(char* buffer, size_t size, int timeoutMs) {
    const SOCKET socket = static_cast<SOCKET>(socket_);
    const int chunk = static_cast<int>(std::min<size_t>(size, 1 << 20));
    for (;;) {
        WaitFor(socket, POLLIN, timeoutMs);
        const int count = recv(socket, buffer, chunk, 0);
        if (count != SOCKET_ERROR) {
            return static_cast<size_t>(count);
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            FailWithLastError();
        }
    }
}

}  // namespace tovarin
