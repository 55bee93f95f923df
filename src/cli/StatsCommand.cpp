// stats: the history statistics of a document's draws, and the trend of one
// dimension, as tables or as one JSON object.
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/Output.h"
#include "core/base/Text.h"
#include "core/draws/LawNet.h"
#include "core/stats/HistoryStats.h"
#include "core/stats/StatsText.h"
#include "core/stats/Trend.h"

namespace tovarin::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kDimKeys[] = {"head", "tail", "sum", "code"};
constexpr int kTrendPeriodWidth = 8;
constexpr int kTrendOmissionWidth = 4;

const char* KeyOf(TStatDim dim) { return kDimKeys[static_cast<size_t>(dim)]; }

TStatDim TrendDimArg(const std::string& text) {
    for (const TStatDim dim : {TStatDim::Head, TStatDim::Tail, TStatDim::Sum}) {
        if (text == KeyOf(dim)) {
            return dim;
        }
    }
    throw UsageError("unknown --trend " + text + " (head, tail or sum)");
}

std::string RightAligned(const std::string& text, int width) {
    return std::string(static_cast<size_t>(std::max(0, width - static_cast<int>(text.size()))),
                       ' ') +
           text;
}

// Every draw of the window, oldest first, with its omissions.
template <typename Visit>
void WalkTrend(const TCodeNet& net, TStatDim dim, TDrawWindow window, Visit visit) {
    TTrendWalk walk(net, dim, window);
    for (int row = window.First; row < window.First + window.Count; ++row) {
        const TSeq& draw = net.GetSeq(row);
        walk.Step(draw);
        visit(net.FirstPeriod() + row, draw, walk.Omissions());
    }
}

Json StatsJson(const THistoryStats& stats) {
    Json object = {{"draws", stats.Draws},
                   {"from", stats.FromPeriod},
                   {"to", stats.ToPeriod},
                   {"window", stats.Window.Count}};
    for (const TStatDim dim : kStatDims) {
        Json items = Json::array();
        for (const TItemStats& item : stats.Of(dim)) {
            items.push_back({{"item", item.Item},
                             {"text", ItemText(dim, item.Item)},
                             {"hits", item.Hits},
                             {"expected", item.Expected},
                             {"current", item.Current},
                             {"max", item.Max},
                             {"average", item.Average}});
        }
        object[KeyOf(dim)] = std::move(items);
    }
    return object;
}

// The trend of a million draws would not fit a JSON tree in memory: the
// rows are written one at a time after the statistics.
void PrintJson(const TCodeNet& net, const THistoryStats& stats, const TStatDim* trend) {
    std::string text = JsonText(StatsJson(stats));
    if (!trend) {
        std::cout << text << '\n';
        return;
    }
    text.pop_back();
    std::cout << text << ",\"trend\":[";
    bool first = true;
    WalkTrend(net, *trend, stats.Window,
              [&](int period, const TSeq& draw, const std::vector<int>& omissions) {
                  const Json row = {{"period", period},
                                    {"draw", NumbersText(draw, net.Game())},
                                    {"omission", omissions}};
                  std::cout << (first ? "" : ",") << JsonText(row);
                  first = false;
              });
    std::cout << "]}\n";
}

void PrintTrendText(const TCodeNet& net, const THistoryStats& stats, TStatDim dim) {
    std::cout << '\n' << DimName(dim) << "走势（" << WindowCaption(stats) << "）\n";
    std::string heading = RightAligned("期号", kTrendPeriodWidth + 2) + "  开奖号码";
    for (int item = 0; item < ItemCount(dim); ++item) {
        heading += RightAligned(IntToStr(item), kTrendOmissionWidth);
    }
    std::cout << heading << '\n';
    WalkTrend(net, dim, stats.Window,
              [&net](int period, const TSeq& draw, const std::vector<int>& omissions) {
                  std::string line = RightAligned(IntToStr(period), kTrendPeriodWidth) + "  " +
                                     NumbersText(draw, net.Game()) + " ";
                  for (const int omission : omissions) {
                      line += RightAligned(IntToStr(omission), kTrendOmissionWidth);
                  }
                  std::cout << line << '\n';
              });
}

void PrintText(const TCodeNet& net, const THistoryStats& stats, const TStatDim* trend) {
    std::cout << "号码统计（开奖号码共" << GroupedInt(stats.Draws) << "期）\n\n";
    for (const std::string& line : StatsReportLines(stats)) {
        std::cout << line << '\n';
    }
    if (trend) {
        PrintTrendText(net, stats, *trend);
    }
}

int RunStats(const Args& args) {
    const std::optional<int> last = args.IntValue("--last");
    const std::optional<std::string> trendText = args.Value("--trend");
    if (last && *last < 1) {
        throw UsageError("--last needs a number of 1 or more, not " + IntToStr(*last));
    }
    const TStatDim trendDim = trendText ? TrendDimArg(*trendText) : TStatDim::Head;
    const TStatDim* trend = trendText ? &trendDim : nullptr;

    Document doc;
    Open(args.Positional("DOC"), doc);
    const THistoryStats stats = ComputeHistoryStats(doc.codeNet, last.value_or(0));
    if (args.Flag("--json")) {
        PrintJson(doc.codeNet, stats, trend);
    } else {
        PrintText(doc.codeNet, stats, trend);
    }
    return 0;
}

}  // namespace

const CommandSpec& StatsCommand() {
    static const CommandSpec spec{
        .name = "stats",
        .summary =
            "Counts hits and omissions of the heads, tails, sums and codes of the last draws.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options =
            {
                {"--last", "N", "the last N draws (1 or more; every draw when left out)"},
                {"--trend", "head|tail|sum",
                 "also the omissions at each draw of the head, the tail or the sum head + tail "
                 "(头尾合)"},
                {"--json", "", "one JSON object instead of tables (keys in README.md)"},
            },
        .run = &RunStats,
    };
    return spec;
}

}  // namespace tovarin::cli
