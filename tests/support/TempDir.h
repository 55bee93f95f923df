#pragma once

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tovarin::test {

// A fresh folder under /tmp, removed with everything in it at the end of
// the test.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/tovarin-test-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        if (DIR* dir = opendir(path_.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") {
                    names.push_back(name);
                }
            }
            closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

}  // namespace tovarin::test
