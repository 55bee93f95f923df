#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/HttpGet.h"

namespace tovarin {

// A fetch that did not give a body; the message is the one the user sees.
class EFetchError : public Exception {
public:
    enum class Kind {
        Request,      // an address, header or certificate file the client cannot use
        Connect,      // unknown host, refused or broken connection, proxy trouble
        Certificate,  // the server's certificate is not trusted or not its name's
        Timeout,      // not done by the request's deadline
        Status,       // not a 2xx answer, too many redirects, a broken compressed body
        TooLarge,     // the answer passed its bound
        Cancelled,    // stopped from another thread
    };

    EFetchError(Kind kind, const std::string& message) : Exception(message), kind_(kind) {}

    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// Stops a fetch from another thread (a window's 取消): the fetch notices
// within a fraction of a second and ends with EFetchError Cancelled.
class TFetchCancel {
public:
    void Cancel();
    bool Cancelled() const;
    // Waits until Cancel is called or ms have passed; true when cancelled.
    bool WaitMs(int ms) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable cancelled_changed_;
    bool cancelled_ = false;
};

// Redirects a fetch follows before it gives up.
inline constexpr int kMaxRedirects = 5;

// One GET. Certificates are always checked, against the system's
// authorities and, when CaFile names a PEM file, the ones in it as well.
// Proxies come from the environment (http_proxy, https_proxy, all_proxy,
// no_proxy). The answer may come gzip- or deflate-compressed.
struct THttpRequest {
    std::string Url;  // http:// or https://
    // "Name: value" lines sent as they are; a User-Agent naming the program
    // is sent unless one of them gives another.
    std::vector<std::string> Headers;
    std::string CaFile;
    // One deadline for the whole request: resolving, connecting, every
    // redirect and the whole body.
    int TimeoutMs = kDefaultTransferMs;
    // Bound on the body after decompression; a longer answer stops being
    // read as soon as it passes it.
    size_t MaxBytes = kMaxAnswerBytes;
    const TFetchCancel* Cancel = nullptr;
    // Called on the fetching thread as bytes arrive, with the body's size so far.
    std::function<void(size_t received)> OnProgress;
};

struct THttpAnswer {
    std::string Body;         // decompressed
    std::string ContentType;  // the Content-Type header as sent, empty without one
    std::string FinalUrl;     // after redirects
};

// EFetchError with the reason when there is no 2xx answer within bounds.
THttpAnswer HttpFetch(const THttpRequest& request);

// A request header a player may give: a name of letters, digits and
// -_!#$%&'*+.^`|~, a colon, and a value without control characters.
bool IsValidHeaderLine(std::string_view line);

// What both systems' clients say, so their messages are one text.
namespace fetch_text {
std::string BadAddress(const std::string& url);
std::string BadHeader(std::string_view line);
std::string BadCaFile(const std::string& path, const std::string& detail);
std::string Cancelled();
std::string TooManyRedirects();
std::string BadStatus(long status);
std::string BadCompression();
std::string Connect(const std::string& detail);
std::string Certificate(const std::string& detail);
}  // namespace fetch_text

// Shared checks before a request goes out: the scheme, the headers. Throws
// EFetchError Request.
void CheckRequest(const THttpRequest& request);
// True when the request's own headers give a User-Agent.
bool HasUserAgent(const std::vector<std::string>& headers);
// "Tovarin/1.08"
std::string DefaultUserAgent();

}  // namespace tovarin
