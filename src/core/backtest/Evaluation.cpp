#include "core/backtest/Evaluation.h"

#include <algorithm>

#include "core/engine/Prj.h"

namespace tovarin {
namespace {

// The levels' sizes: how many codes have each error 0..checked.
std::vector<int> LevelSizes(const TEvaluation& evaluation) {
    std::vector<int> sizes(static_cast<size_t>(evaluation.Checked()) + 1, 0);
    for (const int error : evaluation.Errors) {
        if (error >= 0 && error <= evaluation.Checked()) {
            ++sizes[static_cast<size_t>(error)];
        }
    }
    return sizes;
}

// The run's rule (TSeqPrj::Recommend and PickCodes) followed without
// drawing: each level's share of the group is the number it contributes
// over its size.
TGroupChances GroupChances(const TEvaluation& evaluation, const TPrjOptions& options, int size) {
    const std::vector<int> levels = LevelSizes(evaluation);
    TGroupChances group;
    group.Size = size;
    std::vector<double> levelChance(levels.size(), 0.0);
    for (int s = std::max(options.RcMissBase, 0); s <= evaluation.Checked() && group.Codes < size;
         ++s) {
        const int offered = levels[static_cast<size_t>(s)];
        if (offered == 0) {
            continue;
        }
        const int taken = TSeqPrj::PickCount(group.Codes, offered, size, options.FloatCount);
        levelChance[static_cast<size_t>(s)] = static_cast<double>(taken) / offered;
        group.Codes += taken;
    }
    for (TCode code = 0; code < TCodes::kCount; ++code) {
        const int error = evaluation.Errors[static_cast<size_t>(code)];
        if (error >= 0 && error <= evaluation.Checked()) {
            group.Chance[static_cast<size_t>(code)] = levelChance[static_cast<size_t>(error)];
        }
    }
    return group;
}

}  // namespace

int TEvaluation::KeptCount() const {
    int count = 0;
    for (TCode code = 0; code < TCodes::kCount; ++code) {
        count += Kept(code) ? 1 : 0;
    }
    return count;
}

TEvaluation EvaluateProject(TSeqPrj& project) {
    const TPrjOptions& options = project.Options();
    TCodes errors(options);
    project.Evaluate(errors);

    TEvaluation evaluation;
    evaluation.Tolerance = options.MissMax;
    for (TCode code = 0; code < TCodes::kCount; ++code) {
        evaluation.Errors[static_cast<size_t>(code)] = errors.GetMiss(code);
    }
    for (int index = 0; index < project.BindCount(); ++index) {
        TBaseBind& bind = project.GetBind(index);
        if (!bind.Checked) {
            continue;
        }
        TCheckedStep step;
        step.Step = evaluation.Checked() + 1;
        step.Text = bind.GetText();
        const TCodes& codes = bind.GetCodes();
        for (TCode code = 0; code < TCodes::kCount; ++code) {
            step.Passes[static_cast<size_t>(code)] = codes.GetMiss(code) != -1;
        }
        evaluation.Steps.push_back(std::move(step));
    }
    for (const TRecommendGroup& group : RecommendGroups) {
        if (options.*group.Flag) {
            evaluation.Groups.push_back(GroupChances(evaluation, options, group.Size));
        }
    }
    return evaluation;
}

std::string ErrorText(int error) { return error == -1 ? "F" : std::to_string(error); }

TCodeVerdict ExplainCode(const TEvaluation& evaluation, TCode code) {
    if (code < 0 || code >= TCodes::kCount) {
        throw ECodesException("ExplainCode aCode: TCode Is Error!");
    }
    TCodeVerdict verdict;
    verdict.Code = code;
    verdict.Error = evaluation.Errors[static_cast<size_t>(code)];
    for (const TCheckedStep& step : evaluation.Steps) {
        if (!step.Passes[static_cast<size_t>(code)]) {
            verdict.FailedSteps.push_back(step.Step);
        }
    }
    return verdict;
}

std::vector<std::string> ExplainCodeLines(const TEvaluation& evaluation, TCode code) {
    const TCodeVerdict verdict = ExplainCode(evaluation, code);
    const std::string tolerance = std::to_string(evaluation.Tolerance);
    std::string line = CodeToStr(code);
    if (verdict.Error < 0) {
        line += " 淘汰：未通过铁定条件";
    } else if (evaluation.Kept(code)) {
        line += " 保留：错误值" + ErrorText(verdict.Error) + "，未超过容错" + tolerance;
    } else {
        line += " 淘汰：错误值" + ErrorText(verdict.Error) + "，超过容错" + tolerance;
    }
    std::vector<std::string> lines;
    for (const int step : verdict.FailedSteps) {
        line += "；";
        // The verdict and the first step share a line; each further step
        // starts its own.
        if (!lines.empty() || step != verdict.FailedSteps.front()) {
            lines.push_back(line);
            line.clear();
        }
        line += "第" + std::to_string(step) + "步 " +
                evaluation.Steps[static_cast<size_t>(step - 1)].Text + " 未通过";
    }
    lines.push_back(line);
    return lines;
}

}  // namespace tovarin
