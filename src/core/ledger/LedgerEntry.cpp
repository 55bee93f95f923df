#include "core/ledger/LedgerEntry.h"

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

namespace tovarin {

TLedgerRecord RecordOfRun(const TSeqPrj& project, int projectNumber,
                          std::vector<TLedgerGroup> groups, int64_t recordedAt) {
    TLedgerRecord record;
    record.RecordedAt = recordedAt;
    record.Project = projectNumber;
    record.Options = project.Options();
    for (int i = 0; i < project.BindCount(); ++i) {
        const TBaseBind& bind = project.GetBind(i);
        if (bind.Checked) {
            record.Conditions.push_back(bind.GetText());
        }
    }
    record.Tolerance = project.Options().MissMax;
    const TCodes& result = project.ResultCodes();
    for (TCode code = 0; code < result.Count(); ++code) {
        if (result.GetValid(code)) {
            record.Kept.push_back({code, result.GetMiss(code)});
        }
    }
    record.Groups = std::move(groups);
    record.Period = project.Options().TargetSeq;
    record.BasedOnDraws = project.CodeNet().Count();
    return record;
}

}  // namespace tovarin
