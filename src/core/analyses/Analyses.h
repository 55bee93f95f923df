#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/engine/Code.h"

namespace tovarin {

class TSeqPrj;
struct TAppOptions;
struct TPrjOptions;

// The analyses of one project's last run. Each report is the whole list of
// lines the output area receives, header line first.
enum class TAnalysisKind {
    Double,    // 重对区分
    Single,    // 单双区分
    Head,      // 头数区分
    SmallBig,  // 大小区分
    MissStat,  // 容错统计
    MissView,  // 容错透视
    BaseCode,  // 基础号码
};

std::vector<std::string> BuildAnalysis(TAnalysisKind kind, const TSeqPrj& project,
                                       const TAppOptions& settings);

// The builders behind BuildAnalysis. The group sets are made for the
// project's settings record; result is the project's ResultCodes.
std::vector<std::string> DoubleReport(const TCodes& result, const TPrjOptions& options,
                                      const TAppOptions& settings);
std::vector<std::string> SingleReport(const TCodes& result, const TPrjOptions& options,
                                      const TAppOptions& settings);
std::vector<std::string> HeadReport(const TCodes& result, const TPrjOptions& options,
                                    const TAppOptions& settings);
std::vector<std::string> SmallBigReport(const TCodes& result, const TPrjOptions& options,
                                        const TAppOptions& settings);
// One group per error value -1..checkedCount.
std::vector<std::string> MissStatReport(const TCodes& result, const TPrjOptions& options,
                                        int checkedCount, const TAppOptions& settings);
std::vector<std::string> MissViewReport(const TCodes& result, const TAppOptions& settings);
std::vector<std::string> BaseCodeReport(const TCodes& base, const TAppOptions& settings);

// Every code with its error value ("0xx0:F ", "0xx1:2 "), ColsOfLineEd
// entries to a line, then an empty line; valid or not, every code is
// written.
void ListCodeMisses(std::vector<std::string>& lines, const TCodes& codes,
                    const TAppOptions& settings);

// 横向比较: runs CalcAll on every project without an output area, in the
// order given, then compares their results. An error of a run propagates
// before any line is made.
std::vector<std::string> ContrastReport(const std::vector<TSeqPrj*>& projects,
                                        const TAppOptions& settings);

// 开奖核对. The winning code's text (3xx7 for the draw 3 1 5 7 ...), or
// empty text when the target draw is not in the table yet.
std::string WinningCodeText(const TSeqPrj& project);
// What the verification says when the target draw is missing.
std::string MissingDrawMessage(const TSeqPrj& project);

// Where MarkWinningCode colours: the start of every occurrence of code in
// text, letter case ignored, each search continuing after the end of the
// previous hit. Positions count the text's units (UTF-8 bytes or UTF-16
// units); code is ASCII.
std::vector<size_t> FindWinningCode(std::string_view text, std::string_view code);
std::vector<size_t> FindWinningCode(std::u16string_view text, std::string_view code);

}  // namespace tovarin
