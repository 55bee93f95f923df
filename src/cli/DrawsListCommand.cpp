// draws list: the document's draws, one line each with period, label and
// date, or as JSON.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Document.h"
#include "core/draws/LawNet.h"

namespace tovarin::cli {
namespace {

using Json = nlohmann::ordered_json;

struct PeriodRange {
    int From = 1;
    int To = 0;
};

// All draws by default; a range outside the table or out of order is a
// RangeError, as for backtest.
PeriodRange RangeArg(const TCodeNet& net, std::optional<int> from, std::optional<int> to) {
    const int last = net.FirstPeriod() + net.Count() - 1;
    const PeriodRange range{from.value_or(net.FirstPeriod()), to.value_or(last)};
    if ((from || to) &&
        (range.From < net.FirstPeriod() || range.To > last || range.From > range.To)) {
        throw RangeError("range " + std::to_string(range.From) + ".." + std::to_string(range.To) +
                         " is not within periods 1.." + std::to_string(last) + " in order");
    }
    return range;
}

Json NumbersJson(const TSeq& draw, TGame game) {
    Json numbers = Json::array();
    for (int pos = 0; pos < NumberCount(game); ++pos) {
        numbers.push_back(draw.GetNum(pos));
    }
    return numbers;
}

Json TextOrNull(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }

std::string TextOrDash(const std::string& text) { return text.empty() ? "-" : text; }

// A million draws would not fit a JSON tree in memory: the rows are
// written one at a time.
void PrintJson(const TCodeNet& net, PeriodRange range) {
    std::cout << "{\"draws\":" << net.Count() << ",\"rows\":[";
    for (int period = range.From; period <= range.To; ++period) {
        const TSeq& draw = net.GetSeq(period - net.FirstPeriod());
        const Json row = {{"period", period},
                          {"label", TextOrNull(draw.GetLabel().Text())},
                          {"date", TextOrNull(draw.GetDate().Text())},
                          {"numbers", NumbersJson(draw, net.Game())}};
        std::cout << (period == range.From ? "" : ",") << row.dump();
    }
    std::cout << "]}\n";
}

void PrintText(const TCodeNet& net, PeriodRange range) {
    for (int period = range.From; period <= range.To; ++period) {
        const TSeq& draw = net.GetSeq(period - net.FirstPeriod());
        std::cout << period << ' ' << TextOrDash(draw.GetLabel().Text()) << ' '
                  << TextOrDash(draw.GetDate().Text()) << ' ' << NumbersText(draw, net.Game())
                  << '\n';
    }
}

int RunDrawsList(const Args& args) {
    Document doc;
    Open(args.Positional("DOC"), doc);
    const PeriodRange range = RangeArg(doc.codeNet, args.IntValue("--from"), args.IntValue("--to"));
    if (args.Flag("--json")) {
        PrintJson(doc.codeNet, range);
    } else {
        PrintText(doc.codeNet, range);
    }
    return 0;
}

}  // namespace

const CommandSpec& DrawsListCommand() {
    static const CommandSpec spec{
        .name = "draws list",
        .summary =
            "Lists the document's draws: period, label, date and numbers (- for a missing "
            "label or date).",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--from", "P", "first period (default: 1)"},
                    {"--to", "P", "last period (default: the last draw)"},
                    {"--json", "", "one JSON object instead of lines (keys in README.md)"}},
        .run = &RunDrawsList,
    };
    return spec;
}

}  // namespace tovarin::cli
