#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovarin {

// One TCP connection, the only user of the system's sockets. Every wait is
// bounded: connecting, and each wait for room to send or for the next
// bytes, gives up after timeoutMs with EHttpError Timeout; the other
// failures are EHttpError Connect with the system's reason.
class TcpConnection {
public:
    // Connects to the first address of host:port that takes the connection.
    TcpConnection(const std::string& host, const std::string& port, int timeoutMs);
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;
    ~TcpConnection();

    void Send(std::string_view bytes, int timeoutMs);
    // Puts up to size bytes into buffer; 0 when the other side has closed.
    size_t Receive(char* buffer, size_t size, int timeoutMs);

private:
    std::intptr_t socket_;  // a descriptor, or Windows's SOCKET
};

}  // namespace tovarin
