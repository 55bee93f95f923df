#include "support/DownloadServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "core/draws/LawNet.h"

namespace tovarin::test {
namespace {

std::string ServerScript() { return std::string(TOVARIN_TEST_DATA) + "/../../tools/draw-server"; }

// The first line the server writes, or an empty text after ten seconds.
std::string ReadFirstLine(int fd) {
    std::string line;
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 10000) <= 0) {
            return {};
        }
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            return {};
        }
        if (c == '\n') {
            return line;
        }
        line += c;
    }
}

}  // namespace

DrawServer::DrawServer(const std::string& history, const std::vector<std::string>& options) {
    std::vector<std::string> words = {"python3", ServerScript(), history, "--port", "0"};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        // A test that crashes must not leave its server behind.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::execvp("python3", argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    baseAddress_ = ReadFirstLine(pipeEnds[0]);
    ::close(pipeEnds[0]);
    if (baseAddress_.rfind("http://127.0.0.1:", 0) != 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        throw std::runtime_error("the draw server did not start: " + ServerScript());
    }
}

DrawServer::~DrawServer() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

int UnusedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

std::string WriteTestFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace tovarin::test
