#include "dialogs/AppOptions.h"

#include "base/Text.h"

namespace tovarin {
std::string DescribeAppOptions(const TAppOptions& o) {
    std::string text = "程序选项设置：\r\n显示每步的结果:";
    text += YesNoText(o.DetailEveryChk);
    text += std::string(";显示最后一步的结果:") + YesNoText(o.DetailLastChk);
    text += std::string(";更后自动计算:") + YesNoText(o.AutoCalcChk);
    text += ";每行输出" + std::to_string(o.ColsOfLineEd) + "个号码";
    text += std::string(";输出方案的设置:") + YesNoText(o.OutPutPrjOptChk);
    text += std::string(";输出选项的设置:") + YesNoText(o.OutPutAppOptChk);
    text += std::string(";自动核对中奖:") + YesNoText(o.AutoVerifyChk);
    text += "。";
    return text;
}

}  // namespace tovarin
