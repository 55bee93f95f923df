#include "core/sources/DrawUpdate.h"

#include <algorithm>
#include <cstdint>

#include "core/draws/LabelRules.h"

namespace tovarin {

namespace {

// A labelled draw of one source, by its place in the merged order.
struct TMergeEntry {
    int64_t Order = 0;
    size_t Source = 0;
    size_t Index = 0;
};

void TakeDateIfMissing(TTableDraw& draw, const TTableDraw& other) {
    if (draw.Date().empty() && !other.Date().empty()) {
        draw.SetDate(other.Date());
        draw.Draw.SetDate(other.Draw.GetDate());
    }
}

// Lines of several reads in one list, which keeps the first MaxListedLines
// as a single read's does.
template <typename Line>
void AppendListed(std::vector<Line>& list, const std::vector<Line>& more) {
    const size_t room = MaxListedLines - std::min(MaxListedLines, list.size());
    list.insert(list.end(), more.begin(),
                more.begin() + static_cast<std::ptrdiff_t>(std::min(room, more.size())));
}

std::string Quoted(const TSourceOutcome& source) { return "「" + source.Name + "」"; }

std::string NewestText(int newestPeriod, TLabel newestLabel) {
    return newestLabel.Empty() ? "第" + std::to_string(newestPeriod) + "期"
                               : newestLabel.Text() + "期";
}

// The unreadable lines a refusal names before it counts the rest.
constexpr size_t kRefusalReasons = 20;

}  // namespace

TMergedRead MergeSourceReads(const std::vector<const TTableRead*>& reads, TGame game) {
    TMergedRead merged;
    merged.Read.Game = game;
    std::vector<size_t> withDraws;
    for (size_t source = 0; source < reads.size(); ++source) {
        const TTableRead& read = *reads[source];
        AppendListed(merged.Read.Skipped, read.Skipped);
        AppendListed(merged.Read.Conflicts, read.Conflicts);
        merged.Read.SkippedTotal += read.SkippedTotal;
        merged.Read.ConflictsTotal += read.ConflictsTotal;
        if (!read.Draws.empty()) {
            withDraws.push_back(source);
        }
    }
    // A read is labelled throughout or not at all (the importer drops the
    // lines without a period of a numbered file).
    if (withDraws.size() == 1 && !reads[withDraws.front()]->Draws.front().HasPeriod) {
        merged.Read.Draws = reads[withDraws.front()]->Draws;
        merged.SourceOf.assign(merged.Read.Draws.size(), withDraws.front());
        return merged;
    }
    std::vector<TMergeEntry> entries;
    for (const size_t source : withDraws) {
        const std::vector<TTableDraw>& draws = reads[source]->Draws;
        if (!draws.front().HasPeriod) {
            merged.Unlabelled.push_back(source);
            continue;
        }
        for (size_t index = 0; index < draws.size(); ++index) {
            entries.push_back({LabelOrder(draws[index].Draw.GetLabel()), source, index});
        }
    }
    // Stable: among equal labels the earlier source comes first.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TMergeEntry& a, const TMergeEntry& b) { return a.Order < b.Order; });
    for (size_t at = 0; at < entries.size();) {
        const TMergeEntry& first = entries[at];
        TTableDraw draw = reads[first.Source]->Draws[first.Index];
        size_t next = at + 1;
        for (; next < entries.size() && entries[next].Order == first.Order; ++next) {
            const TTableDraw& other = reads[entries[next].Source]->Draws[entries[next].Index];
            if (SameDigits(draw.Draw, other.Draw)) {
                TakeDateIfMissing(draw, other);
            } else {
                merged.Conflicts.push_back({draw.Draw.GetLabel(), first.Source,
                                            entries[next].Source, draw.Draw, other.Draw});
            }
        }
        merged.Read.Draws.push_back(draw);
        merged.SourceOf.push_back(first.Source);
        at = next;
    }
    return merged;
}

size_t TUpdateRead::Added() const {
    return Plan.Start ? Merged.Read.Draws.size() - *Plan.Start : 0;
}

bool TUpdateRead::Clean() const {
    return SourceProblems(*this).empty() && Merged.Read.Conflicts.empty() &&
           !Merged.Read.Draws.empty() && Plan.Start.has_value() && Plan.Conflicts.empty() &&
           Plan.Gaps.Empty();
}

std::function<bool(const TTableRead& page)> ReachesLabel(const std::vector<TSeq>& table) {
    if (table.empty() || table.back().GetLabel().Empty()) {
        return {};
    }
    const int64_t last = LabelOrder(table.back().GetLabel());
    return [last](const TTableRead& page) {
        return std::any_of(page.Draws.begin(), page.Draws.end(), [last](const TTableDraw& draw) {
            return draw.HasPeriod && LabelOrder(draw.Draw.GetLabel()) <= last;
        });
    };
}

TUpdateRead ReadUpdate(const std::vector<TDrawSource>& sources, const std::vector<TSeq>& table,
                       const TFetchSettings& settings, const TUpdateProgress& progress) {
    TUpdateRead update;
    std::vector<TTableRead> reads(sources.size());
    TFetchSettings fetch = settings;
    fetch.Reaches = ReachesLabel(table);
    for (size_t i = 0; i < sources.size(); ++i) {
        const TDrawSource& source = sources[i];
        TSourceOutcome& outcome = update.Sources.emplace_back();
        outcome.Name = source.Name.empty() ? source.Url : source.Name;
        outcome.Url = source.Url;
        if (progress) {
            fetch.OnProgress = [&progress, i](int page, size_t received) {
                progress(i, page, received);
            };
        }
        try {
            TSourceRead read = FetchSource(source, fetch);
            outcome.Format = read.Format;
            outcome.Pages = read.Pages;
            outcome.Read = read.Read.Draws.size();
            reads[i] = std::move(read.Read);
        } catch (const EFetchError& error) {
            if (error.kind() == EFetchError::Kind::Cancelled) {
                throw;
            }
            outcome.Error = error.what();
        } catch (const Exception& error) {
            // An answer that was fetched but is not draws: it was read in
            // the format asked for.
            outcome.Error = error.what();
            if (source.Format != TSourceFormat::Auto) {
                outcome.Format = source.Format;
            }
        }
    }
    std::vector<const TTableRead*> pointers;
    pointers.reserve(reads.size());
    for (const TTableRead& read : reads) {
        pointers.push_back(&read);
    }
    update.Merged = MergeSourceReads(pointers, settings.Game);
    update.Plan = PlanImport(table, update.Merged.Read, TImportMode::Append);
    return update;
}

std::vector<std::string> SourceProblems(const TUpdateRead& update) {
    std::vector<std::string> problems;
    for (const TSourceOutcome& source : update.Sources) {
        if (!source.Error.empty()) {
            problems.push_back(SourceFailedText(source));
        }
    }
    for (const TSourceConflict& conflict : update.Merged.Conflicts) {
        problems.push_back(SourceConflictText(conflict, update.Sources, update.Merged.Read.Game));
    }
    for (const size_t source : update.Merged.Unlabelled) {
        problems.push_back(UnlabelledSourceText(update.Sources[source]));
    }
    return problems;
}

std::vector<std::string> UpdateProblems(const TUpdateRead& update, int tableRows, bool allowGaps) {
    std::vector<std::string> problems = SourceProblems(update);
    const TTableRead& read = update.Merged.Read;
    const TImportPlan& plan = update.Plan;
    if (!read.Conflicts.empty()) {
        problems.push_back(ConflictsText());
        for (const TDrawConflict& conflict : read.Conflicts) {
            problems.push_back(ConflictText(conflict));
        }
        if (read.ConflictsTotal > read.Conflicts.size()) {
            problems.push_back(UnlistedText(read.ConflictsTotal - read.Conflicts.size()));
        }
    } else if (read.Draws.empty()) {
        if (problems.empty()) {
            problems.emplace_back("数据源里没有可以导入的开奖号码。");
        }
        // Why the lines that were there are not draws: a number the game
        // does not have, say.
        for (std::string& reason : ReadReasonTexts(read, kRefusalReasons)) {
            problems.push_back(std::move(reason));
        }
    } else if (!plan.Start) {
        problems.push_back("无法更新：数据源的开奖号码里找不到与码表最后" +
                           std::to_string(std::min(3, tableRows)) + "期相同的连续号码。");
    } else if (!plan.Conflicts.empty()) {
        problems.push_back(LabelConflictsText());
        for (const TLabelConflict& conflict : plan.Conflicts) {
            problems.push_back(LabelConflictText(conflict, read.Game));
        }
    } else if (!allowGaps && !plan.Gaps.Empty()) {
        problems.push_back(GapsText(plan.Gaps));
    }
    return problems;
}

std::string SourceFailedText(const TSourceOutcome& source) {
    return "数据源" + Quoted(source) + "：" + source.Error;
}

std::string SourceConflictText(const TSourceConflict& conflict,
                               const std::vector<TSourceOutcome>& sources, TGame game) {
    return "第" + conflict.Label.Text() + "期：" + Quoted(sources[conflict.FirstSource]) + "是" +
           NumbersText(conflict.FirstDraw, game) + "，" + Quoted(sources[conflict.SecondSource]) +
           "是" + NumbersText(conflict.SecondDraw, game);
}

std::string UnlabelledSourceText(const TSourceOutcome& source) {
    return Quoted(source) + "的开奖数据没有期号，不能与其他数据源合并";
}

std::string UpdateDoneText(const TUpdateRead& update, int newestPeriod, TLabel newestLabel) {
    std::vector<size_t> used;
    for (size_t i = update.Plan.Start.value_or(update.Merged.SourceOf.size());
         i < update.Merged.SourceOf.size(); ++i) {
        used.push_back(update.Merged.SourceOf[i]);
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    std::string names;
    for (const size_t source : used) {
        names += (names.empty() ? "" : "、") + update.Sources[source].Name;
    }
    return "更新了" + std::to_string(update.Added()) + "期，最新一期为" +
           NewestText(newestPeriod, newestLabel) + "（来源：" + names + "）";
}

std::string UpToDateText(int newestPeriod, TLabel newestLabel) {
    return "码表已是最新：最新一期为" + NewestText(newestPeriod, newestLabel);
}

}  // namespace tovarin
