#include "core/base/ProgramDir.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "core/base/Errors.h"

namespace tovarin {

std::string ProgramDir() {
    // The link's target can be longer than any fixed buffer; grow until the
    // whole name fits.
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) {
            throw EInOutError(std::string("Unable to find the program's folder: ") +
                              std::strerror(errno));
        }
        if (static_cast<size_t>(length) < path.size()) {
            path.resize(static_cast<size_t>(length));
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace tovarin
