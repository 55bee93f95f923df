#include "core/ledger/LedgerSummary.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/backtest/BacktestText.h"
#include "core/base/LocalTime.h"
#include "core/ledger/LedgerFormat.h"
#include "core/ledger/PoissonBinomial.h"

namespace tovarin {

TLedgerSummary SummarizeLedger(const std::vector<TLedgerRow>& rows,
                               const std::vector<std::optional<TSettlement>>& settlements) {
    TLedgerSummary summary;
    std::vector<double> chances;
    int keptCodes = 0;
    for (const TLedgerRow& row : rows) {
        if (row.Superseded) {
            continue;
        }
        ++summary.Entries;
        const std::optional<TSettlement>& settlement =
            settlements.at(static_cast<size_t>(row.Entry->Seq) - 1);
        if (!settlement) {
            continue;
        }
        const int kept = static_cast<int>(row.Entry->Record.Kept.size());
        ++summary.Settled;
        summary.Hits += settlement->Hit ? 1 : 0;
        keptCodes += kept;
        chances.push_back(kept / 100.0);
    }
    summary.Expected = keptCodes / 100.0;
    if (summary.Settled > 0) {
        summary.Rate = static_cast<double>(summary.Hits) / summary.Settled;
        summary.Baseline = summary.Expected / summary.Settled;
        if (summary.Expected > 0) {
            summary.Lift = *summary.Rate / *summary.Baseline;
        }
    }
    summary.PValue = PoissonBinomialUpperTail(chances, summary.Hits);
    summary.Enough = summary.Settled >= kEnoughSettled;
    return summary;
}

std::string LedgerSummaryText(const TLedgerSummary& summary) {
    std::string text = "共记录" + std::to_string(summary.Entries) + "期，已开奖" +
                       std::to_string(summary.Settled) + "期";
    if (!summary.Rate) {
        return text;
    }
    const std::string hits = std::to_string(summary.Hits);
    text += "，命中" + hits + "期（" + PercentText(*summary.Rate) +
            "）；随机选同样多的号码平均命中" + AmountText(summary.Expected) +
            "期；随机选号命中不少于" + hits + "期的概率";
    const std::string chance = PercentText(summary.PValue);
    const bool bound = chance.rfind("不到", 0) == 0 || chance.rfind("超过", 0) == 0;
    return text + (bound ? chance : "为" + chance);
}

std::string NewlySettledText(const std::vector<TLedgerRow>& rows,
                             const std::vector<std::optional<TSettlement>>& before,
                             const std::vector<std::optional<TSettlement>>& after) {
    // Per draw, in period order: what it is called and the projects' parts.
    std::map<int, std::pair<std::string, std::vector<std::pair<int, std::string>>>> draws;
    for (const TLedgerRow& row : rows) {
        const auto index = static_cast<size_t>(row.Entry->Seq) - 1;
        if (row.Superseded || index >= after.size() || !after[index] ||
            (index < before.size() && before[index])) {
            continue;
        }
        const TLedgerRecord& record = row.Entry->Record;
        const TSettlement& settlement = *after[index];
        auto& draw = draws[settlement.Period];
        if (draw.first.empty()) {
            draw.first = record.Label ? *record.Label : std::to_string(settlement.Period);
        }
        draw.second.emplace_back(
            record.Project, "方案" + std::to_string(record.Project) +
                                (settlement.Hit ? "命中（" + CodeToStr(settlement.Winner) + "）"
                                                : std::string("未命中")));
    }
    std::string text;
    for (auto& [period, draw] : draws) {
        std::stable_sort(draw.second.begin(), draw.second.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        text += (text.empty() ? "第" : "；第") + draw.first + "期已开奖：";
        for (size_t i = 0; i < draw.second.size(); ++i) {
            text += (i == 0 ? "" : "，") + draw.second[i].second;
        }
    }
    return text;
}

std::string ChainStateText(const TLedger& ledger) {
    return ledger.BrokenAt() ? "broken at " + std::to_string(*ledger.BrokenAt()) : "ok";
}

std::string ChainBrokenText(int seq) {
    return "指纹链在第" + std::to_string(seq) + "条记录处断开：记录在保存之后被改动过";
}

std::string RecordedAtText(int64_t recordedAt) {
    const std::tm parts = LocalTime(static_cast<std::time_t>(recordedAt));
    // Room for any int in every field, though a real year has four digits.
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

}  // namespace tovarin
