#include "core/base/Console.h"

namespace tovarin {

// The words arrive as the bytes the caller gave, which are UTF-8 on the
// systems the program runs on.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// POSIX streams are binary already, and terminals take the bytes as they are.
void UseBinaryUtf8Streams() {}

}  // namespace tovarin
