#include "core/ledger/LedgerRecording.h"

#include <memory>
#include <utility>

#include "core/draws/LabelRules.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/ledger/LedgerSummary.h"

namespace tovarin {

TFindDraw DrawFinder(const TCodeNet& net) {
    auto index = std::make_shared<const TLabelIndex>(net.Rows());
    const int first = net.FirstPeriod();
    return [index, first](std::string_view text) -> std::optional<int> {
        const std::optional<TLabel> label = TLabel::Parse(text);
        if (!label) {
            return std::nullopt;
        }
        const std::optional<int> row = index->Find(*label);
        return row ? std::optional<int>(*row + first) : std::nullopt;
    };
}

std::optional<std::string> PeriodLabel(const TCodeNet& net, int period) {
    const int row = period - net.FirstPeriod();
    if (row >= 0 && row < net.Count()) {
        const TLabel own = net.GetSeq(row).GetLabel();
        return own.Empty() ? std::nullopt : std::optional<std::string>(own.Text());
    }
    if (row < net.Count() || net.Count() == 0) {
        return std::nullopt;
    }
    const std::optional<TLabel> next =
        NextLabel(net.GetSeq(net.Count() - 1).GetLabel(), row - net.Count() + 1);
    return next ? std::optional<std::string>(next->Text()) : std::nullopt;
}

std::string NoRunText(int projectNumber) {
    return "请先对方案" + std::to_string(projectNumber) + "进行筛选计算";
}

const TLedgerEntry& RecordPrediction(TLedger& ledger, const TSeqPrj& project, int projectNumber,
                                     int64_t recordedAt) {
    const auto& shown = project.ShownGroups();
    if (!shown) {
        throw ELedgerError(NoRunText(projectNumber));
    }
    std::vector<TLedgerGroup> groups;
    for (const TShownGroup& group : *shown) {
        groups.push_back({group.Size, group.Codes});
    }
    TLedgerRecord record = RecordOfRun(project, projectNumber, std::move(groups), recordedAt);
    const TCodeNet& net = project.CodeNet();
    record.Label = PeriodLabel(net, record.Period);
    if (net.Count() > 0) {
        const TLabel last = net.GetSeq(net.Count() - 1).GetLabel();
        if (!last.Empty()) {
            record.BasedOnLabel = last.Text();
        }
    }
    return ledger.Record(std::move(record), net, DrawFinder(net));
}

std::string RecordedText(const TLedgerEntry& entry) {
    const TLedgerRecord& record = entry.Record;
    return "已记录方案" + std::to_string(record.Project) + "对第" +
           record.Label.value_or(std::to_string(record.Period)) + "期的预测（" +
           std::to_string(record.Kept.size()) + "个号码）";
}

TSettlementWatch::TSettlementWatch(TLedger& ledger, TCodeNet& net, Listener onSettled)
    : ledger_(&ledger), net_(&net), onSettled_(std::move(onSettled)) {
    Refresh(false);
    ledgerToken_ = ledger.Subscribe([this](TLedgerChange change, const TLedgerState*) {
        replaced_ = change == TLedgerChange::Replaced;
        Refresh(false);
    });
    netToken_ = net.Subscribe([this](TNetChange) {
        const std::string text = Refresh(!replaced_);
        replaced_ = false;
        if (!text.empty() && onSettled_) {
            onSettled_(text);
        }
    });
}

TSettlementWatch::~TSettlementWatch() {
    ledger_->Unsubscribe(ledgerToken_);
    net_->Unsubscribe(netToken_);
}

std::string TSettlementWatch::Refresh(bool tell) {
    std::vector<std::optional<TSettlement>> after =
        SettleLedger(*ledger_, *net_, DrawFinder(*net_));
    std::string text;
    if (tell) {
        std::vector<std::optional<TSettlement>> before = std::move(settlements_);
        before.resize(after.size());
        for (size_t i = 0; i < after.size(); ++i) {
            if (before[i] && after[i] && before[i]->Draw != after[i]->Draw) {
                before[i].reset();
            }
        }
        text = NewlySettledText(LedgerRows(*ledger_), before, after);
    }
    settlements_ = std::move(after);
    return text;
}

}  // namespace tovarin
