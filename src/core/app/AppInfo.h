#pragma once

#include <ctime>
#include <string>

namespace tovarin {

// The application's identity and the state of the open document.
struct TAppInfoRec {
    std::string WebAddress;
    std::string VersionText;
    std::string ProductName;
    std::string AppDir;  // without a trailing separator
    bool DocModified = false;
    std::string DocFileName;  // empty while the document has no file
    std::string DocExt;
    std::string DocTitle;
};

// The record as start-up fills it for a program folder.
TAppInfoRec MakeAppInfo(const std::string& appDir);

// The publisher's site name that the caption and the download hint name.
extern const char* const kSiteName;

// "Tovarin v1.08 - ", the document's file name without its folder (or
// "未命名" while it has none) with "*" while it is modified, the game's tag
// (" [七星彩]", empty for the seven digits), then " - ", the site name and
// address, " - " and the closing text.
std::string CaptionText(const TAppInfoRec& info, bool modified, const std::string& gameTag = {});

// The name the caption and the recent-documents menu show for a document.
std::string DocDisplayName(const std::string& docFileName);

// The print job's title: product name, "成果打印 " and the date in the
// process-wide short date format.
std::string PrintJobTitle(const TAppInfoRec& info, std::time_t moment);

// The third status panel after a filtering run.
std::string FilterResultText(int validCount);

// What start-up shows when the working document cannot be opened.
std::string AutoOpenFailedText(const std::string& fileName);

// The second status panel: the document's modified state.
const char* ModifiedStateText(bool modified);

inline constexpr const char* kSaveQuestion = "保存已经修改的文档?";
inline constexpr const char* kSaveQuestionTitle = "保存提示";
inline constexpr const char* kOpenErrorText = "打开文件时出现错误！";
inline constexpr const char* kSaveErrorText = "保存文件时出现错误！";
inline constexpr const char* kSelectPrjText = "请选择一个方案";
inline constexpr const char* kSavingText = "正在保存文档...";
inline constexpr const char* kSavedText = "保存文档完毕";

}  // namespace tovarin
