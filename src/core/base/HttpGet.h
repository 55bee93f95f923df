#pragma once

#include <cstddef>
#include <string>

#include "core/base/Errors.h"

namespace tovarin {

// A GET that did not give a body.
class EHttpError : public Exception {
public:
    enum class Kind {
        Connect,  // bad address, unknown host, refused or broken connection
        Timeout,  // the transfer was not done by its deadline
        Status,   // the status line is not "HTTP/1.x 200", the answer is cut short or too long
    };

    EHttpError(Kind kind, const std::string& message) : Exception(message), kind_(kind) {}

    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// The largest answer a download takes in: far above any real draw history,
// and a bound for a server whose answer never ends.
inline constexpr size_t kMaxAnswerBytes = size_t{64} << 20;

// The time a whole download may take unless the user names another.
inline constexpr int kDefaultTransferMs = 30000;

// Why an answer was abandoned, the same words for every client.
std::string AnswerTooLongText();
std::string TransferTimeoutText(int timeoutMs);

// One HTTP/1.0 GET of an "http://host[:port]/path?query" address (no TLS,
// no redirects), as the command-line program needs it without a network
// library. The whole transfer (connecting, sending, receiving) has one
// deadline, timeoutMs from the call: a server that answers a byte at a time
// is given up like one that does not answer. The body is read to
// Content-Length when the answer gives one, otherwise to the end of the
// connection; an answer above kMaxAnswerBytes is given up. Returns the
// body's bytes.
std::string HttpGet(const std::string& url, int timeoutMs = kDefaultTransferMs);

}  // namespace tovarin
