#include "support/DownloadServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/DownloadServerWords.h"

namespace tovarin::test {
namespace {

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

TestServer::TestServer(const std::string& script, const std::string& path,
                       const std::vector<std::string>& options) {
    std::vector<std::string> words = ServerWords(path, options);
    words.insert(words.begin(), {"python3", ServerScript(script)});
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = ::fork();
    server_ = pid;
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
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
    if (!IsServerAddress(baseAddress_)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        throw std::runtime_error("the test server did not start: " + ServerScript(script));
    }
}

TestServer::~TestServer() {
    ::kill(static_cast<pid_t>(server_), SIGTERM);
    ::waitpid(static_cast<pid_t>(server_), nullptr, 0);
}

}  // namespace tovarin::test
