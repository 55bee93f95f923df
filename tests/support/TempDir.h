#pragma once

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tovarin::test {

// Paths are UTF-8 in the program; std::filesystem takes them as such only
// through char8_t (a plain string is the ANSI code page on Windows).
inline std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A fresh folder in the system's temporary folder, removed with everything
// in it at the end of the test.
class TempDir {
public:
    TempDir() {
        std::random_device seed;
        std::mt19937 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (;;) {
            const std::filesystem::path candidate =
                base / ("tovarin-test-" + std::to_string(random() % 1000000000));
            if (std::filesystem::create_directory(candidate)) {
                path_ = Utf8Path(candidate);
                return;
            }
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FsPath(path_), ignored);
    }

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(FsPath(path_))) {
            names.push_back(Utf8Path(entry.path().filename()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

}  // namespace tovarin::test
