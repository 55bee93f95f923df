#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/Draws.h"

namespace tovarin::test {

// tools/draw-server run by python3 on a free loopback port for as long as
// the object lives.
class DrawServer {
public:
    // history: the file the server serves; options: its further arguments.
    explicit DrawServer(const std::string& history, const std::vector<std::string>& options = {});
    DrawServer(const DrawServer&) = delete;
    DrawServer& operator=(const DrawServer&) = delete;
    ~DrawServer();

    // The address the server printed, without query.
    const std::string& BaseAddress() const { return baseAddress_; }

private:
    pid_t pid_ = -1;
    std::string baseAddress_;
};

// A loopback port on which nothing listens (it was free a moment ago).
int UnusedLoopbackPort();

// Writes bytes to a file (a history or a raw answer) and returns its path.
std::string WriteTestFile(const std::string& path, const std::string& bytes);

}  // namespace tovarin::test
