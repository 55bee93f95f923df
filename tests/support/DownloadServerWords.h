#pragma once

#include <string>
#include <vector>

namespace tovarin::test {

// What TestServer's two ways of starting a server share.
// The script's full path from its path in the project.
std::string ServerScript(const std::string& script);
// The server's arguments after its script: its file or folder, a free
// port, the options.
std::vector<std::string> ServerWords(const std::string& path,
                                     const std::vector<std::string>& options);
// Whether a server's first line is the address it serves.
bool IsServerAddress(const std::string& line);

}  // namespace tovarin::test
