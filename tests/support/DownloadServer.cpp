#include "support/DownloadServer.h"

#include <fstream>

#include "support/DownloadServerWords.h"
#include "support/Loopback.h"
#include "support/TempDir.h"

namespace tovarin::test {

std::string ServerScript() { return std::string(TOVARIN_TEST_DATA) + "/../../tools/draw-server"; }

std::vector<std::string> ServerWords(const std::string& history,
                                     const std::vector<std::string>& options) {
    std::vector<std::string> words = {history, "--port", "0"};
    words.insert(words.end(), options.begin(), options.end());
    return words;
}

int UnusedLoopbackPort() { return LoopbackListener().Port(); }

std::string WriteTestFile(const std::string& path, const std::string& bytes) {
    std::ofstream(FsPath(path), std::ios::binary) << bytes;
    return path;
}

}  // namespace tovarin::test
