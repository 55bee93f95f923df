#pragma once

#include <cstdint>
#include <string>

namespace tovarin {

// The program's own settings; each field is named by its key in the
// settings file. Copied by value wherever it is handed on.
struct TAppOptions {
    std::string userName;
    std::string userPW;
    bool OpenLastChk = false;
    std::string LastDoc = "工作文档.lvrn";
    bool AutoSaveChk = false;
    int32_t AutoSaveEd = 5;
    bool DetailEveryChk = false;
    bool DetailLastChk = true;
    bool SplitByLineChk = false;
    uint8_t ViewStyle = 0;
    bool AutoCalcChk = false;
    bool AutoVerifyChk = true;
    bool OutPutPrjOptChk = false;
    bool OutPutAppOptChk = false;
    int32_t ColsOfLineEd = 10;
};

// The summary of these settings a filtering report can carry.
std::string DescribeAppOptions(const TAppOptions& options);

}  // namespace tovarin
