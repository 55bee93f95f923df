// Loading a document of 10,000 draws and 10 projects with a ledger of
// 10,000 entries (its chain checked), against the same document without
// the ledger and against reading the file's bytes alone; reading the
// ledger's section and hashing its bytes once, the floor of any check of the
// chain; and what settling and summing it up costs a window.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "BigDocument.h"
#include "core/base/ByteStream.h"
#include "core/base/FileIO.h"
#include "core/base/Sha256.h"
#include "core/draws/LawNet.h"
#include "core/engine/DocExtension.h"
#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerFormat.h"
#include "core/ledger/LedgerSection.h"
#include "core/ledger/LedgerSummary.h"
#include "core/settings/AppOptions.h"

namespace tovarin {
namespace {

constexpr int kDraws = 10000;
constexpr int kEntries = 10000;
constexpr int kProjects = 10;

// A run's groups as the recommendation makes them: the lowest errors first.
std::vector<TLedgerGroup> GroupsOf(const TLedgerRecord& record) {
    std::vector<TLedgerGroup> groups;
    for (const int size : {40, 30}) {
        TLedgerGroup group{size, {}};
        for (const TKeptCode& kept : record.Kept) {
            if (static_cast<int>(group.Codes.size()) < size) {
                group.Codes.push_back(kept.Code);
            }
        }
        groups.push_back(group);
    }
    return groups;
}

struct LedgerDocument {
    TCodeNet net;
    TPrjMgr projects{net};
    std::string image;
    std::string ledger;
    // The same document with the ledger in its extension.
    std::string imageWithLedger;
    // Both saved, as the programs load them from files.
    std::string path;
    std::string pathWithLedger;

    LedgerDocument() {
        std::vector<TSeq> rows(kDraws);
        for (size_t i = 0; i < rows.size(); ++i) {
            for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
                rows[i].SetNum(pos, static_cast<int>((i * 7 + static_cast<size_t>(pos) * 3) % 10));
            }
        }
        net.Replace(std::move(rows));
        for (int p = 0; p < kProjects; ++p) {
            TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
            AddConditions(project, 10);
            TPrjOptions options = project.Options();
            options.MissMax = 2;
            project.SetOptions(options);
            project.CalcAll(TAppOptions{}, nullptr);
        }
        image = BuildDocumentImage(net, projects);

        // Recorded before the draws: every period of the table, in turn by
        // each project, with labels.
        TCodeNet before;
        TLedger recorded;
        for (int i = 0; i < kEntries; ++i) {
            TLedgerRecord record =
                RecordOfRun(projects.GetSeqPrj(i % kProjects), i % kProjects + 1, {}, 1780000000);
            record.Groups = GroupsOf(record);
            record.Period = i + 1;
            record.Label = std::to_string(2000001 + i);
            record.BasedOnDraws = i;
            record.BasedOnLabel = std::to_string(2000000 + i);
            recorded.Record(std::move(record), before, nullptr);
        }
        ledger = EncodeLedger(recorded);
        ByteWriter extension;
        extension.WriteBytes(kExtensionMagic);
        extension.WriteI32(kExtensionVersion);
        extension.WriteI32(static_cast<int32_t>(TSectionKind::Ledger));
        extension.WriteI32(static_cast<int32_t>(ledger.size()));
        extension.WriteBytes(ledger);
        imageWithLedger = image + extension.Bytes();
        const std::string stem = "/tmp/tovarin-ledger-bench-" + std::to_string(getpid());
        path = stem + ".lvrn";
        pathWithLedger = stem + "-ledger.lvrn";
        WriteFileAtomically(path, image);
        WriteFileAtomically(pathWithLedger, imageWithLedger);
    }
    ~LedgerDocument() {
        unlink(path.c_str());
        unlink(pathWithLedger.c_str());
    }
    LedgerDocument(const LedgerDocument&) = delete;
    LedgerDocument& operator=(const LedgerDocument&) = delete;
};

LedgerDocument& Document() {
    static LedgerDocument document;
    return document;
}

// The document's file, with the ledger its section too, read as the
// programs read it: into a ledger attached to the project list.
void LoadDocumentBench(benchmark::State& state, bool withLedger) {
    LedgerDocument& doc = Document();
    TCodeNet net;
    TPrjMgr projects(net);
    TLedger ledger;
    TLedgerSection section(ledger, projects);
    const std::string& path = withLedger ? doc.pathWithLedger : doc.path;
    // Untimed, as in BM_ReadLedgerFile: the first run pays for touching
    // fresh memory.
    LoadDocument(path, net, projects);
    if (ledger.Count() != (withLedger ? kEntries : 0) || ledger.BrokenAt()) {
        state.SkipWithError("the ledger did not read");
    }
    for (auto _ : state) {
        LoadDocument(path, net, projects);
        benchmark::DoNotOptimize(net.Count());
        benchmark::DoNotOptimize(ledger.Count());
    }
    state.counters["file_bytes"] = static_cast<double>(ReadWholeFile(path).size());
}

// The floor of any load: the same file's bytes read into memory.
void BM_ReadLedgerFile(benchmark::State& state) {
    LedgerDocument& doc = Document();
    benchmark::DoNotOptimize(ReadWholeFile(doc.pathWithLedger).size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadWholeFile(doc.pathWithLedger).size());
    }
}

void BM_ReadLedger(benchmark::State& state) {
    LedgerDocument& doc = Document();
    benchmark::DoNotOptimize(DecodeLedger(doc.ledger, doc.image.size()).Count());
    for (auto _ : state) {
        const TLedger ledger = DecodeLedger(doc.ledger, doc.image.size());
        if (ledger.BrokenAt()) {
            state.SkipWithError("the chain does not hold");
        }
        benchmark::DoNotOptimize(ledger.Count());
    }
    state.counters["bytes"] = static_cast<double>(doc.ledger.size());
    state.counters["bytes_per_entry"] = static_cast<double>(doc.ledger.size()) / kEntries;
}

// The floor of any check of the chain: SHA-256 once over the same bytes.
void BM_HashLedgerBytes(benchmark::State& state) {
    LedgerDocument& doc = Document();
    TSha256 hasher;
    for (auto _ : state) {
        hasher.Add(doc.ledger);
        benchmark::DoNotOptimize(hasher.Finish());
    }
}

// What the window does after every change of the table.
void BM_SettleAndSummarize(benchmark::State& state) {
    LedgerDocument& doc = Document();
    const TLedger ledger = DecodeLedger(doc.ledger, doc.image.size());
    const TFindDraw byLabel = [](std::string_view label) -> std::optional<int> {
        return std::stoi(std::string(label)) - 2000000;
    };
    for (auto _ : state) {
        const auto rows = LedgerRows(ledger);
        const TLedgerSummary summary =
            SummarizeLedger(rows, SettleLedger(ledger, doc.net, byLabel));
        benchmark::DoNotOptimize(summary.PValue);
        state.counters["settled"] = summary.Settled;
    }
}

}  // namespace

// The ratios: WithLedger against WithoutLedger and against BM_ReadLedgerFile.
BENCHMARK_CAPTURE(LoadDocumentBench, WithoutLedger, false)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLedgerFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadDocumentBench, WithLedger, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLedger)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HashLedgerBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettleAndSummarize)->Unit(benchmark::kMillisecond);

}  // namespace tovarin
