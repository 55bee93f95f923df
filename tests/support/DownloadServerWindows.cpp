#include <windows.h>

#include <cstdlib>
#include <stdexcept>

#include "core/base/SystemTextWindows.h"
#include "support/DownloadServer.h"
#include "support/DownloadServerWords.h"
#include "support/Loopback.h"

namespace tovarin::test {
namespace {

// The server runs on the Unix side and needs the Unix name of its file;
// Wine's kernel32 gives it. Elsewhere the name stays as it is.
std::string UnixName(const std::string& path) {
    using Convert = char*(CDECL*)(LPCWSTR);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* const unixName = convert != nullptr ? convert(Utf8ToWide(path).c_str()) : nullptr;
    if (unixName == nullptr) {
        return path;
    }
    std::string name(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    return name;
}

}  // namespace

// The host starts a server for each connection that sends its words (each
// ended by a NUL, the list by a line end; the first names the script),
// answers with the server's first line and stops the server when the
// connection closes.
TestServer::TestServer(const std::string& script, const std::string& path,
                       const std::vector<std::string>& options) {
    const char* const hostPort = std::getenv("TOVARIN_DRAW_SERVER_HOST_PORT");
    if (hostPort == nullptr) {
        throw std::runtime_error(
            "no draw server host: run the test through tests/support/draw-server-host.py");
    }
    LoopbackSocket host = LoopbackSocket::Connect(std::atoi(hostPort));
    if (!host.Valid()) {
        throw std::runtime_error(std::string("the draw server host does not answer on port ") +
                                 hostPort);
    }
    std::string request = "--script=" + script + '\0';
    for (const std::string& word : ServerWords(UnixName(path), options)) {
        request += word;
        request += '\0';
    }
    host.SendAll(request + "\n");
    std::string answer;
    while (answer.find('\n') == std::string::npos) {
        const std::string bytes = host.ReceiveSome();
        if (bytes.empty()) {
            break;
        }
        answer += bytes;
    }
    baseAddress_ = answer.substr(0, answer.find('\n'));
    if (!IsServerAddress(baseAddress_)) {
        throw std::runtime_error("the test server did not start: " + ServerScript(script));
    }
    server_ = host.Release();
}

TestServer::~TestServer() { LoopbackSocket closing(server_); }

}  // namespace tovarin::test
