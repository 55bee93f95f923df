// clang-format off
#include <windows.h>
#include <wincrypt.h>
#include <winhttp.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "core/base/FileIO.h"
#include "core/base/HttpClient.h"
#include "core/base/SystemTextWindows.h"

namespace tovarin {
namespace {

using Kind = EFetchError::Kind;
using Clock = std::chrono::steady_clock;

// A certificate file holds a few authorities, not megabytes.
constexpr size_t kMaxCaFileBytes = size_t{1} << 20;
// How often the watchdog looks at the cancel flag.
constexpr int kCancelPollMs = 50;
constexpr DWORD kReadChunk = 64 * 1024;

std::string ErrorText(DWORD error) {
    return ModuleMessage(GetModuleHandleW(L"winhttp.dll"), error);
}

struct HandleCloser {
    void operator()(void* handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct StoreCloser {
    void operator()(void* store) const { CertCloseStore(store, 0); }
};
using Store = std::unique_ptr<void, StoreCloser>;

std::string EnvValue(const char* lower, const char* upper) {
    for (const char* name : {lower, upper}) {
        if (name != nullptr) {
            const char* const value = std::getenv(name);
            if (value != nullptr && *value != '\0') {
                return value;
            }
        }
    }
    return {};
}

// "http://user@proxy:3128/" as WinHTTP names a proxy: "proxy:3128".
std::wstring ProxyServer(std::string value) {
    const size_t scheme = value.find("://");
    if (scheme != std::string::npos) {
        value.erase(0, scheme + 3);
    }
    value.erase(std::min(value.find('/'), value.size()));
    const size_t at = value.rfind('@');
    if (at != std::string::npos) {
        value.erase(0, at + 1);
    }
    return Utf8ToWide(value);
}

// no_proxy "example.com,.local" as WinHTTP's bypass list "example.com;*.local".
std::wstring BypassList(const std::string& noProxy) {
    std::wstring list;
    size_t start = 0;
    while (start <= noProxy.size()) {
        const size_t end = std::min(noProxy.find(',', start), noProxy.size());
        std::string entry = noProxy.substr(start, end - start);
        entry.erase(0, entry.find_first_not_of(' '));
        entry.erase(entry.find_last_not_of(' ') + 1);
        if (!entry.empty()) {
            if (entry.front() == '.') {
                entry.insert(0, "*");
            }
            list += (list.empty() ? L"" : L";") + Utf8ToWide(entry);
        }
        start = end + 1;
    }
    return list;
}

// The environment's proxy for the request's scheme, as the POSIX client
// takes it from libcurl: http_proxy or https_proxy (HTTPS_PROXY), else
// all_proxy, with no_proxy's hosts passed by; "*" in no_proxy means none.
// Without one, the system's WinHTTP settings. The proxy is named without a
// scheme ("host:port"), the one form every WinHTTP reads.
Handle OpenSession(bool secure) {
    const std::wstring agent = Utf8ToWide(DefaultUserAgent());
    std::string proxy =
        secure ? EnvValue("https_proxy", "HTTPS_PROXY") : EnvValue("http_proxy", nullptr);
    if (proxy.empty()) {
        proxy = EnvValue("all_proxy", "ALL_PROXY");
    }
    const std::string noProxy = EnvValue("no_proxy", "NO_PROXY");
    HINTERNET session = nullptr;
    if (proxy.empty() || noProxy == "*") {
        session = WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                              WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    } else {
        const std::wstring server = ProxyServer(proxy);
        const std::wstring bypass = BypassList(noProxy);
        session = WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_NAMED_PROXY, server.c_str(),
                              bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : bypass.c_str(), 0);
    }
    if (session == nullptr) {
        throw EFetchError(Kind::Connect, fetch_text::Connect(ErrorText(GetLastError())));
    }
    return Handle(session);
}

// The authorities of a PEM file in a store of their own.
Store ReadAuthorities(const std::string& path) {
    std::string pem;
    try {
        pem = ReadFileHead(path, kMaxCaFileBytes + 1);
    } catch (const EInOutError& error) {
        throw EFetchError(Kind::Request, fetch_text::BadCaFile(path, error.what()));
    }
    Store store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
    if (!store) {
        throw EFetchError(Kind::Request, fetch_text::BadCaFile(path, ErrorText(GetLastError())));
    }
    constexpr std::string_view begin = "-----BEGIN CERTIFICATE-----";
    constexpr std::string_view end = "-----END CERTIFICATE-----";
    int count = 0;
    for (size_t at = pem.find(begin); at != std::string::npos; at = pem.find(begin, at + 1)) {
        const size_t stop = pem.find(end, at);
        if (stop == std::string::npos) {
            break;
        }
        const std::string block = pem.substr(at, stop + end.size() - at);
        DWORD size = 0;
        if (!CryptStringToBinaryA(block.c_str(), static_cast<DWORD>(block.size()),
                                  CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
            continue;
        }
        std::vector<BYTE> der(size);
        if (CryptStringToBinaryA(block.c_str(), static_cast<DWORD>(block.size()),
                                 CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr) &&
            CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING, der.data(), size,
                                             CERT_STORE_ADD_ALWAYS, nullptr)) {
            ++count;
        }
    }
    if (pem.size() > kMaxCaFileBytes || count == 0) {
        throw EFetchError(Kind::Request, fetch_text::BadCaFile(path, "没有可用的证书"));
    }
    return store;
}

// The server's certificate checked against the system's authorities and
// the extra ones: a chain to either, valid now, for the host's name.
std::string CertificateProblem(PCCERT_CONTEXT server, HCERTSTORE extra, const std::wstring& host) {
    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertGetCertificateChain(nullptr, server, nullptr, extra, &chainPara, 0, nullptr, &chain)) {
        return ErrorText(GetLastError());
    }
    const CERT_SIMPLE_CHAIN* const simple = chain->rgpChain[0];
    const PCCERT_CONTEXT root = simple->rgpElement[simple->cElement - 1]->pCertContext;
    bool rootIsExtra = false;
    PCCERT_CONTEXT authority = nullptr;
    while ((authority = CertEnumCertificatesInStore(extra, authority)) != nullptr) {
        rootIsExtra = rootIsExtra || CertCompareCertificate(X509_ASN_ENCODING, root->pCertInfo,
                                                            authority->pCertInfo);
    }
    // The chain's own verdict first: not every system's policy check below
    // refuses a chain that ends short of any authority.
    DWORD errors = chain->TrustStatus.dwErrorStatus;
    if (rootIsExtra) {
        errors &= ~static_cast<DWORD>(CERT_TRUST_IS_UNTRUSTED_ROOT);
    }
    if (errors != 0) {
        CertFreeCertificateChain(chain);
        const DWORD untrusted = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN;
        char code[16];
        std::snprintf(code, sizeof code, "0x%lX", static_cast<unsigned long>(errors));
        return (errors & untrusted) != 0 ? std::string("证书不是受信任的机构签发的")
                                         : std::string("证书无效（") + code + "）";
    }
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.fdwChecks = rootIsExtra ? SECURITY_FLAG_IGNORE_UNKNOWN_CA : 0;
    ssl.pwszServerName = const_cast<wchar_t*>(host.c_str());
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    const bool checked =
        CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
    CertFreeCertificateChain(chain);
    if (!checked) {
        return ErrorText(GetLastError());
    }
    return status.dwError == 0 ? std::string() : ErrorText(status.dwError);
}

// Ends the blocking calls of a request when it is cancelled or its
// deadline passes, by closing its handle from a thread of its own; the
// fetching thread then sees its call fail and asks why.
class Watchdog {
public:
    Watchdog(Handle& request, const TFetchCancel* cancel, Clock::time_point deadline)
        : request_(request), cancel_(cancel), deadline_(deadline), thread_([this] { Watch(); }) {}
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }

    enum class Fired { No, Cancelled, Deadline };
    Fired WhyClosed() const {
        const std::lock_guard lock(mutex_);
        return fired_;
    }
    // Closes the request now, for a reason of the fetching thread's own.
    void CloseRequest() {
        const std::lock_guard lock(mutex_);
        request_.reset();
    }

private:
    void Watch() {
        while (!done_) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
            const int waitMs =
                static_cast<int>(std::clamp<long long>(left.count(), 0, kCancelPollMs));
            const bool cancelled =
                cancel_ != nullptr
                    ? cancel_->WaitMs(waitMs)
                    : (std::this_thread::sleep_for(std::chrono::milliseconds(waitMs)), false);
            if (done_) {
                return;
            }
            if (cancelled || Clock::now() >= deadline_) {
                const std::lock_guard lock(mutex_);
                fired_ = cancelled ? Fired::Cancelled : Fired::Deadline;
                request_.reset();
                return;
            }
        }
    }

    Handle& request_;
    const TFetchCancel* cancel_;
    Clock::time_point deadline_;
    std::atomic<bool> done_{false};
    mutable std::mutex mutex_;
    Fired fired_ = Fired::No;
    std::thread thread_;
};

// What the status callback keeps while the request is under way.
struct RequestWatch {
    // The address the request is at: the first, then each redirect's.
    std::wstring url;
    // The extra authorities, when there are any; then every server's
    // certificate is checked before the request is sent to it.
    HCERTSTORE extra = nullptr;
    Watchdog* watchdog = nullptr;
    std::string problem;
};

// A redirect's Location, which may be given from the path on, as an
// address of its own.
std::wstring RedirectUrl(const std::wstring& from, const std::wstring& location) {
    if (location.find(L"://") != std::wstring::npos || location.empty() || location[0] != L'/') {
        return location;
    }
    const size_t scheme = from.find(L"://");
    const size_t pathStart =
        scheme == std::wstring::npos ? std::wstring::npos : from.find(L'/', scheme + 3);
    return from.substr(0, pathStart) + location;
}

std::wstring HostOf(const std::wstring& url) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    if (WinHttpCrackUrl(url.c_str(), 0, 0, &parts) && parts.lpszHostName != nullptr) {
        return {parts.lpszHostName, parts.dwHostNameLength};
    }
    return {};
}

void CALLBACK OnStatus(HINTERNET request, DWORD_PTR context, DWORD status, LPVOID information,
                       DWORD length) {
    if (context == 0) {
        return;
    }
    auto& watch = *reinterpret_cast<RequestWatch*>(context);
    if (status == WINHTTP_CALLBACK_STATUS_REDIRECT && information != nullptr) {
        const auto* location = static_cast<const wchar_t*>(information);
        watch.url = RedirectUrl(watch.url, std::wstring(location, wcsnlen(location, length)));
        return;
    }
    if (status != WINHTTP_CALLBACK_STATUS_SENDING_REQUEST || watch.extra == nullptr) {
        return;
    }
    PCCERT_CONTEXT server = nullptr;
    DWORD size = sizeof server;
    if (!WinHttpQueryOption(request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &server, &size)) {
        return;  // a plain http:// hop
    }
    watch.problem = CertificateProblem(server, watch.extra, HostOf(watch.url));
    CertFreeCertificateContext(server);
    if (!watch.problem.empty()) {
        // Nothing of the request goes to a server that is not trusted.
        watch.watchdog->CloseRequest();
    }
}

struct Target {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring pathAndQuery;
    bool secure = false;
};

Target CrackUrl(const std::string& url) {
    const std::wstring wide = Utf8ToWide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts) ||
        parts.dwHostNameLength == 0) {
        throw EFetchError(Kind::Request, fetch_text::BadAddress(url));
    }
    Target target;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.port = parts.nPort;
    target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    target.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo != nullptr) {
        target.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    }
    if (target.pathAndQuery.empty() || target.pathAndQuery.front() != L'/') {
        target.pathAndQuery.insert(0, L"/");
    }
    return target;
}

std::wstring QueryText(HINTERNET request, DWORD what) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) {
        return {};
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                             WINHTTP_NO_HEADER_INDEX)) {
        return {};
    }
    text.resize(size / sizeof(wchar_t));
    return text;
}

// A request's steps, each failure told in the words of both clients.
class Fetch {
public:
    explicit Fetch(const THttpRequest& request)
        : request_(request),
          deadline_(Clock::now() + std::chrono::milliseconds(request.TimeoutMs)) {}

    THttpAnswer Run();

private:
    [[noreturn]] void Fail(DWORD error) const;
    void StopIfDue() const {
        if (request_.Cancel != nullptr && request_.Cancel->Cancelled()) {
            throw EFetchError(Kind::Cancelled, fetch_text::Cancelled());
        }
        if (Clock::now() >= deadline_) {
            throw EFetchError(Kind::Timeout, TransferTimeoutText(request_.TimeoutMs));
        }
    }
    int RemainingMs() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        return static_cast<int>(std::max<long long>(left.count(), 1));
    }
    void BoundNextWait(HINTERNET request) const {
        DWORD ms = static_cast<DWORD>(RemainingMs());
        WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &ms, sizeof ms);
    }

    const THttpRequest& request_;
    Clock::time_point deadline_;
    Watchdog* watchdog_ = nullptr;
    RequestWatch watch_;
};

void Fetch::Fail(DWORD error) const {
    if (watchdog_ != nullptr) {
        switch (watchdog_->WhyClosed()) {
            case Watchdog::Fired::Cancelled:
                throw EFetchError(Kind::Cancelled, fetch_text::Cancelled());
            case Watchdog::Fired::Deadline:
                throw EFetchError(Kind::Timeout, TransferTimeoutText(request_.TimeoutMs));
            case Watchdog::Fired::No:
                break;
        }
    }
    if (!watch_.problem.empty()) {
        throw EFetchError(Kind::Certificate, fetch_text::Certificate(watch_.problem));
    }
    switch (error) {
        case ERROR_WINHTTP_TIMEOUT:
            throw EFetchError(Kind::Timeout, TransferTimeoutText(request_.TimeoutMs));
        // Wine's WinHTTP reports a certificate it does not trust as a
        // failed secure channel.
        case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        case ERROR_WINHTTP_SECURE_FAILURE:
        case ERROR_WINHTTP_SECURE_INVALID_CA:
        case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
        case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
        case ERROR_WINHTTP_SECURE_INVALID_CERT:
        case ERROR_WINHTTP_SECURE_CERT_REVOKED:
        case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
            throw EFetchError(Kind::Certificate, fetch_text::Certificate(ErrorText(error)));
        case ERROR_WINHTTP_REDIRECT_FAILED:
            throw EFetchError(Kind::Status, fetch_text::TooManyRedirects());
        case ERROR_WINHTTP_INVALID_URL:
        case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
            throw EFetchError(Kind::Request, fetch_text::BadAddress(request_.Url));
        default:
            throw EFetchError(Kind::Connect, fetch_text::Connect(ErrorText(error)));
    }
}

THttpAnswer Fetch::Run() {
    const Target target = CrackUrl(request_.Url);
    Store extra;
    if (!request_.CaFile.empty()) {
        extra = ReadAuthorities(request_.CaFile);
    }
    const Handle session = OpenSession(target.secure);
    const int timeoutMs = request_.TimeoutMs;
    WinHttpSetTimeouts(session.get(), timeoutMs, timeoutMs, timeoutMs, timeoutMs);
    const Handle connection(WinHttpConnect(session.get(), target.host.c_str(), target.port, 0));
    if (!connection) {
        Fail(GetLastError());
    }
    Handle request(WinHttpOpenRequest(connection.get(), L"GET", target.pathAndQuery.c_str(),
                                      nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                      target.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) {
        Fail(GetLastError());
    }
    // Used by this thread only through the raw handle: the watchdog may
    // close the owned one at any time.
    HINTERNET const handle = request.get();
    DWORD redirects = kMaxRedirects;
    WinHttpSetOption(handle, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects,
                     sizeof redirects);
    DWORD decompression = WINHTTP_DECOMPRESSION_FLAG_ALL;
    WinHttpSetOption(handle, WINHTTP_OPTION_DECOMPRESSION, &decompression, sizeof decompression);
    for (const std::string& header : request_.Headers) {
        const std::wstring line = Utf8ToWide(header);
        if (!WinHttpAddRequestHeaders(handle, line.c_str(), static_cast<DWORD>(line.size()),
                                      WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)) {
            throw EFetchError(Kind::Request, fetch_text::BadHeader(header));
        }
    }
    if (extra) {
        // WinHTTP knows only the system's authorities: it lets an unknown
        // one pass, and the callback checks every server's certificate
        // against both before the request is sent to it.
        DWORD flags = SECURITY_FLAG_IGNORE_UNKNOWN_CA;
        WinHttpSetOption(handle, WINHTTP_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
        watch_.extra = extra.get();
    }
    watch_.url = Utf8ToWide(request_.Url);
    WinHttpSetStatusCallback(
        handle, &OnStatus, WINHTTP_CALLBACK_FLAG_REDIRECT | WINHTTP_CALLBACK_FLAG_SEND_REQUEST, 0);
    Watchdog watchdog(request, request_.Cancel, deadline_);
    watchdog_ = &watchdog;
    watch_.watchdog = &watchdog;
    if (!WinHttpSendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                            reinterpret_cast<DWORD_PTR>(&watch_))) {
        Fail(GetLastError());
    }
    BoundNextWait(handle);
    if (!WinHttpReceiveResponse(handle, nullptr)) {
        Fail(GetLastError());
    }
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                             WINHTTP_NO_HEADER_INDEX)) {
        Fail(GetLastError());
    }
    if (status >= 300 && status < 400) {
        throw EFetchError(Kind::Status, fetch_text::TooManyRedirects());
    }
    if (status < 200 || status > 299) {
        throw EFetchError(Kind::Status, fetch_text::BadStatus(static_cast<long>(status)));
    }
    THttpAnswer answer;
    answer.ContentType = WideToUtf8(QueryText(handle, WINHTTP_QUERY_CONTENT_TYPE));
    const std::wstring length = QueryText(handle, WINHTTP_QUERY_CONTENT_LENGTH);
    if (!length.empty()) {
        const unsigned long long announced = std::wcstoull(length.c_str(), nullptr, 10);
        if (announced > request_.MaxBytes) {
            throw EFetchError(Kind::TooLarge, AnswerTooLongText());
        }
        answer.Body.reserve(static_cast<size_t>(announced));
    }
    // What has arrived, piece by piece: the deadline and the cancel flag are
    // looked at between pieces, and each wait for the next one ends at the
    // deadline, whether or not the watchdog's closing ends it.
    for (;;) {
        StopIfDue();
        DWORD available = 0;
        BoundNextWait(handle);
        if (!WinHttpQueryDataAvailable(handle, &available)) {
            Fail(GetLastError());
        }
        if (available == 0) {
            break;
        }
        const size_t room = request_.MaxBytes - answer.Body.size();
        const size_t had = answer.Body.size();
        // One byte past the bound shows an answer that passes it.
        const DWORD wanted =
            static_cast<DWORD>(std::min<size_t>({available, kReadChunk, room + 1}));
        answer.Body.resize(had + wanted);
        DWORD read = 0;
        if (!WinHttpReadData(handle, answer.Body.data() + had, wanted, &read)) {
            Fail(GetLastError());
        }
        answer.Body.resize(had + read);
        if (answer.Body.size() > request_.MaxBytes) {
            throw EFetchError(Kind::TooLarge, AnswerTooLongText());
        }
        if (request_.OnProgress) {
            request_.OnProgress(answer.Body.size());
        }
    }
    answer.FinalUrl = WideToUtf8(watch_.url);
    return answer;
}

}  // namespace

THttpAnswer HttpFetch(const THttpRequest& request) {
    CheckRequest(request);
    return Fetch(request).Run();
}

}  // namespace tovarin
