#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tovarin::test {

// Runs the body in a forked child whose files cannot grow past the limit,
// the way a full disk or a quota stops a write in life (tests run as root,
// so permission bits prove nothing). SIGXFSZ is ignored, so a write past the
// limit fails with EFBIG instead of killing the child. Returns the body's
// result as the child's exit status, or -1 when the child did not exit.
inline int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit bound{limit, limit};
        setrlimit(RLIMIT_FSIZE, &bound);
        _exit(body());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace tovarin::test
