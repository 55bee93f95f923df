#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/Loopback.h"

namespace tovarin::test {

LoopbackSocket::~LoopbackSocket() {
    if (Valid()) {
        ::close(static_cast<int>(socket_));
    }
}

LoopbackSocket LoopbackSocket::Connect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return LoopbackSocket(-1);
    }
    return LoopbackSocket(fd);
}

std::string LoopbackSocket::ReceiveSome() {
    char buffer[4096];
    const ssize_t count = ::recv(static_cast<int>(socket_), buffer, sizeof buffer, 0);
    return count > 0 ? std::string(buffer, static_cast<size_t>(count)) : std::string();
}

void LoopbackSocket::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent =
            ::send(static_cast<int>(socket_), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
}

LoopbackListener::LoopbackListener() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    socket_ = fd;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd, 1);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() { ::close(static_cast<int>(socket_)); }

LoopbackSocket LoopbackListener::Accept() {
    return LoopbackSocket(::accept(static_cast<int>(socket_), nullptr, nullptr));
}

}  // namespace tovarin::test
