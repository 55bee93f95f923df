#pragma once

#include <map>
#include <string>

namespace tovarin {

// The program's settings that the settings file's fixed keys have no room
// for, kept in a file of their own beside it: "key=value" lines in UTF-8.
// Keys this version does not know are kept and written back.
class TOwnOptions {
public:
    // 筛选后自动记录预测: a filtering run is recorded in the ledger.
    static constexpr const char* kAutoRecord = "AutoRecordPrediction";

    bool Flag(const std::string& key) const;
    void SetFlag(const std::string& key, bool on);

    // A missing, oversized or unreadable file gives no keys; lines without
    // "=" are skipped.
    static TOwnOptions Load(const std::string& fileName);
    // Writes the keys atomically; EInOutError when it cannot.
    void Save(const std::string& fileName) const;

private:
    std::map<std::string, std::string> values_;
};

// The file in a work folder.
std::string OwnOptionsFilePath(const std::string& folder);

}  // namespace tovarin
