#include "core/app/RecentDocs.h"

#include <algorithm>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"

namespace tovarin {
namespace {

// Eight paths of PATH_MAX bytes fit with room to spare.
constexpr size_t kMaxListBytes = size_t{64} * 1024;

bool IsStorablePath(const std::string& line) {
    return IsAbsolutePath(line) && std::none_of(line.begin(), line.end(), [](char c) {
               return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
           });
}

}  // namespace

void TRecentDocs::Add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    Remove(path);
    items_.insert(items_.begin(), path);
    if (items_.size() > kMaxCount) {
        items_.resize(kMaxCount);
    }
}

void TRecentDocs::Remove(const std::string& path) { std::erase(items_, path); }

TRecentDocs TRecentDocs::Load(const std::string& fileName, std::string* warning) {
    TRecentDocs recent;
    // The reader refuses what is not a regular file (a FIFO would never end);
    // a list that cannot be read or is far too long for eight paths is ignored.
    if (!FileExists(fileName)) {
        return recent;
    }
    std::string bytes;
    try {
        // One byte past the bound tells a longer file without reading it.
        bytes = ReadFileHead(fileName, kMaxListBytes + 1);
    } catch (const EInOutError&) {
        return recent;
    }
    if (bytes.size() > kMaxListBytes) {
        if (warning != nullptr) {
            *warning = "最近打开的文档列表 " + fileName + " 大于 " +
                       std::to_string(kMaxListBytes >> 10) + " KB，已忽略";
        }
        return recent;
    }
    std::vector<std::string> lines;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string line = bytes.substr(start, end - start);
        // A list edited on Windows reads as well.
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    // Added oldest first, so that the file's first line ends up first.
    std::reverse(lines.begin(), lines.end());
    for (const std::string& line : lines) {
        if (IsStorablePath(line)) {
            recent.Add(line);
        }
    }
    return recent;
}

void TRecentDocs::Save(const std::string& fileName) const {
    std::string text;
    for (const std::string& path : items_) {
        if (IsStorablePath(path)) {
            text += path + "\n";
        }
    }
    WriteFileAtomically(fileName, text);
}

std::string RecentDocsFilePath(const std::string& folder) {
    return folder + "/" + "ormelux-recent.txt";
}

}  // namespace tovarin
