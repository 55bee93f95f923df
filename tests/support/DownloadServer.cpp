#include "support/DownloadServer.h"

#include <fstream>

#include "support/DownloadServerWords.h"
#include "support/Loopback.h"
#include "support/TempDir.h"

namespace tovarin::test {

std::string ServerScript(const std::string& script) {
    return std::string(TOVARIN_TEST_DATA) + "/../../" + script;
}

std::vector<std::string> ServerWords(const std::string& path,
                                     const std::vector<std::string>& options) {
    std::vector<std::string> words = {path, "--port", "0"};
    words.insert(words.end(), options.begin(), options.end());
    return words;
}

bool IsServerAddress(const std::string& line) {
    return line.rfind("http://127.0.0.1:", 0) == 0 || line.rfind("https://127.0.0.1:", 0) == 0;
}

int UnusedLoopbackPort() { return LoopbackListener().Port(); }

std::string WriteTestFile(const std::string& path, const std::string& bytes) {
    std::ofstream(FsPath(path), std::ios::binary) << bytes;
    return path;
}

}  // namespace tovarin::test
