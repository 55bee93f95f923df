#pragma once

#include <string>
#include <vector>

namespace tovarin::test {

// What DrawServer's two ways of starting the server share.
std::string ServerScript();
// The server's arguments after its script: the history, a free port, the options.
std::vector<std::string> ServerWords(const std::string& history,
                                     const std::vector<std::string>& options);

}  // namespace tovarin::test
