#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "support/Draws.h"

namespace tovarin::test {

// A record of a small run: two conditions, three kept codes, two groups.
inline TLedgerRecord SmallRecord(int project, int period,
                                 std::optional<std::string> label = std::nullopt) {
    TLedgerRecord record;
    record.RecordedAt = 1780000000 + period;
    record.Project = project;
    record.Options.TargetSeq = period;
    record.Conditions = {"稳上头:[铁]1,3,5", "头尾合:[容]5,6,7"};
    record.Tolerance = 1;
    record.Options.MissMax = 1;
    record.Kept = {{13, 0}, {37, 1}, {55, 0}};
    record.Groups = {{40, {13, 37, 55}}, {30, {13, 55}}};
    record.Period = period;
    record.Label = std::move(label);
    record.BasedOnDraws = period - 1;
    return record;
}

inline void SetTarget(TSeqPrj& project, int period) {
    TPrjOptions options = project.Options();
    options.TargetSeq = period;
    project.SetOptions(options);
}

// A project that keeps heads 3 and 7 (one assured condition: twenty codes),
// its target the period given.
inline TSeqPrj& AddHeadsProject(TPrjMgr& projects, TCodeNet& net, int target) {
    TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
    TBaseBind& bind = project.AddBind(CreateBind(1, project.Options()));
    bind.SetParam("3,7");
    bind.Assured = true;
    bind.Checked = true;
    SetTarget(project, target);
    return project;
}

// A table of draws and the labels of some of its periods.
struct LabelledTable {
    TCodeNet net;
    std::map<std::string, int, std::less<>> periods;

    explicit LabelledTable(int draws = 0) {
        std::vector<std::string> texts;
        for (int i = 0; i < draws; ++i) {
            texts.push_back(std::to_string(1000000 + i * 7919 % 9000000));
        }
        AddDraws(net, texts);
    }

    TFindDraw Finder() const {
        return [this](std::string_view label) -> std::optional<int> {
            const auto found = periods.find(label);
            return found == periods.end() ? std::nullopt : std::optional<int>(found->second);
        };
    }
};

}  // namespace tovarin::test
