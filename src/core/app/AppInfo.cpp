#include "core/app/AppInfo.h"

#include "core/base/DateTime.h"
#include "core/base/Text.h"
#include "core/base/Version.h"

namespace tovarin {

const char* const kSiteName = "Tovarin项目主页";

namespace {

// The caption's closing words; the program states what it is for.
constexpr const char* kCaptionTail = "头尾码筛选工具";
constexpr const char* kUntitledName = "未命名";

}  // namespace

TAppInfoRec MakeAppInfo(const std::string& appDir) {
    TAppInfoRec info;
    info.WebAddress = "https://tovarin.example.org/";
    info.VersionText = kVersionText;
    info.ProductName = kProductName;
    info.AppDir = appDir;
    while (info.AppDir.size() > 1 && info.AppDir.back() == '/') {
        info.AppDir.pop_back();
    }
    info.DocModified = false;
    info.DocExt = ".lvrn";
    info.DocTitle = info.ProductName + "文档";
    return info;
}

std::string DocDisplayName(const std::string& docFileName) {
    if (docFileName.empty()) {
        return kUntitledName;
    }
    return docFileName.substr(docFileName.find_last_of('/') + 1);
}

std::string CaptionText(const TAppInfoRec& info, bool modified, const std::string& gameTag) {
    return info.ProductName + " v" + info.VersionText + " - " + DocDisplayName(info.DocFileName) +
           (modified ? "*" : "") + gameTag + " - " + kSiteName + " " + info.WebAddress + " - " +
           kCaptionTail;
}

std::string PrintJobTitle(const TAppInfoRec& info, std::time_t moment) {
    return info.ProductName + "成果打印 " + DateText(moment);
}

std::string FilterResultText(int validCount) {
    return "筛选结果为" + IntToStr(validCount) + "个号码";
}

std::string AutoOpenFailedText(const std::string& fileName) {
    return "自动打开文档失败：\r\n" + fileName;
}

const char* ModifiedStateText(bool modified) { return modified ? "已修改" : "未修改"; }

}  // namespace tovarin
