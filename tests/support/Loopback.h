#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovarin::test {

// One end of a TCP connection on 127.0.0.1, closed with the object.
class LoopbackSocket {
public:
    explicit LoopbackSocket(std::intptr_t socket) : socket_(socket) {}
    LoopbackSocket(LoopbackSocket&& other) noexcept : socket_(other.socket_) { other.socket_ = -1; }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;
    ~LoopbackSocket();

    // Connects to a port of 127.0.0.1; an invalid socket when nobody listens.
    static LoopbackSocket Connect(int port);

    bool Valid() const { return socket_ != -1; }
    // Hands the socket over; LoopbackSocket(socket) closes it later.
    std::intptr_t Release() {
        const std::intptr_t socket = socket_;
        socket_ = -1;
        return socket;
    }
    // The next bytes that arrive; empty when the other side has closed.
    std::string ReceiveSome();
    void SendAll(std::string_view bytes);

private:
    std::intptr_t socket_;
};

// A listening socket on a free port of 127.0.0.1.
class LoopbackListener {
public:
    LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;
    ~LoopbackListener();

    int Port() const { return port_; }
    LoopbackSocket Accept();

private:
    std::intptr_t socket_ = -1;
    int port_ = 0;
};

}  // namespace tovarin::test
