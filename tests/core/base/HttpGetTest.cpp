#include "core/base/HttpGet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/base/Codec.h"
#include "support/DownloadServer.h"
#include "support/Loopback.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::DrawServer;

// Accepts one connection, reads the request, sends these bytes and closes.
class CannedServer {
public:
    explicit CannedServer(std::string answer)
        : answer_(std::move(answer)), thread_([this] { Serve(); }) {}
    ~CannedServer() { thread_.join(); }
    std::string Url() const {
        return "http://127.0.0.1:" + std::to_string(listener_.Port()) + "/d?a=1";
    }
    const std::string& Request() const { return request_; }

private:
    void Serve() {
        test::LoopbackSocket connection = listener_.Accept();
        while (request_.find("\r\n\r\n") == std::string::npos) {
            const std::string bytes = connection.ReceiveSome();
            if (bytes.empty()) {
                break;
            }
            request_ += bytes;
        }
        connection.SendAll(answer_);
    }

    test::LoopbackListener listener_;
    std::string answer_;
    std::string request_;
    std::thread thread_;
};

EHttpError::Kind KindOf(const std::string& url, int timeoutMs = 30000) {
    try {
        HttpGet(url, timeoutMs);
    } catch (const EHttpError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "no error for " << url;
    return EHttpError::Kind::Connect;
}

TEST(HttpGetTest, SendsAnHttp10RequestAndReturnsTheBody) {
    CannedServer server("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nline 1\r\nline 2\r\n");
    EXPECT_EQ(HttpGet(server.Url()), "line 1\r\nline 2\r\n");
    EXPECT_EQ(server.Request().rfind("GET /d?a=1 HTTP/1.0\r\n", 0), 0u) << server.Request();
    EXPECT_NE(server.Request().find("\r\nHost: 127.0.0.1:"), std::string::npos);
}

TEST(HttpGetTest, StopsAtContentLength) {
    CannedServer server("HTTP/1.1 200 OK\r\ncontent-length: 3\r\n\r\nabcdef");
    EXPECT_EQ(HttpGet(server.Url()), "abc");
}

TEST(HttpGetTest, AShortBodyIsAnError) {
    CannedServer server("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc");
    EXPECT_EQ(KindOf(server.Url()), EHttpError::Kind::Status);
}

TEST(HttpGetTest, ChecksTheStatusLine) {
    for (const std::string& answer :
         {std::string("HTTP/1.0 500 Internal Server Error\r\n\r\nbody"),
          std::string("HTTP/1.0 2000 OK\r\n\r\nbody"), std::string("ICY 200 OK\r\n\r\nbody"),
          std::string("HTTP/1.0 404 Not Found\r\n\r\n"), std::string("HTTP/1.0 200 OK\r\n"),
          std::string()}) {
        CannedServer server(answer);
        EXPECT_EQ(KindOf(server.Url()), EHttpError::Kind::Status) << answer;
    }
}

TEST(HttpGetTest, ReadsTheReferenceServerWithAndWithoutLength) {
    test::TempDir dir;
    const std::string history = test::WriteTestFile(dir.File("h.txt"), ";x\r\n1234567\r\n");
    const std::string query = "?soft=ORMELUX&softid=34&ver=1.08&mName=&mPw=";
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, std::vector<std::string>{"--no-length"}}) {
        DrawServer server(history, options);
        EXPECT_EQ(GbkToUtf8(HttpGet(server.BaseAddress() + query)),
                  "成功\r\n2026001#第1期#9279658\r\n");
    }
}

TEST(HttpGetTest, ANotFoundPathIsAStatusError) {
    test::TempDir dir;
    DrawServer server(test::WriteTestFile(dir.File("h.txt"), ""));
    EXPECT_EQ(KindOf(server.BaseAddress() + "/other"), EHttpError::Kind::Status);
}

TEST(HttpGetTest, NobodyListeningIsAConnectError) {
    EXPECT_EQ(KindOf("http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/d"),
              EHttpError::Kind::Connect);
}

TEST(HttpGetTest, ASlowServerTimesOut) {
    test::TempDir dir;
    DrawServer server(test::WriteTestFile(dir.File("h.txt"), "1234567\r\n"), {"--delay", "3"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(KindOf(server.BaseAddress() + "?soft=ORMELUX&softid=34&ver=1.08&mName=&mPw=", 300),
              EHttpError::Kind::Timeout);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// The error of a GET of the reference server, and how long it took.
EHttpError ErrorOfServer(const DrawServer& server, int timeoutMs,
                         std::chrono::steady_clock::duration& took) {
    const auto start = std::chrono::steady_clock::now();
    try {
        HttpGet(server.BaseAddress() + "?soft=ORMELUX&softid=34&ver=1.08&mName=&mPw=", timeoutMs);
    } catch (const EHttpError& error) {
        took = std::chrono::steady_clock::now() - start;
        return error;
    }
    ADD_FAILURE() << "the GET succeeded";
    return EHttpError(EHttpError::Kind::Connect, "");
}

TEST(HttpGetTest, AnAnswerThatNeverEndsIsGivenUpAtTheBound) {
    test::TempDir dir;
    DrawServer server(test::WriteTestFile(dir.File("h.txt"), "1234567\r\n"), {"--endless"});
    std::chrono::steady_clock::duration took{};
    const EHttpError error = ErrorOfServer(server, 60000, took);
    EXPECT_EQ(error.kind(), EHttpError::Kind::Status);
    EXPECT_STREQ(error.what(), "应答超过 64 MB");
    EXPECT_EQ(AnswerTooLongText(), "应答超过 64 MB");
}

TEST(HttpGetTest, AServerThatTricklesIsGivenUpAtTheDeadline) {
    test::TempDir dir;
    DrawServer server(test::WriteTestFile(dir.File("h.txt"), "1234567\r\n"), {"--trickle", "0.2"});
    std::chrono::steady_clock::duration took{};
    const EHttpError error = ErrorOfServer(server, 1500, took);
    EXPECT_EQ(error.kind(), EHttpError::Kind::Timeout);
    EXPECT_STREQ(error.what(), "超过 2 秒仍未完成");
    EXPECT_GE(took, std::chrono::milliseconds(1400));
    // The whole answer would take half a minute, and a deadline per read
    // would never fire; the bound leaves room for a busy machine.
    EXPECT_LT(took, std::chrono::seconds(15)) << "one deadline, not one per read";
}

TEST(HttpGetTest, RefusesAddressesItCannotAsk) {
    for (const std::string& url :
         {std::string("https://127.0.0.1/d"), std::string("ftp://x/"), std::string("http:///d"),
          std::string("http://127.0.0.1:0/"), std::string("http://127.0.0.1:99999/"),
          std::string("http://127.0.0.1:x/")}) {
        EXPECT_EQ(KindOf(url), EHttpError::Kind::Connect) << url;
    }
}

}  // namespace
}  // namespace tovarin
