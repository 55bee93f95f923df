#include "core/analyses/Analyses.h"

#include <functional>
#include <stdexcept>
#include <type_traits>

#include "core/base/DateTime.h"
#include "core/base/Text.h"
#include "core/engine/Prj.h"
#include "core/engine/PrjOptions.h"
#include "core/settings/AppOptions.h"

namespace tovarin {
namespace {

const char* const kMissLegend =
    "号码的错误值的含义：F:被铁定条件否定 1-N:没有通过的容错条件的数目 0:完全符合所有条件的要求";

int Head(TCode code) { return code / 10; }
int Tail(TCode code) { return code % 10; }
bool IsOdd(int digit) { return digit % 2 == 1; }

// The date-time text as the filtering run writes it in its header; the
// analyses do not set the date format themselves.
std::string HeaderLine(const char* title) {
    return std::string("Tovarin ") + title + "，时间:" + DateTimeText(Now());
}

// Makes a fresh group set hold exactly the codes that belong to the group.
void FillGroup(TCodes& group, const std::function<bool(TCode)>& belongs) {
    group.FailAll();
    for (TCode code = group.Count() - 1; code >= 0; --code) {
        if (belongs(code)) {
            group.ResetCode(code);
        }
    }
}

void AddGroup(std::vector<std::string>& lines, const std::string& lineStart, const TCodes& group,
              const TAppOptions& settings) {
    lines.push_back(lineStart + IntToStr(group.ValidCount()) + "个：");
    ListCodes(lines, group, settings);
}

// One group of a split analysis: its line start, which valid results it
// takes, and whether a separator closes it.
struct SplitGroup {
    std::string lineStart;
    std::function<bool(TCode)> belongs;
    bool separatorAfter;
};

std::vector<std::string> SplitReport(const char* title, const char* description,
                                     const std::vector<SplitGroup>& groups, const TCodes& result,
                                     const TPrjOptions& options, const TAppOptions& settings) {
    std::vector<std::string> lines = {
        HeaderLine(title),
        "",
        description,
        "",
        "本方案的结果码集总共有" + IntToStr(result.ValidCount()) + "个合格号码",
        "",
        kSeparatorLine,
    };
    for (const SplitGroup& split : groups) {
        TCodes group(options);
        FillGroup(group, [&](TCode code) { return result.GetValid(code) && split.belongs(code); });
        AddGroup(lines, split.lineStart, group, settings);
        if (split.separatorAfter) {
            lines.push_back(kSeparatorLine);
        }
    }
    return lines;
}

// The preamble of the two error-value analyses.
std::vector<std::string> MissPreamble(const char* title, const TCodes& result) {
    return {
        HeaderLine(title),
        "",
        kMissLegend,
        "",
        "本方案的结果码集总共有" + IntToStr(result.Count()) + "个号码",
        "",
    };
}

template <typename Char>
std::vector<size_t> FindCaseless(std::basic_string_view<Char> text, std::string_view code) {
    const auto lower = [](char32_t c) -> char32_t { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    const auto matchesAt = [&](size_t at) {
        for (size_t i = 0; i < code.size(); ++i) {
            if (lower(static_cast<std::make_unsigned_t<Char>>(text[at + i])) !=
                lower(static_cast<unsigned char>(code[i]))) {
                return false;
            }
        }
        return true;
    };
    std::vector<size_t> hits;
    if (code.empty()) {
        return hits;
    }
    size_t from = 0;
    while (from + code.size() <= text.size()) {
        size_t hit = from;
        while (hit + code.size() <= text.size() && !matchesAt(hit)) {
            ++hit;
        }
        if (hit + code.size() > text.size()) {
            break;
        }
        hits.push_back(hit);
        from = hit + code.size();
    }
    return hits;
}

}  // namespace

std::vector<std::string> DoubleReport(const TCodes& result, const TPrjOptions& options,
                                      const TAppOptions& settings) {
    const auto pair = [](TCode code) {
        const int difference = Head(code) - Tail(code);
        return difference == 5 || difference == -5;
    };
    const auto neighbour = [](TCode code) {
        const int difference = Head(code) - Tail(code);
        return difference == 1 || difference == -1;
    };
    return SplitReport(
        "重对区分", "重对区分:对结果码集的号码按照重码、非重码、对数、非对数、邻数、非邻数进行区分",
        {
            {"其中双重码总共", [](TCode code) { return Head(code) == Tail(code); }, false},
            {"其中非重码总共", [](TCode code) { return Head(code) != Tail(code); }, true},
            {"其中对数码总共", pair, false},
            {"其中非对码总共", [&](TCode code) { return !pair(code); }, true},
            {"其中邻数码总共", neighbour, false},
            {"其中非邻码总共", [&](TCode code) { return !neighbour(code); }, true},
        },
        result, options, settings);
}

std::vector<std::string> SingleReport(const TCodes& result, const TPrjOptions& options,
                                      const TAppOptions& settings) {
    return SplitReport("单双区分", "单双区分:对结果码集的号码按照头尾的单双进行区分",
                       {
                           {"其中单头码总共", [](TCode code) { return IsOdd(Head(code)); }, false},
                           {"其中双头码总共", [](TCode code) { return !IsOdd(Head(code)); }, true},
                           {"其中单尾码总共", [](TCode code) { return IsOdd(Tail(code)); }, false},
                           {"其中双尾码总共", [](TCode code) { return !IsOdd(Tail(code)); }, true},
                       },
                       result, options, settings);
}

std::vector<std::string> HeadReport(const TCodes& result, const TPrjOptions& options,
                                    const TAppOptions& settings) {
    const int lastHead = options.HeadLimit ? 6 : 9;
    std::vector<SplitGroup> groups;
    for (int head = 0; head <= lastHead; ++head) {
        groups.push_back({"其中头数为" + IntToStr(head) + "的号码总共",
                          [head](TCode code) { return Head(code) == head; }, true});
    }
    return SplitReport("头数区分", "头数区分:对结果码集的号码按照头数的数值进行区分", groups,
                       result, options, settings);
}

// A head is big from 4, a tail from 5.
std::vector<std::string> SmallBigReport(const TCodes& result, const TPrjOptions& options,
                                        const TAppOptions& settings) {
    return SplitReport("大小区分", "大小区分:对结果码集的号码按照头尾的大小进行区分",
                       {
                           {"其中大头码总共", [](TCode code) { return Head(code) >= 4; }, false},
                           {"其中小头码总共", [](TCode code) { return Head(code) <= 3; }, true},
                           {"其中大尾码总共", [](TCode code) { return Tail(code) >= 5; }, false},
                           {"其中小尾码总共", [](TCode code) { return Tail(code) <= 4; }, true},
                       },
                       result, options, settings);
}

// Codes whose error lies above checkedCount belong to no group.
std::vector<std::string> MissStatReport(const TCodes& result, const TPrjOptions& options,
                                        int checkedCount, const TAppOptions& settings) {
    std::vector<std::string> lines = MissPreamble("容错统计", result);
    for (int miss = -1; miss <= checkedCount; ++miss) {
        TCodes group(options);
        FillGroup(group, [&](TCode code) { return result.GetMiss(code) == miss; });
        AddGroup(lines,
                 "错误值为" + (miss == -1 ? std::string("F") : IntToStr(miss)) + "的号码总共",
                 group, settings);
    }
    return lines;
}

std::vector<std::string> MissViewReport(const TCodes& result, const TAppOptions& settings) {
    std::vector<std::string> lines = MissPreamble("容错透视", result);
    ListCodeMisses(lines, result, settings);
    return lines;
}

std::vector<std::string> BaseCodeReport(const TCodes& base, const TAppOptions& settings) {
    std::vector<std::string> lines = {
        HeaderLine("显示基础号码"),
        "",
        "本方案的基础码集总共有" + IntToStr(base.Count()) + "个号码",
        "",
    };
    ListCodes(lines, base, settings);
    return lines;
}

void ListCodeMisses(std::vector<std::string>& lines, const TCodes& codes,
                    const TAppOptions& settings) {
    std::string line;
    for (TCode code = 0; code < codes.Count(); ++code) {
        const int miss = codes.GetMiss(code);
        line += CodeToStr(code);
        line += miss == -1 ? std::string(":F ") : ":" + IntToStr(miss) + " ";
        const int position = code + 1;
        // A width below one keeps everything on one line.
        const bool lineFull = settings.ColsOfLineEd > 0 && position % settings.ColsOfLineEd == 0;
        if (lineFull || position == codes.Count()) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    lines.emplace_back();
}

std::vector<std::string> BuildAnalysis(TAnalysisKind kind, const TSeqPrj& project,
                                       const TAppOptions& settings) {
    const TCodes& result = project.ResultCodes();
    const TPrjOptions& options = project.Options();
    switch (kind) {
        case TAnalysisKind::Double:
            return DoubleReport(result, options, settings);
        case TAnalysisKind::Single:
            return SingleReport(result, options, settings);
        case TAnalysisKind::Head:
            return HeadReport(result, options, settings);
        case TAnalysisKind::SmallBig:
            return SmallBigReport(result, options, settings);
        case TAnalysisKind::MissStat:
            return MissStatReport(result, options, project.CheckedCount(), settings);
        case TAnalysisKind::MissView:
            return MissViewReport(result, settings);
        case TAnalysisKind::BaseCode:
            return BaseCodeReport(project.BaseCodes(), settings);
    }
    throw std::logic_error("BuildAnalysis: unknown kind");
}

std::vector<std::string> ContrastReport(const std::vector<TSeqPrj*>& projects,
                                        const TAppOptions& settings) {
    for (TSeqPrj* project : projects) {
        project->CalcAll(settings, nullptr);
    }
    std::vector<std::string> lines = {
        HeaderLine("横向比较"),
        "",
        "横向比较:对若干个方案的计算结果进行差异比较，并同步输出",
        "",
        "总共" + IntToStr(static_cast<long long>(projects.size())) + "个方案参与比较",
        "",
    };
    for (size_t i = 0; i < projects.size(); ++i) {
        const TSeqPrj& project = *projects[i];
        const std::string number = "方案" + IntToStr(static_cast<long long>(i) + 1);
        lines.push_back(number + "目标期号:" + IntToStr(project.Options().TargetSeq) +
                        "期;全部条件" + IntToStr(project.BindCount()) + "个;勾选条件" +
                        IntToStr(project.CheckedCount()) + "个");
        lines.push_back(number + "的结果码集总共有" + IntToStr(project.ResultCodes().ValidCount()) +
                        "个合格号码:");
        ListCodes(lines, project.ResultCodes(), settings);
        lines.emplace_back();
    }
    if (projects.empty()) {
        return lines;
    }
    TCodes common(projects.front()->Options());
    bool headLimit = false;
    for (const TSeqPrj* project : projects) {
        headLimit = headLimit || project->ResultCodes().HeadLimit();
    }
    common.SetHeadLimit(headLimit);
    common.ResetAll();
    for (const TSeqPrj* project : projects) {
        for (TCode code = 0; code < common.Count(); ++code) {
            if (!project->ResultCodes().GetValid(code)) {
                common.FailCode(code);
            }
        }
    }
    lines.push_back("所有方案的共同码集总共有" + IntToStr(common.ValidCount()) + "个合格号码:");
    ListCodes(lines, common, settings);
    lines.emplace_back();
    return lines;
}

std::string WinningCodeText(const TSeqPrj& project) {
    const std::string digits = project.TargetDigits();
    if (digits.size() < 4) {
        return {};
    }
    return std::string{digits[0], 'x', 'x', digits[3]};
}

std::string MissingDrawMessage(const TSeqPrj& project) {
    return "第" + IntToStr(project.Options().TargetSeq) + "期开奖号码还没有！";
}

std::vector<size_t> FindWinningCode(std::string_view text, std::string_view code) {
    return FindCaseless(text, code);
}

std::vector<size_t> FindWinningCode(std::u16string_view text, std::string_view code) {
    return FindCaseless(text, code);
}

}  // namespace tovarin
