#include "core/base/HttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/AnswerServer.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using Kind = EFetchError::Kind;
using test::AnswerServer;
using test::WriteTestFile;

constexpr const char* kHistory = "2026001 2026-01-01 3 5 8 1 2 9 0\r\n";

// A folder of answers, served for all the cases: a text, redirects,
// compressed copies, the endless and trickling ones, a page that asks to be
// echoed.
class HttpClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        WriteTestFile(dir_->File("h.txt"), kHistory);
        WriteTestFile(dir_->File("big.txt"), std::string(4096, 'x'));
        WriteTestFile(dir_->File("routes.json"), R"({
          "/h.txt": {"file": "h.txt", "type": "text/plain; charset=utf-8"},
          "/gzip": {"file": "h.txt", "encoding": "gzip"},
          "/deflate": {"file": "h.txt", "encoding": "deflate", "length": false},
          "/big": {"file": "big.txt"},
          "/r1": {"redirect": "/r2"}, "/r2": {"redirect": "/r3"}, "/r3": {"redirect": "/r4"},
          "/r4": {"redirect": "/r5"}, "/r5": {"redirect": "/r6"}, "/r6": {"redirect": "/h.txt"},
          "/missing": {"file": "h.txt", "status": 404},
          "/echo": {"echo": true},
          "/endless": {"endless": true},
          "/trickle": {"trickle": true}
        })");
        server_ = new AnswerServer(dir_->Path());
    }
    static void TearDownTestSuite() {
        delete server_;
        delete dir_;
    }

    static THttpRequest Request(const AnswerServer& server, const std::string& path) {
        THttpRequest request;
        request.Url = server.Url(path);
        return request;
    }

    static test::TempDir* dir_;
    static AnswerServer* server_;
};

test::TempDir* HttpClientTest::dir_ = nullptr;
AnswerServer* HttpClientTest::server_ = nullptr;

EFetchError ErrorOf(const THttpRequest& request) {
    try {
        HttpFetch(request);
    } catch (const EFetchError& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << request.Url;
    return EFetchError(Kind::Request, "");
}

TEST_F(HttpClientTest, ReturnsTheBodyAndItsTypeAfterAtMostFiveRedirects) {
    const AnswerServer& server = *server_;
    struct Case {
        const char* path;
        const char* finalPath;
    };
    for (const Case& c : {Case{"/h.txt", "/h.txt"}, Case{"/r2", "/h.txt"}, Case{"/gzip", "/gzip"},
                          Case{"/deflate", "/deflate"}}) {
        const THttpAnswer answer = HttpFetch(Request(server, c.path));
        EXPECT_EQ(answer.Body, kHistory) << c.path;
        EXPECT_EQ(answer.FinalUrl, server.Url(c.finalPath));
    }
    EXPECT_EQ(HttpFetch(Request(server, "/h.txt")).ContentType, "text/plain; charset=utf-8");
    const EFetchError tooMany = ErrorOf(Request(server, "/r1"));
    EXPECT_EQ(tooMany.kind(), Kind::Status);
    EXPECT_STREQ(tooMany.what(), "重定向超过5次");
}

TEST_F(HttpClientTest, SendsTheHeadersAndAnAgentOfItsOwnUnlessOneIsGiven) {
    const AnswerServer& server = *server_;
    THttpRequest request = Request(server, "/echo");
    const std::string plain = HttpFetch(request).Body;
    EXPECT_EQ(plain.rfind("GET /echo HTTP/1.1\r\n", 0), 0u) << plain;
    EXPECT_NE(plain.find("User-Agent: Tovarin/1.08\r\n"), std::string::npos) << plain;
#ifndef _WIN32
    // WinHTTP under Wine cannot decompress and asks for no compression.
    EXPECT_NE(plain.find("Accept-Encoding: gzip, deflate\r\n"), std::string::npos) << plain;
#endif

    request.Headers = {"User-Agent: Mozilla/5.0", "Referer: https://example.com/kj"};
    const std::string given = HttpFetch(request).Body;
    EXPECT_NE(given.find("User-Agent: Mozilla/5.0\r\n"), std::string::npos) << given;
    EXPECT_EQ(given.find("Tovarin"), std::string::npos) << given;
    EXPECT_NE(given.find("Referer: https://example.com/kj\r\n"), std::string::npos) << given;
}

TEST_F(HttpClientTest, RefusesWhatItCannotAsk) {
    struct Case {
        std::string url;
        std::vector<std::string> headers;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"ftp://127.0.0.1/h.txt",
         {},
         "地址有误（应以 http:// 或 https:// 开头）：ftp://127.0.0.1/h.txt"},
        {"http://", {}, "地址有误（应以 http:// 或 https:// 开头）：http://"},
        {"https:///h.txt", {}, "地址有误（应以 http:// 或 https:// 开头）：https:///h.txt"},
        {"http://a b/", {}, "地址有误（应以 http:// 或 https:// 开头）：http://a b/"},
        {"http://127.0.0.1/",
         {"X-A: 1\r\nHost: evil"},
         "请求头有误（应为“名称: 值”）：X-A: 1\r\nHost: evil"},
        {"http://127.0.0.1/", {"Referer"}, "请求头有误（应为“名称: 值”）：Referer"},
        {"http://127.0.0.1/", {"Bad Name: 1"}, "请求头有误（应为“名称: 值”）：Bad Name: 1"},
    };
    for (const Case& c : cases) {
        THttpRequest request;
        request.Url = c.url;
        request.Headers = c.headers;
        const EFetchError error = ErrorOf(request);
        EXPECT_EQ(error.kind(), Kind::Request) << c.url;
        EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_TRUE(IsValidHeaderLine("Referer: https://x/?a=1&b=2"));
    EXPECT_TRUE(IsValidHeaderLine("X-Empty:"));
}

TEST_F(HttpClientTest, FailuresOfTheServerAndTheConnection) {
    const AnswerServer& server = *server_;
    const EFetchError missing = ErrorOf(Request(server, "/missing"));
    EXPECT_EQ(missing.kind(), Kind::Status);
    EXPECT_STREQ(missing.what(), "服务器回答 HTTP 404");

    THttpRequest nobody;
    nobody.Url = "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/h.txt";
    const EFetchError refused = ErrorOf(nobody);
    EXPECT_EQ(refused.kind(), Kind::Connect);
    EXPECT_EQ(std::string(refused.what()).rfind("无法连接服务器：", 0), 0u) << refused.what();
}

TEST_F(HttpClientTest, StopsReadingAtTheBound) {
    const AnswerServer& server = *server_;
    for (const char* path : {"/endless", "/big"}) {
        THttpRequest request = Request(server, path);
        request.MaxBytes = path == std::string("/big") ? 4095 : size_t{1} << 20;
        size_t largest = 0;
        request.OnProgress = [&largest](size_t received) { largest = received; };
        const EFetchError error = ErrorOf(request);
        EXPECT_EQ(error.kind(), Kind::TooLarge) << path;
        EXPECT_STREQ(error.what(), "应答超过 64 MB");
        EXPECT_LE(largest, request.MaxBytes);
    }
    THttpRequest exact = Request(server, "/big");
    exact.MaxBytes = 4096;
    EXPECT_EQ(HttpFetch(exact).Body.size(), 4096u);
}

TEST_F(HttpClientTest, ATricklingAnswerEndsAtTheDeadline) {
    const AnswerServer& server = *server_;
    THttpRequest request = Request(server, "/trickle");
    request.TimeoutMs = 1000;
    const auto start = std::chrono::steady_clock::now();
    const EFetchError error = ErrorOf(request);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(error.kind(), Kind::Timeout);
    EXPECT_STREQ(error.what(), "超过 1 秒仍未完成");
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::milliseconds(4000));
}

TEST_F(HttpClientTest, AnotherThreadCancels) {
    const AnswerServer& server = *server_;
    TFetchCancel cancel;
    THttpRequest request = Request(server, "/trickle");
    request.Cancel = &cancel;
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancel.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    const EFetchError error = ErrorOf(request);
    canceller.join();
    EXPECT_EQ(error.kind(), Kind::Cancelled);
    EXPECT_STREQ(error.what(), "已取消");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(cancel.WaitMs(0));
}

TEST_F(HttpClientTest, HttpsTrustsAnExtraAuthorityOnlyWhenGiven) {
    test::TempDir dir;
    WriteTestFile(dir.File("h.txt"), kHistory);
    WriteTestFile(dir.File("routes.json"), R"({"/gzip": {"file": "h.txt", "encoding": "gzip"}})");
    const AnswerServer server(dir.Path(), true);
    ASSERT_EQ(server.BaseAddress().rfind("https://127.0.0.1:", 0), 0u);
    THttpRequest request = Request(server, "/gzip");
    const EFetchError refused = ErrorOf(request);
    EXPECT_EQ(refused.kind(), Kind::Certificate) << refused.what();
    EXPECT_EQ(std::string(refused.what()).rfind("服务器的证书不可信：", 0), 0u) << refused.what();

    request.CaFile = server.CaFile();
#ifdef _WIN32
    // Wine's check of a certificate's names does not match an IP address;
    // the certificate names localhost as well.
    request.Url.replace(request.Url.find("127.0.0.1"), 9, "localhost");
#endif
    EXPECT_EQ(HttpFetch(request).Body, kHistory);

    // An authority that did not sign the server's certificate adds no trust.
    test::TempDir otherDir;
    WriteTestFile(otherDir.File("routes.json"), "{}");
    const AnswerServer other(otherDir.Path(), true);
    request.CaFile = other.CaFile();
    EXPECT_EQ(ErrorOf(request).kind(), Kind::Certificate);

    for (const std::string& unusable : {dir.File("h.txt"), dir.File("none.pem")}) {
        request.CaFile = unusable;
        const EFetchError error = ErrorOf(request);
        EXPECT_EQ(error.kind(), Kind::Request) << error.what();
        EXPECT_EQ(std::string(error.what()).rfind("证书文件无法使用：" + unusable, 0), 0u)
            << error.what();
    }
}

// Sets an environment variable for the test's duration.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) { Set(value.c_str()); }
    ~ScopedEnv() { Set(nullptr); }

private:
    void Set(const char* value) {
#ifdef _WIN32
        _putenv_s(name_, value == nullptr ? "" : value);
#else
        value == nullptr ? unsetenv(name_) : setenv(name_, value, 1);
#endif
    }
    const char* name_;
};

TEST_F(HttpClientTest, GoesThroughTheProxyTheEnvironmentNames) {
    const AnswerServer& proxy = *server_;
    const ScopedEnv env("http_proxy", proxy.BaseAddress());
    THttpRequest request;
    request.Url = "http://draws.example.invalid/echo?page=1";
    const std::string echoed = HttpFetch(request).Body;
    // WinHTTP names the port as well.
    EXPECT_TRUE(echoed.starts_with("GET http://draws.example.invalid/echo?page=1 HTTP/1.1\r\n") ||
                echoed.starts_with("GET http://draws.example.invalid:80/echo?page=1 HTTP/1.1\r\n"))
        << echoed;
}

}  // namespace
}  // namespace tovarin
