#include <unistd.h>

#include <csignal>

#include "core/base/FileIO.h"
#include "core/base/TempFiles.h"

namespace tovarin {
namespace {

void Unlink(const char* path) { unlink(path); }

extern "C" void RemoveTemporariesAndEnd(int signal) {
    RemoveHeldTemporaries(Unlink);
    // The handler was reset on entry: the signal, delivered again when the
    // handler returns, ends the process as it would have.
    raise(signal);
}

void RemoveTemporariesOn(int signal) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(signal, &action, nullptr);
}

}  // namespace

void PrepareProcessForFileWrites() {
    std::signal(SIGXFSZ, SIG_IGN);
    // Each of these ends the process by default: a closed terminal, Ctrl+C,
    // Ctrl+\ and kill alike.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        RemoveTemporariesOn(signal);
    }
}

}  // namespace tovarin
