#pragma once

#include <string>

#include "core/base/Errors.h"

namespace tovarin {

// A GET that did not give a body.
class EHttpError : public Exception {
public:
    enum class Kind {
        Connect,  // bad address, unknown host, refused or broken connection
        Timeout,  // connecting or waiting for the next bytes took too long
        Status,   // the status line is not "HTTP/1.x 200" or the answer is cut short
    };

    EHttpError(Kind kind, const std::string& message) : Exception(message), kind_(kind) {}

    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// One HTTP/1.0 GET of an "http://host[:port]/path?query" address (no TLS,
// no redirects), as the command-line program needs it without a network
// library. Connecting and every wait for data give up after timeoutMs.
// The body is read to Content-Length when the answer gives one, otherwise
// to the end of the connection. Returns the body's bytes.
std::string HttpGet(const std::string& url, int timeoutMs = 30000);

}  // namespace tovarin
