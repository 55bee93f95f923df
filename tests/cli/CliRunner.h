#pragma once

#include <string>
#include <vector>

namespace tovarin::test {

struct CliResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs the real tovarin-cli with these arguments (no shell involved) and
// collects its exit status, standard output and standard error.
CliResult RunCli(const std::vector<std::string>& args, const std::string& input = {});

#ifndef _WIN32
// The same with standard output going to the given file, a device such as
// /dev/full among them; out stays empty.
CliResult RunCliInto(const std::vector<std::string>& args, const std::string& outPath);
#endif

}  // namespace tovarin::test
