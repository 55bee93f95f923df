#include "core/base/Console.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tovarin {

// The words arrive as the bytes the caller gave, which are UTF-8 on the
// systems the program runs on.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// POSIX streams are binary already, and terminals take the bytes as they are.
void UseBinaryUtf8Streams() {}

std::optional<std::string> WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t wrote = write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return std::strerror(wrote < 0 ? errno : ENOSPC);
        }
        bytes.remove_prefix(static_cast<size_t>(wrote));
    }
    return std::nullopt;
}

}  // namespace tovarin
