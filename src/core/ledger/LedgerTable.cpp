#include "core/ledger/LedgerTable.h"

#include <cmath>

#include "core/ledger/LedgerSummary.h"

namespace tovarin {
namespace {

std::string GroupHitsText(const TLedgerRecord& record, const TSettlement& settlement) {
    std::string text;
    for (size_t i = 0; i < record.Groups.size() && i < settlement.GroupHits.size(); ++i) {
        text += (i == 0 ? "" : " ") + std::to_string(record.Groups[i].Size) +
                (settlement.GroupHits[i] ? "中" : "未中");
    }
    return text;
}

std::string TimeText(int64_t recordedAt) {
    std::string text = RecordedAtText(recordedAt);
    const size_t t = text.find('T');
    if (t != std::string::npos) {
        text[t] = ' ';
    }
    return text;
}

// A field quoted when it holds what CSV gives a meaning.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

}  // namespace

std::vector<TLedgerLine> LedgerLines(const std::vector<TLedgerRow>& rows,
                                     const std::vector<std::optional<TSettlement>>& settlements) {
    std::vector<TLedgerLine> lines;
    lines.reserve(rows.size());
    for (size_t i = rows.size(); i-- > 0;) {
        const TLedgerRow& row = rows[i];
        const TLedgerRecord& record = row.Entry->Record;
        const std::optional<TSettlement>& settlement =
            settlements.at(static_cast<size_t>(row.Entry->Seq) - 1);
        const std::string period = std::to_string(record.Period);
        lines.push_back(
            {record.Label ? *record.Label + "/" + period : period, TimeText(record.RecordedAt),
             "方案" + std::to_string(record.Project), std::to_string(record.Kept.size()),
             settlement ? settlement->Draw : "", settlement ? CodeToStr(settlement->Winner) : "",
             settlement ? (settlement->Hit ? "命中" : "未中") : "未开奖",
             settlement ? GroupHitsText(record, *settlement) : "", std::to_string(row.Replaced)});
    }
    return lines;
}

std::string LedgerCsv(const std::vector<TLedgerLine>& lines) {
    std::string text = "\xEF\xBB\xBF";
    const auto addLine = [&text](const auto& fields) {
        for (size_t i = 0; i < fields.size(); ++i) {
            text += (i == 0 ? "" : ",") + CsvField(fields[i]);
        }
        text += "\r\n";
    };
    addLine(std::array<std::string, kLedgerColumns.size()>{
        kLedgerColumns[0], kLedgerColumns[1], kLedgerColumns[2], kLedgerColumns[3],
        kLedgerColumns[4], kLedgerColumns[5], kLedgerColumns[6], kLedgerColumns[7],
        kLedgerColumns[8]});
    for (const TLedgerLine& line : lines) {
        addLine(line);
    }
    return text;
}

std::vector<TCumulativePoint> CumulativeHits(
    const std::vector<TLedgerRow>& rows,
    const std::vector<std::optional<TSettlement>>& settlements) {
    std::vector<TCumulativePoint> points;
    TCumulativePoint sum;
    double variance = 0;
    for (const TLedgerRow& row : rows) {
        const std::optional<TSettlement>& settlement =
            settlements.at(static_cast<size_t>(row.Entry->Seq) - 1);
        if (row.Superseded || !settlement) {
            continue;
        }
        const double chance = static_cast<double>(row.Entry->Record.Kept.size()) / 100.0;
        sum.Hits += settlement->Hit ? 1 : 0;
        sum.Expected += chance;
        variance += chance * (1 - chance);
        sum.Deviation = std::sqrt(variance);
        points.push_back(sum);
    }
    return points;
}

}  // namespace tovarin
