#pragma once

#include <string>
#include <vector>

namespace tovarin {

// The documents opened or saved last, newest first, for the 文件 menu's
// 最近打开的文档. They are kept in a file of their own beside the settings
// file, one full path a line in UTF-8, so that the settings file's keys stay
// exactly as they are.
class TRecentDocs {
public:
    static constexpr size_t kMaxCount = 8;

    // Puts the path first; an earlier entry of it goes, and the oldest
    // beyond eight drop off. Empty paths are ignored.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Items() const { return items_; }

    // A missing, oversized or unreadable file gives an empty list; lines
    // that are not absolute paths, or hold control characters, are skipped.
    // No more than the bound is read: a larger file is ignored, and warning
    // (when given) says so in one line.
    static TRecentDocs Load(const std::string& fileName, std::string* warning = nullptr);
    // Writes the list atomically; EInOutError when it cannot.
    void Save(const std::string& fileName) const;

private:
    std::vector<std::string> items_;
};

// The list's file in a work folder.
std::string RecentDocsFilePath(const std::string& folder);

}  // namespace tovarin
