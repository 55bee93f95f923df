#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/Draws.h"

namespace tovarin::test {

// A server script of the project (a path from its root) run by python3 on
// a free loopback port for as long as the object lives. A Windows test
// program under Wine cannot start it: it asks tests/support/draw-server-
// host.py, which runs the test program, to start it on the Linux side
// (TOVARIN_DRAW_SERVER_HOST names its port).
class TestServer {
public:
    // path: the file or folder the server serves, its first argument;
    // options: its further arguments.
    TestServer(const std::string& script, const std::string& path,
               const std::vector<std::string>& options);
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;
    ~TestServer();

    // The address the server printed, without query.
    const std::string& BaseAddress() const { return baseAddress_; }

private:
    // The server's process id, or the connection to the host that started it.
    std::intptr_t server_ = -1;
    std::string baseAddress_;
};

// tools/draw-server serving a draw-history file.
class DrawServer : public TestServer {
public:
    // history: the file the server serves; options: its further arguments.
    explicit DrawServer(const std::string& history, const std::vector<std::string>& options = {})
        : TestServer(kDrawServerScript, history, options) {}

    static constexpr const char* kDrawServerScript = "tools/draw-server";
};

// A loopback port on which nothing listens (it was free a moment ago).
int UnusedLoopbackPort();

// Writes bytes to a file (a history or a raw answer) and returns its path.
std::string WriteTestFile(const std::string& path, const std::string& bytes);

}  // namespace tovarin::test
