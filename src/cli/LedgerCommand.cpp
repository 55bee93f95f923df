// ledger: the recorded predictions of a document, settled against its
// draws, with the summary and the state of the chain.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Document.h"
#include "core/ledger/LedgerFormat.h"
#include "core/ledger/LedgerRecording.h"
#include "core/ledger/LedgerSummary.h"

namespace tovarin::cli {
namespace {

using Json = nlohmann::ordered_json;

template <typename T>
Json OrNull(const std::optional<T>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json CodesJson(const std::vector<TCode>& codes) {
    Json texts = Json::array();
    for (const TCode code : codes) {
        texts.push_back(CodeToStr(code));
    }
    return texts;
}

Json EntryJson(const TLedgerRow& row, const std::optional<TSettlement>& settlement) {
    const TLedgerRecord& record = row.Entry->Record;
    std::vector<TCode> kept;
    for (const TKeptCode& code : record.Kept) {
        kept.push_back(code.Code);
    }
    Json groups = Json::array();
    for (const TLedgerGroup& group : record.Groups) {
        groups.push_back({{"size", group.Size}, {"codes", CodesJson(group.Codes)}});
    }
    Json entry = {
        {"seq", row.Entry->Seq},
        {"project", record.Project},
        {"period", record.Period},
        {"label", OrNull(record.Label)},
        {"recorded_at", RecordedAtText(record.RecordedAt)},
        {"based_on", {{"draws", record.BasedOnDraws}, {"label", OrNull(record.BasedOnLabel)}}},
        {"tolerance", record.Tolerance},
        {"conditions", record.Conditions},
        {"codes", CodesJson(kept)},
        {"groups", groups},
        {"replaced", row.Replaced},
        {"settled", settlement.has_value()}};
    if (settlement) {
        entry["draw"] = settlement->Draw;
        entry["winner"] = CodeToStr(settlement->Winner);
        entry["hit"] = settlement->Hit;
        entry["error"] = OrNull(settlement->Error);
        entry["group_hits"] = settlement->GroupHits;
    } else {
        for (const char* key : {"draw", "winner", "hit", "error", "group_hits"}) {
            entry[key] = nullptr;
        }
    }
    entry["hash"] = HashText(row.Entry->Hash);
    return entry;
}

Json SummaryJson(const TLedgerSummary& summary) {
    return {{"entries", summary.Entries},   {"settled", summary.Settled},
            {"hits", summary.Hits},         {"expected", summary.Expected},
            {"rate", OrNull(summary.Rate)}, {"baseline", OrNull(summary.Baseline)},
            {"lift", OrNull(summary.Lift)}, {"p_value", summary.PValue},
            {"enough", summary.Enough}};
}

// Entries are written one at a time; the summary and the chain follow.
void PrintJson(const TLedger& ledger, const std::vector<TLedgerRow>& rows,
               const std::vector<std::optional<TSettlement>>& settlements,
               const TLedgerSummary& summary) {
    std::cout << "{\"entries\":[";
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto index = static_cast<size_t>(rows[i].Entry->Seq) - 1;
        std::cout << (i == 0 ? "" : ",") << EntryJson(rows[i], settlements[index]).dump();
    }
    std::cout << "],\"summary\":" << SummaryJson(summary).dump()
              << ",\"chain\":" << Json(ChainStateText(ledger)).dump() << "}\n";
}

// "#3 方案1 第362期 2026150 2026-12-06T20:15:03 10个号码 3581290 3xx1 命中 替换1次"
std::string EntryLine(const TLedgerRow& row, const std::optional<TSettlement>& settlement) {
    const TLedgerRecord& record = row.Entry->Record;
    std::string line =
        "#" + std::to_string(row.Entry->Seq) + " 方案" + std::to_string(record.Project) + " 第" +
        std::to_string(record.Period) + "期 " + record.Label.value_or("-") + " " +
        RecordedAtText(record.RecordedAt) + " " + std::to_string(record.Kept.size()) + "个号码 ";
    if (settlement) {
        line += settlement->Draw + " " + CodeToStr(settlement->Winner) + " " +
                (settlement->Hit ? "命中" : "未中");
    } else {
        line += "未开奖";
    }
    if (row.Replaced > 0) {
        line += " 替换" + std::to_string(row.Replaced) + "次";
    }
    if (row.Superseded) {
        line += " 已被替换";
    }
    return line;
}

void PrintText(const TLedger& ledger, const std::vector<TLedgerRow>& rows,
               const std::vector<std::optional<TSettlement>>& settlements,
               const TLedgerSummary& summary) {
    for (const TLedgerRow& row : rows) {
        PrintLine(EntryLine(row, settlements[static_cast<size_t>(row.Entry->Seq) - 1]));
    }
    PrintLine(LedgerSummaryText(summary));
    if (!summary.Enough) {
        PrintLine(kSmallSampleText);
    }
    if (ledger.BrokenAt()) {
        PrintLine(ChainBrokenText(*ledger.BrokenAt()));
    }
    if (const TSha256Digest* newest = ledger.NewestHash()) {
        PrintLine("指纹 " + HashText(*newest));
    }
}

int RunLedger(const Args& args) {
    const std::optional<int> project = args.IntValue("--project");
    if (project && *project < 1) {
        throw RangeError("project " + std::to_string(*project) + ": projects count from 1");
    }
    Document doc;
    Open(args.Positional("DOC"), doc);
    const std::vector<TLedgerRow> rows = LedgerRows(doc.ledger, project, args.Flag("--all"));
    const auto settlements = SettleLedger(doc.ledger, doc.codeNet, DrawFinder(doc.codeNet));
    const TLedgerSummary summary = SummarizeLedger(rows, settlements);
    if (args.Flag("--json")) {
        PrintJson(doc.ledger, rows, settlements, summary);
    } else {
        PrintText(doc.ledger, rows, settlements, summary);
    }
    if (args.Flag("--verify") && doc.ledger.BrokenAt()) {
        std::cerr << "tovarin-cli ledger: " << ChainBrokenText(*doc.ledger.BrokenAt()) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

const CommandSpec& LedgerCommand() {
    static const CommandSpec spec{
        .name = "ledger",
        .summary =
            "Lists the recorded predictions (成绩单), settled against the draws, with the "
            "summary.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--project", "N", "only the entries of project N"},
                    {"--all", "", "also the entries a later one replaced"},
                    {"--verify", "", "exit with status 1 when the chain of hashes is broken"},
                    {"--json", "", "one JSON object instead of lines (keys in README.md)"}},
        .run = &RunLedger,
    };
    return spec;
}

}  // namespace tovarin::cli
