// backtest: how a project would have done over past draws, against picking
// as many codes at random.
#include <cstdint>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/Output.h"
#include "core/backtest/BacktestText.h"
#include "core/draws/LawNet.h"

namespace tovarin::cli {
namespace {

using Json = nlohmann::ordered_json;

Json ResultJson(const TBacktestResult& r) {
    return Json{{"codes", r.Codes},
                {"hits", r.Hits},
                {"rate", r.Rate},
                {"baseline", r.Baseline},
                {"lift", r.Lift ? Json(*r.Lift) : Json(nullptr)},
                {"p_value", r.PValue},
                {"longest_miss_run", r.LongestMissRun},
                {"current_miss_run", r.CurrentMissRun}};
}

Json ReportJson(const TBacktestReport& report, int projectNumber) {
    Json json{{"project", projectNumber},
              {"from", report.Range.From},
              {"to", report.Range.To},
              {"periods", report.Range.Periods()},
              {"tolerance", report.Tolerance},
              {"checked", report.Checked},
              {"result", ResultJson(report.Result)}};
    Json& errors = json["winner_errors"] = Json::array();
    for (const TErrorPeriods& entry : report.WinnerErrors) {
        errors.push_back(Json{{"error", entry.Error}, {"periods", entry.Periods}});
    }
    Json& curve = json["tolerance_curve"] = Json::array();
    for (const TTolerancePoint& point : report.ToleranceCurve) {
        curve.push_back(
            Json{{"tolerance", point.Tolerance}, {"codes", point.Codes}, {"hits", point.Hits}});
    }
    Json& conditions = json["conditions"] = Json::array();
    for (const TConditionScore& score : report.Conditions) {
        conditions.push_back(Json{{"step", score.Step},
                                  {"text", score.Text},
                                  {"passed_codes", score.PassedCodes},
                                  {"winner_passed", score.WinnerPassed}});
    }
    Json& groups = json["groups"] = Json::array();
    for (const TGroupScore& group : report.Groups) {
        groups.push_back(Json{
            {"size", group.Size}, {"codes", group.Codes}, {"expected_hits", group.ExpectedHits}});
    }
    return json;
}

// The details of a million periods would not fit a JSON tree in memory: each
// period's object is written as it is made, after the rest of the report.
void PrintJson(const TBacktestReport& report, const TEvaluation& evaluation, const TCodeNet& net,
               int projectNumber, bool details) {
    std::string text = JsonText(ReportJson(report, projectNumber));
    if (!details) {
        std::cout << text << '\n';
        return;
    }
    text.pop_back();
    std::cout << text << ",\"details\":[";
    for (int period = report.Range.From; period <= report.Range.To; ++period) {
        const TPeriodDetail detail = PeriodDetail(evaluation, net, period);
        const Json entry{
            {"period", detail.Period}, {"draw", detail.Draw}, {"code", CodeToStr(detail.Code)},
            {"error", detail.Error},   {"hit", detail.Hit},   {"failed_steps", detail.FailedSteps}};
        std::cout << (period == report.Range.From ? "" : ",") << JsonText(entry);
    }
    std::cout << "]}\n";
}

// The range of the options over the table; a range the table cannot
// answer is a RangeError.
TPeriodRange RangeArg(const TCodeNet& net, std::optional<int> from, std::optional<int> to) {
    TPeriodRange range = DefaultRange(net);
    if (to) {
        range.To = *to;
        // In 64 bits: the period before the first may not be an int.
        range.From = static_cast<int>(std::max<int64_t>(net.FirstPeriod(), int64_t{*to} - 99));
    }
    if (from) {
        range.From = *from;
    }
    try {
        CheckRange(net, range);
    } catch (const EBacktestRange& error) {
        throw RangeError(error.what());
    }
    return range;
}

int RunBacktest(const Args& args) {
    const int number = *args.IntValue("--project");
    const bool details = args.Flag("--details");
    Document doc;
    Open(args.Positional("DOC"), doc);
    TSeqPrj& project = ProjectArg(doc, number);
    if (doc.codeNet.Count() == 0) {
        throw Exception("no draws to test");
    }
    const TPeriodRange range =
        RangeArg(doc.codeNet, args.IntValue("--from"), args.IntValue("--to"));
    const TEvaluation evaluation = EvaluateProject(project);
    const TBacktestReport report = Backtest(evaluation, doc.codeNet, range);
    if (args.Flag("--json")) {
        PrintJson(report, evaluation, doc.codeNet, number, details);
    } else {
        WriteBacktestReport(report, evaluation, doc.codeNet, number, details, &PrintLine);
    }
    return 0;
}

}  // namespace

const CommandSpec& BacktestCommand() {
    static const CommandSpec spec{
        .name = "backtest",
        .summary = "Tests a project over past draws against picking as many codes at random.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--project", "N", "the project to test, from 1", Occurs::Required},
                    {"--from", "P", "first period (default: to - 99, at least 1)"},
                    {"--to", "P", "last period (default: the last draw)"},
                    {"--details", "", "one line (or JSON entry) per period"},
                    {"--json", "", "one JSON object instead of lines (keys in README.md)"}},
        .run = &RunBacktest,
    };
    return spec;
}

}  // namespace tovarin::cli
