#pragma once

#include <string>
#include <vector>

namespace tovarin {

// A command-line program's words after its own name, in UTF-8 whatever
// code page the system hands them over in.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard input, output and error pass bytes unchanged (no CR added before
// line ends) and a console shows the UTF-8 the program writes.
void UseBinaryUtf8Streams();

}  // namespace tovarin
