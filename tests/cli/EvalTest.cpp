#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/CliRunner.h"

namespace tovarin {
namespace {

using test::CliResult;
using test::RunCli;

// The third output line: the passing codes as "HxxT" texts, ascending.
template <class Pass>
std::string CodesWhere(Pass pass) {
    std::string line;
    for (int head = 0; head < 10; ++head) {
        for (int tail = 0; tail < 10; ++tail) {
            if (pass(head, tail)) {
                line +=
                    (line.empty() ? "" : " ") + std::to_string(head) + "xx" + std::to_string(tail);
            }
        }
    }
    return line;
}

size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(EvalCommand, HeadDigitsThreeAndSeven) {
    const CliResult result = RunCli({"eval", "1", "3,7"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "稳上头:[容]3,7\n20\n" +
                              CodesWhere([](int h, int) { return h == 3 || h == 7; }) + "\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(CodesWhere([](int h, int) { return h == 3; }).substr(0, 9), "3xx0 3xx1");
}

TEST(EvalCommand, NoPassingCodeGivesAnEmptyThirdLine) {
    const CliResult result = RunCli({"eval", "1", ""});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "稳上头:[容]\n0\n\n");
}

TEST(EvalCommand, FlagsChangeTheTextAndTheClauseCombination) {
    const std::string pairs = "12与34相配,5与67相配";
    const CliResult any = RunCli({"eval", "9", pairs, "--assured"});
    EXPECT_EQ(any.status, 0);
    const CliResult all = RunCli({"--all-match", "--tolerance", "3", "eval", "9", pairs});
    EXPECT_EQ(all.status, 2) << "options belong after the command";
    const CliResult every = RunCli({"eval", "--all-match", "9", pairs, "--tolerance", "3"});
    EXPECT_EQ(every.status, 0) << every.err;

    auto has = [](const std::string& digits, int digit) {
        return digits.find(static_cast<char>('0' + digit)) != std::string::npos;
    };
    auto pair = [&](const std::string& l, const std::string& r, int h, int t) {
        return (has(l, h) && has(r, t)) || (has(r, h) && has(l, t)) ||
               (!has(l + r, h) && !has(l + r, t));
    };
    const std::string eitherCodes =
        CodesWhere([&](int h, int t) { return pair("12", "34", h, t) || pair("5", "67", h, t); });
    const std::string bothCodes =
        CodesWhere([&](int h, int t) { return pair("12", "34", h, t) && pair("5", "67", h, t); });
    const auto count = [](const std::string& line) {
        return line.empty() ? 0 : std::count(line.begin(), line.end(), ' ') + 1;
    };
    EXPECT_EQ(any.out, "稳搭配:[铁]或者12与34相配,或者5与67相配\n" +
                           std::to_string(count(eitherCodes)) + "\n" + eitherCodes + "\n");
    EXPECT_EQ(every.out, "稳搭配:[容]并且12与34相配,并且5与67相配\n" +
                             std::to_string(count(bothCodes)) + "\n" + bothCodes + "\n");
}

TEST(EvalCommand, EveryKindAnswersInThreeLines) {
    const char* const names[] = {"稳上头", "不上头", "稳上尾", "不上尾", "头尾数",
                                 "排除数", "头尾合", "排除合", "稳搭配"};
    for (int kind = 1; kind <= 9; ++kind) {
        const CliResult result = RunCli({"eval", std::to_string(kind), "5"});
        EXPECT_EQ(result.status, 0) << kind;
        EXPECT_EQ(Lines(result.out), 3U) << kind;
        EXPECT_EQ(result.out.rfind(std::string(names[kind - 1]) + ":[容]", 0), 0U) << result.out;
    }
    EXPECT_EQ(RunCli({"eval", "8", "18"}).out,
              "排除合:[容]18\n99\n" + CodesWhere([](int h, int t) { return h + t != 18; }) + "\n");
}

TEST(EvalCommand, AnItemThatIsNotANumberIsAnEvaluationError) {
    const CliResult result = RunCli({"eval", "7", "1,x"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "tovarin-cli eval: 'x' is not a valid integer value\n");
}

// The reason after the command's prefix, then the usage line.
std::string EvalUsageError(const std::string& reason) {
    return "tovarin-cli eval: " + reason +
           "\nUsage: tovarin-cli eval KIND PARAM [--assured] [--all-match] [--tolerance N]\n";
}

TEST(EvalCommand, BadArgumentsGiveTheReasonTheUsageAndStatusTwo) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"eval", "0", "1"}, "KIND must be 1..9"},
        {{"eval", "10", "1"}, "KIND must be 1..9"},
        {{"eval", "-1", "1"}, "KIND must be 1..9"},
        {{"eval", "x", "1"}, "KIND needs a number, not x"},
        {{"eval", "1"}, "missing PARAM"},
        {{"eval"}, "missing KIND"},
        {{"eval", "1", "2", "3"}, "unexpected argument 3"},
        {{"eval", "1", "2", "--tolerance"}, "--tolerance needs a value"},
        {{"eval", "1", "2", "--tolerance", "two"}, "--tolerance needs a number, not two"},
        {{"eval", "1", "2", "--tolerance", "1", "--tolerance", "2"},
         "--tolerance given more than once"},
        {{"eval", "1", "2", "--bogus"}, "unknown option --bogus"},
        {{"eval", "1", "2", "--bogus=1"}, "unknown option --bogus"},
        {{"eval", "1", "2", "--assured=yes"}, "--assured takes no value"},
    };
    for (const auto& [args, reason] : bad) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << reason;
        EXPECT_EQ(result.out, "") << reason;
        EXPECT_EQ(result.err, EvalUsageError(reason));
    }
    const CliResult unknown = RunCli({"nosuchcommand"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "tovarin-cli: unknown command nosuchcommand (see --help)\n");
}

TEST(EvalCommand, HelpListsTheCommands) {
    const CliResult result = RunCli({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("eval KIND PARAM [--assured] [--all-match] [--tolerance N]"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace tovarin
