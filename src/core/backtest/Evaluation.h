#pragma once

#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "core/engine/Code.h"

namespace tovarin {

class TSeqPrj;

// A checked condition as the filtering run applies it.
struct TCheckedStep {
    int Step = 0;      // from 1, as the run's report numbers it
    std::string Text;  // the condition's GetText
    // Bit c: the condition passes code c (the run adds no error for it).
    std::bitset<TCodes::kCount> Passes;
};

// A recommendation group of the run with every code's exact chance to be in
// it: 1 in a level taken whole, need / size of the level in the sampled
// level, 0 elsewhere.
struct TGroupChances {
    int Size = 0;   // 40, 30, 20 or 10
    int Codes = 0;  // how many codes the group holds
    std::array<double, TCodes::kCount> Chance{};
};

// One evaluation of a project. Its conditions do not read the draws, so one
// evaluation answers for every period.
struct TEvaluation {
    std::array<int, TCodes::kCount> Errors{};  // E[c]: -1 failed, else the errors
    int Tolerance = 0;                         // the project's MissMax
    std::vector<TCheckedStep> Steps;
    std::vector<TGroupChances> Groups;  // the groups whose flags are set, 40 first

    int Checked() const { return static_cast<int>(Steps.size()); }
    // A code the run keeps: 0 <= E <= t.
    bool Kept(TCode code) const { return KeptAt(code, Tolerance); }
    bool KeptAt(TCode code, int tolerance) const {
        const int error = Errors[static_cast<size_t>(code)];
        return error >= 0 && error <= tolerance;
    }
    int KeptCount() const;
};

// Evaluates the project as the filtering run does (checked conditions in
// order) and derives the group chances by the run's recommendation rule.
// The run's own errors propagate; the project's last result stays as it was.
TEvaluation EvaluateProject(TSeqPrj& project);

// "F" for -1, else the number.
std::string ErrorText(int error);

// Why a code is where it is: its error and the checked conditions that
// fail it.
struct TCodeVerdict {
    TCode Code = 0;
    int Error = 0;
    std::vector<int> FailedSteps;  // step numbers, in run order
};

// The one answer to "why was this code eliminated"; the per-period details
// and the output area's tool tip both ask it. A code outside 0..99 raises
// ECodesException.
TCodeVerdict ExplainCode(const TEvaluation& evaluation, TCode code);

// The verdict in words, kept or eliminated and why, then the failed steps:
// "1xx5 保留：错误值1，未超过容错2；第5步 稳上头:[容]2,3,6 未通过". The
// verdict and the first step share the first line; each further step has a
// line of its own, every line but the last ending in "；".
std::vector<std::string> ExplainCodeLines(const TEvaluation& evaluation, TCode code);

}  // namespace tovarin
