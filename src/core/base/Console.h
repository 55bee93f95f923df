#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovarin {

// A command-line program's words after its own name, in UTF-8 whatever
// code page the system hands them over in.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard input, output and error pass bytes unchanged (no CR added before
// line ends) and a console shows the UTF-8 the program writes.
void UseBinaryUtf8Streams();

// Writes every byte to standard output, past the C library's buffers;
// the system's reason when it could not ("No space left on device").
std::optional<std::string> WriteStandardOutput(std::string_view bytes);

}  // namespace tovarin
