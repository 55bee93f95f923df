#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/Loopback.h"

namespace tovarin::test {
namespace {

void StartWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    static_cast<void>(started);
}

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    return address;
}

}  // namespace

LoopbackSocket::~LoopbackSocket() {
    if (Valid()) {
        closesocket(static_cast<SOCKET>(socket_));
    }
}

LoopbackSocket LoopbackSocket::Connect(int port) {
    StartWinsock();
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress(port);
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        closesocket(socket);
        return LoopbackSocket(-1);
    }
    return LoopbackSocket(static_cast<std::intptr_t>(socket));
}

std::string LoopbackSocket::ReceiveSome() {
    char buffer[4096];
    const int count = recv(static_cast<SOCKET>(socket_), buffer, sizeof buffer, 0);
    return count > 0 ? std::string(buffer, static_cast<size_t>(count)) : std::string();
}

void LoopbackSocket::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const int sent =
            send(static_cast<SOCKET>(socket_), bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
}

LoopbackListener::LoopbackListener() {
    StartWinsock();
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    socket_ = static_cast<std::intptr_t>(socket);
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof address;
    bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(socket, 1);
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() { closesocket(static_cast<SOCKET>(socket_)); }

LoopbackSocket LoopbackListener::Accept() {
    const SOCKET socket = accept(static_cast<SOCKET>(socket_), nullptr, nullptr);
    return LoopbackSocket(socket == INVALID_SOCKET ? -1 : static_cast<std::intptr_t>(socket));
}

}  // namespace tovarin::test
