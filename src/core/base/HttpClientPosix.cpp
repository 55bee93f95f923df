#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "core/base/HttpClient.h"

namespace tovarin {
namespace {

using Kind = EFetchError::Kind;

// How long a wait for the network lasts before the cancel flag is looked at.
constexpr int kCancelPollMs = 50;

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            throw EFetchError(Kind::Connect, fetch_text::Connect("curl_global_init"));
        }
    });
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What the write callback works with.
struct Receiver {
    CURL* easy = nullptr;
    const THttpRequest* request = nullptr;
    std::string* body = nullptr;
    bool tooLarge = false;
};

size_t Receive(char* data, size_t size, size_t count, void* user) {
    auto& receiver = *static_cast<Receiver*>(user);
    const size_t bytes = size * count;
    std::string& body = *receiver.body;
    if (bytes > receiver.request->MaxBytes - body.size()) {
        receiver.tooLarge = true;
        return CURL_WRITEFUNC_ERROR;
    }
    if (body.empty()) {
        // The announced length (of the compressed body when compressed) as
        // a first guess, so that a plain answer is received in one buffer.
        curl_off_t length = -1;
        curl_easy_getinfo(receiver.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (length > 0) {
            body.reserve(std::min(static_cast<size_t>(length), receiver.request->MaxBytes));
        }
    }
    body.append(data, bytes);
    if (receiver.request->OnProgress) {
        receiver.request->OnProgress(body.size());
    }
    return bytes;
}

template <typename Value>
void Set(CURL* easy, CURLoption option, Value value) {
    if (curl_easy_setopt(easy, option, value) != CURLE_OK) {
        throw EFetchError(Kind::Connect,
                          fetch_text::Connect(curl_easy_strerror(CURLE_FAILED_INIT)));
    }
}

std::string ErrorDetail(CURLcode code, const char* buffer) {
    return buffer[0] != '\0' ? std::string(buffer) : std::string(curl_easy_strerror(code));
}

[[noreturn]] void Fail(CURLcode code, const char* errorBuffer, const Receiver& receiver,
                       CURL* easy) {
    const THttpRequest& request = *receiver.request;
    switch (code) {
        case CURLE_WRITE_ERROR:
        case CURLE_FILESIZE_EXCEEDED:
            if (receiver.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
                throw EFetchError(Kind::TooLarge, AnswerTooLongText());
            }
            break;
        case CURLE_OPERATION_TIMEDOUT:
            throw EFetchError(Kind::Timeout, TransferTimeoutText(request.TimeoutMs));
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_ISSUER_ERROR:
            throw EFetchError(Kind::Certificate,
                              fetch_text::Certificate(ErrorDetail(code, errorBuffer)));
        case CURLE_SSL_CACERT_BADFILE:
            throw EFetchError(Kind::Request, fetch_text::BadCaFile(request.CaFile,
                                                                   ErrorDetail(code, errorBuffer)));
        case CURLE_TOO_MANY_REDIRECTS:
            throw EFetchError(Kind::Status, fetch_text::TooManyRedirects());
        case CURLE_HTTP_RETURNED_ERROR: {
            long status = 0;
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
            throw EFetchError(Kind::Status, fetch_text::BadStatus(status));
        }
        case CURLE_BAD_CONTENT_ENCODING:
            throw EFetchError(Kind::Status, fetch_text::BadCompression());
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            throw EFetchError(Kind::Request, fetch_text::BadAddress(request.Url));
        default:
            break;
    }
    throw EFetchError(Kind::Connect, fetch_text::Connect(ErrorDetail(code, errorBuffer)));
}

// Runs the transfer, looking at the cancel flag between waits.
CURLcode Perform(CURLM* multi, CURL* easy, const TFetchCancel* cancel) {
    if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            return CURLE_FAILED_INIT;
        }
        if (running > 0 && curl_multi_poll(multi, nullptr, 0, kCancelPollMs, nullptr) != CURLM_OK) {
            return CURLE_FAILED_INIT;
        }
        if (cancel != nullptr && cancel->Cancelled()) {
            curl_multi_remove_handle(multi, easy);
            throw EFetchError(Kind::Cancelled, fetch_text::Cancelled());
        }
    }
    CURLcode result = CURLE_FAILED_INIT;
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi, easy);
    return result;
}

}  // namespace

THttpAnswer HttpFetch(const THttpRequest& request) {
    CheckRequest(request);
    InitCurlOnce();
    const std::unique_ptr<CURL, EasyDeleter> easyHandle(curl_easy_init());
    const std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easyHandle || !multi) {
        throw EFetchError(Kind::Connect,
                          fetch_text::Connect(curl_easy_strerror(CURLE_OUT_OF_MEMORY)));
    }
    CURL* const easy = easyHandle.get();
    std::unique_ptr<curl_slist, ListDeleter> headers;
    auto addHeader = [&headers](const std::string& line) {
        curl_slist* const list = curl_slist_append(headers.get(), line.c_str());
        if (list == nullptr) {
            throw EFetchError(Kind::Connect,
                              fetch_text::Connect(curl_easy_strerror(CURLE_OUT_OF_MEMORY)));
        }
        static_cast<void>(headers.release());
        headers.reset(list);
    };
    for (const std::string& header : request.Headers) {
        addHeader(header);
    }
    if (!HasUserAgent(request.Headers)) {
        addHeader("User-Agent: " + DefaultUserAgent());
    }

    THttpAnswer answer;
    Receiver receiver{easy, &request, &answer.Body};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Set(easy, CURLOPT_URL, request.Url.c_str());
    Set(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    Set(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    Set(easy, CURLOPT_FOLLOWLOCATION, 1L);
    Set(easy, CURLOPT_MAXREDIRS, static_cast<long>(kMaxRedirects));
    Set(easy, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    Set(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(request.TimeoutMs));
    Set(easy, CURLOPT_NOSIGNAL, 1L);
    Set(easy, CURLOPT_FAILONERROR, 1L);
    Set(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.MaxBytes));
    Set(easy, CURLOPT_HTTPHEADER, headers.get());
    Set(easy, CURLOPT_WRITEFUNCTION, &Receive);
    Set(easy, CURLOPT_WRITEDATA, &receiver);
    Set(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    Set(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    Set(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!request.CaFile.empty()) {
        // The file replaces the built-in bundle; the system's folder of
        // authorities stays in use beside it.
        Set(easy, CURLOPT_CAINFO, request.CaFile.c_str());
    }
    const CURLcode result = Perform(multi.get(), easy, request.Cancel);
    if (result != CURLE_OK) {
        Fail(result, errorBuffer, receiver, easy);
    }
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        throw EFetchError(Kind::Status, fetch_text::BadStatus(status));
    }
    const char* contentType = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK &&
        contentType != nullptr) {
        answer.ContentType = contentType;
    }
    const char* finalUrl = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &finalUrl) == CURLE_OK &&
        finalUrl != nullptr) {
        answer.FinalUrl = finalUrl;
    }
    return answer;
}

}  // namespace tovarin
