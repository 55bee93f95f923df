#pragma once

#include <string>
#include <vector>

#include "support/DownloadServer.h"

namespace tovarin::test {

// tests/support/answer-server.py serving the answers a folder's routes.json
// describes; with tls over HTTPS, its authority made at start in ca.pem.
class AnswerServer : public TestServer {
public:
    explicit AnswerServer(const std::string& folder, bool tls = false)
        : TestServer("tests/support/answer-server.py", folder,
                     tls ? std::vector<std::string>{"--tls"} : std::vector<std::string>{}),
          folder_(folder) {}

    std::string Url(const std::string& path) const { return BaseAddress() + path; }
    std::string CaFile() const { return folder_ + "/ca.pem"; }

private:
    std::string folder_;
};

}  // namespace tovarin::test
