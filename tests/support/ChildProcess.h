#pragma once

#include <csignal>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tovarin::test {

// How a child process ended.
struct ChildEnd {
    int status = -1;  // exit status, or -1 when a signal ended it
    int signal = 0;   // the signal that ended it, or 0
};

// Runs the body in a forked child, so that signals, limits and identities
// it sets stay there; a body that hangs is ended by SIGALRM after the
// given seconds. started (when given) runs in the parent with the child's
// id while the child runs, for instance to signal it.
inline ChildEnd RunInChild(const std::function<int()>& body, unsigned seconds = 20,
                           const std::function<void(pid_t)>& started = {}) {
    ChildEnd end;
    const pid_t child = fork();
    if (child < 0) {
        return end;
    }
    if (child == 0) {
        alarm(seconds);
        _exit(body());
    }
    if (started) {
        started(child);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return end;
    }
    if (WIFEXITED(status)) {
        end.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        end.signal = WTERMSIG(status);
    }
    return end;
}

}  // namespace tovarin::test
