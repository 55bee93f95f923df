#include "cli/CliRunner.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/base/FileIO.h"

extern char** environ;

namespace tovarin::test {
namespace {

std::string TempFile(const char* tag) {
    std::string pattern = std::string("/tmp/tovarin-cli-") + tag + "-XXXXXX";
    const int fd = mkstemp(pattern.data());
    close(fd);
    return pattern;
}

// Runs the program with standard output going to outPath.
CliResult Run(const std::vector<std::string>& args, const std::string& input,
              const std::string& outPath) {
    const std::string inPath = TempFile("in");
    const std::string errPath = TempFile("err");
    WriteFileAtomically(inPath, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_TRUNC, 0);

    std::vector<std::string> words = {TOVARIN_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    CliResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, TOVARIN_CLI, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.err = ReadWholeFile(errPath);
    for (const std::string& path : {inPath, errPath}) {
        unlink(path.c_str());
    }
    return result;
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& input) {
    const std::string outPath = TempFile("out");
    CliResult result = Run(args, input, outPath);
    result.out = ReadWholeFile(outPath);
    unlink(outPath.c_str());
    return result;
}

CliResult RunCliInto(const std::vector<std::string>& args, const std::string& outPath) {
    return Run(args, {}, outPath);
}

}  // namespace tovarin::test
