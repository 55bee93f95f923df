// The recommendation groups of a filtering run, driven through CalcAll with
// real conditions; the expected code sets are worked out here from the
// conditions' rules, not taken from the engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "core/base/Random.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/PrjTestSupport.h"
#include "core/settings/AppOptions.h"

namespace tovarin {
namespace {

using CodeSet = std::set<TCode>;

CodeSet CodesWhere(const std::function<bool(int head, int tail)>& rule) {
    CodeSet codes;
    for (TCode code = 0; code < 100; ++code) {
        if (rule(code / 10, code % 10)) {
            codes.insert(code);
        }
    }
    return codes;
}

CodeSet Intersection(const CodeSet& a, const CodeSet& b) {
    CodeSet both;
    for (const TCode code : a) {
        if (b.count(code) != 0) {
            both.insert(code);
        }
    }
    return both;
}

// One recommendation group as the report shows it.
struct Group {
    bool found = false;
    std::string title;
    CodeSet codes;
};

class RecommendTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::FixClock();
        RandSeed(11);
        settings.DetailLastChk = false;
    }
    void TearDown() override { SetClock({}); }

    void Configure(const std::function<void(TPrjOptions&)>& change) {
        TPrjOptions options = project.Options();
        change(options);
        project.SetOptions(options);
    }

    void AddBind(int kind, const char* param, bool assured) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = true;
    }

    // The title line beginning with prefix and the listing below it, which
    // must be codes "Dxx D" each followed by one blank, ascending, at most
    // ColsOfLineEd to a line, ended by an empty line.
    Group GroupOf(const std::string& prefix) const {
        Group group;
        const std::vector<std::string>& lines = pane.Lines;
        size_t at = 0;
        while (at < lines.size() && lines[at].rfind(prefix, 0) != 0) {
            ++at;
        }
        if (at == lines.size()) {
            return group;
        }
        group.found = true;
        group.title = lines[at];
        if (group.title.find("(共0组)：") != std::string::npos) {
            return group;  // an empty group has no listing at all
        }
        TCode last = -1;
        for (++at; at < lines.size() && !lines[at].empty(); ++at) {
            const std::string& line = lines[at];
            EXPECT_EQ(line.size() % 5, 0U) << line;
            EXPECT_LE(line.size() / 5, static_cast<size_t>(settings.ColsOfLineEd)) << line;
            for (size_t i = 0; i + 5 <= line.size(); i += 5) {
                EXPECT_EQ(line.substr(i + 1, 2), "xx") << line;
                EXPECT_EQ(line[i + 4], ' ') << line;
                const TCode code = (line[i] - '0') * 10 + (line[i + 3] - '0');
                EXPECT_GT(code, last) << "ascending: " << line;
                last = code;
                group.codes.insert(code);
            }
        }
        EXPECT_LT(at, lines.size()) << "a listing ends with an empty line";
        return group;
    }

    TCodeNet net;
    TSeqPrj project{net};
    TAppOptions settings;
    test::VectorPane pane;
};

// 排除数 0,1,2,3 as a tolerance condition: the 36 codes whose head and tail
// are both 4..9 pass (level 0), the other 64 get error 1.
const CodeSet kOutsideZeroToThree = CodesWhere([](int h, int t) { return h >= 4 && t >= 4; });

TEST_F(RecommendTest, LevelZeroOfThirtySixIsTakenWholeAndClosesTheFortyGroup) {
    Configure([](TPrjOptions& o) {
        o.Small = true;
        o.Tiny = true;
    });
    AddBind(6, "0,1,2,3", false);
    project.CalcAll(settings, &pane);

    ASSERT_EQ(kOutsideZeroToThree.size(), 36U);
    const Group large = GroupOf("大范围定位推荐40组(共");
    EXPECT_EQ(large.title, "大范围定位推荐40组(共36组)：");
    EXPECT_EQ(large.codes, kOutsideZeroToThree) << "36 >= 40 - 5: level 1 is not opened";
    // Each smaller group is drawn at random from level 0 alone, from scratch.
    const std::vector<std::pair<const char*, size_t>> smaller = {{"中范围定位推荐30组(共", 30},
                                                                 {"小范围定位推荐20组(共", 20},
                                                                 {"细范围定位推荐10组(共", 10}};
    for (const auto& [prefix, size] : smaller) {
        const Group group = GroupOf(prefix);
        ASSERT_TRUE(group.found) << prefix;
        EXPECT_EQ(group.title, prefix + std::to_string(size) + "组)：");
        EXPECT_EQ(group.codes.size(), size) << prefix;
        EXPECT_EQ(Intersection(group.codes, kOutsideZeroToThree), group.codes) << prefix;
    }
    EXPECT_EQ(pane.Lines.back(), "");
}

// 稳上头 4..9 and 排除合 4,6,17 (both assured) leave the heads 4..9 without
// 4xx0, 4xx2, 5xx1, 6xx0, 8xx9 and 9xx8; the tolerance 不上尾 0,1,2,3 then
// leaves 34 codes at error 0 (tails 4..9) and 20 at error 1 (tails 0..3).
TEST_F(RecommendTest, LevelZeroOfThirtyFourTakesExactlySixRandomCodesOfLevelOne) {
    Configure([](TPrjOptions& o) { o.Middle = false; });
    AddBind(1, "4,5,6,7,8,9", true);
    AddBind(8, "4,6,17", true);
    AddBind(4, "0,1,2,3", false);
    const auto kept = [](int h, int t) {
        const int sum = h + t;
        return h >= 4 && sum != 4 && sum != 6 && sum != 17;
    };
    const CodeSet level0 = CodesWhere([&](int h, int t) { return kept(h, t) && t >= 4; });
    const CodeSet level1 = CodesWhere([&](int h, int t) { return kept(h, t) && t <= 3; });
    ASSERT_EQ(level0.size(), 34U);
    ASSERT_EQ(level1.size(), 20U);

    std::set<CodeSet> drawnFromLevel1;
    for (const uint64_t seed : {1U, 2U, 3U, 4U, 5U}) {
        RandSeed(seed);
        project.CalcAll(settings, &pane);
        EXPECT_NE(
            std::find(pane.Lines.begin(), pane.Lines.end(), "第1期最终的筛选结果为总共54个号码"),
            pane.Lines.end());
        const Group large = GroupOf("大范围定位推荐40组(共");
        EXPECT_EQ(large.title, "大范围定位推荐40组(共40组)：");
        EXPECT_EQ(Intersection(large.codes, level0), level0) << "level 0 is taken whole";
        const CodeSet fromLevel1 = Intersection(large.codes, level1);
        EXPECT_EQ(fromLevel1.size(), 6U) << "seed " << seed;
        EXPECT_EQ(large.codes.size(), 40U);
        drawnFromLevel1.insert(fromLevel1);
        EXPECT_FALSE(GroupOf("中范围定位推荐30组(共").found);
    }
    EXPECT_GT(drawnFromLevel1.size(), 1U) << "the six are drawn at random";
}

TEST_F(RecommendTest, CodesAboveMissMaxCanBeRecommended) {
    Configure([](TPrjOptions& o) {
        o.MissMax = 0;
        o.FloatCount = 0;
        o.Middle = false;
    });
    AddBind(6, "0,1,2,3", false);
    project.CalcAll(settings, &pane);

    EXPECT_EQ(project.ResultCodes().ValidCount(), 36);
    const Group large = GroupOf("大范围定位推荐40组(共");
    EXPECT_EQ(large.title, "大范围定位推荐40组(共40组)：");
    EXPECT_EQ(Intersection(large.codes, kOutsideZeroToThree), kOutsideZeroToThree);
    int beyondTolerance = 0;
    for (const TCode code : large.codes) {
        if (kOutsideZeroToThree.count(code) == 0) {
            EXPECT_EQ(project.ResultCodes().GetMiss(code), 1) << code;
            EXPECT_FALSE(project.ResultCodes().GetValid(code)) << code;
            ++beyondTolerance;
        }
    }
    EXPECT_EQ(beyondTolerance, 4);
}

TEST_F(RecommendTest, RcMissBaseSkipsTheLowerLevels) {
    Configure([](TPrjOptions& o) {
        o.RcMissBase = 1;
        o.Middle = false;
    });
    AddBind(6, "0,1,2,3", false);
    project.CalcAll(settings, &pane);
    const Group large = GroupOf("大范围定位推荐40组(共");
    EXPECT_EQ(large.title, "大范围定位推荐40组(共40组)：");
    EXPECT_TRUE(Intersection(large.codes, kOutsideZeroToThree).empty())
        << "level 0 lies below RcMissBase";
}

TEST_F(RecommendTest, AssuredFailuresAreNeverRecommended) {
    Configure([](TPrjOptions& o) {
        o.Small = true;
        o.Tiny = true;
    });
    AddBind(1, "0,1,2", true);  // heads 0, 1, 2: 30 codes; the rest -1
    project.CalcAll(settings, &pane);
    const CodeSet heads012 = CodesWhere([](int h, int) { return h <= 2; });
    const Group large = GroupOf("大范围定位推荐40组(共");
    const Group middle = GroupOf("中范围定位推荐30组(共");
    EXPECT_EQ(large.title, "大范围定位推荐40组(共30组)：");
    EXPECT_EQ(large.codes, heads012);
    EXPECT_EQ(middle.title, "中范围定位推荐30组(共30组)：");
    EXPECT_EQ(middle.codes, heads012);
    EXPECT_EQ(GroupOf("小范围定位推荐20组(共").codes.size(), 20U);
    EXPECT_EQ(GroupOf("细范围定位推荐10组(共").codes.size(), 10U);
}

// A group whose flag is off still empties the set for the next one: with
// Large and Small on, the 20-group is 20 codes, not the 40 of the first.
TEST_F(RecommendTest, EveryGroupIsBuiltFromScratch) {
    Configure([](TPrjOptions& o) {
        o.Middle = false;
        o.Small = true;
    });
    project.CalcAll(settings, &pane);
    const Group large = GroupOf("大范围定位推荐40组(共");
    const Group small = GroupOf("小范围定位推荐20组(共");
    EXPECT_EQ(large.title, "大范围定位推荐40组(共40组)：");
    EXPECT_EQ(large.codes.size(), 40U);
    EXPECT_EQ(small.title, "小范围定位推荐20组(共20组)：");
    EXPECT_EQ(small.codes.size(), 20U);
    EXPECT_FALSE(GroupOf("中范围定位推荐30组(共").found);
    EXPECT_FALSE(GroupOf("细范围定位推荐10组(共").found);
}

struct PickCase {
    int have;     // codes already in the group (0..have-1)
    int offered;  // codes of the level (50..50+offered-1)
    int size;
    int floatCount;
    int expected;  // codes in the group afterwards
    bool wholeLevel;
};

// Shown in test names and failure messages instead of the case's raw bytes.
void PrintTo(const PickCase& c, std::ostream* out) {
    *out << "have " << c.have << " offered " << c.offered << " size " << c.size << " float "
         << c.floatCount;
}

class PickCodesRule : public ::testing::TestWithParam<PickCase> {};

TEST_P(PickCodesRule, AddsAsTheThreeRulesSay) {
    const PickCase c = GetParam();
    TPrjOptions options;
    TCodes picked(options);
    TCodes level(options);
    picked.FailAll();
    level.FailAll();
    for (TCode code = 0; code < c.have; ++code) {
        picked.ResetCode(code);
    }
    for (TCode code = 50; code < 50 + c.offered; ++code) {
        level.ResetCode(code);
    }
    RandSeed(3);
    TSeqPrj::PickCodes(picked, level, c.size, c.floatCount);
    EXPECT_EQ(picked.ValidCount(), c.expected);
    for (TCode code = 0; code < c.have; ++code) {
        EXPECT_TRUE(picked.GetValid(code)) << "codes already picked stay";
    }
    int fromLevel = 0;
    for (TCode code = 50; code < 50 + c.offered; ++code) {
        fromLevel += picked.GetValid(code) ? 1 : 0;
    }
    EXPECT_EQ(fromLevel, c.expected - c.have);
    // The count the backtest reads the group's chances from is the same.
    EXPECT_EQ(TSeqPrj::PickCount(c.have, c.offered, c.size, c.floatCount), fromLevel);
    if (c.wholeLevel) {
        EXPECT_EQ(fromLevel, c.offered);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PickCodesRule,
    ::testing::Values(PickCase{35, 20, 40, 5, 35, false},   // at size - float: nothing
                      PickCase{34, 20, 40, 5, 40, false},   // one below: fill to the size
                      PickCase{30, 10, 40, 5, 40, true},    // exactly the size: whole level
                      PickCase{30, 11, 40, 5, 40, false},   // one over: sampled
                      PickCase{0, 36, 40, 5, 36, true},     //
                      PickCase{39, 20, 40, 0, 40, false},   // float 0 fills the last place
                      PickCase{40, 20, 40, 0, 40, false},   // full
                      PickCase{0, 0, 10, 5, 0, true},       // an empty level adds nothing
                      PickCase{0, 10, 10, 20, 0, false}));  // a float above the size: nothing

// The fill draws every code 0..99 alike: over many groups of 40 out of 100,
// each code is picked about 40 % of the time, code 0 and code 99 included.
TEST(PickCodes, RandomFillIsUniformOverAllHundredCodes) {
    TPrjOptions options;
    TCodes all(options);
    all.ResetAll();
    std::vector<int> chosen(100, 0);
    RandSeed(2024);
    constexpr int kRounds = 3000;
    for (int round = 0; round < kRounds; ++round) {
        TCodes picked(options);
        picked.FailAll();
        TSeqPrj::PickCodes(picked, all, 40, 5);
        ASSERT_EQ(picked.ValidCount(), 40);
        for (TCode code = 0; code < 100; ++code) {
            chosen[static_cast<size_t>(code)] += picked.GetValid(code) ? 1 : 0;
        }
    }
    // Mean 1200, standard deviation about 27: allow five of them.
    for (TCode code = 0; code < 100; ++code) {
        EXPECT_NEAR(chosen[static_cast<size_t>(code)], 1200, 135) << "code " << code;
    }
}

TEST(Random, HundredIsUniformOverZeroToNinetyNine) {
    RandSeed(99);
    std::vector<int> seen(100, 0);
    constexpr int kDraws = 200000;
    for (int i = 0; i < kDraws; ++i) {
        const int value = Random(100);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 99);
        ++seen[static_cast<size_t>(value)];
    }
    double chiSquare = 0;
    for (const int count : seen) {
        const double expected = kDraws / 100.0;
        chiSquare += (count - expected) * (count - expected) / expected;
        EXPECT_NEAR(count, 2000, 250);
    }
    // 99 degrees of freedom: the 99.9 % point is about 149.
    EXPECT_LT(chiSquare, 149.0);
}

// The groups a run shows are kept as listed, the random draws included,
// and forgotten when the run no longer is the project's.
TEST_F(RecommendTest, ShownGroupsAreTheReportsGroups) {
    EXPECT_FALSE(project.ShownGroups());
    AddBind(1, "4,5,6,7,8,9", true);
    AddBind(8, "4,6,17", true);
    AddBind(4, "0,1,2,3", false);
    for (const uint64_t seed : {1U, 2U}) {
        RandSeed(seed);
        project.CalcAll(settings, &pane);
        ASSERT_TRUE(project.ShownGroups());
        const std::vector<TShownGroup>& shown = *project.ShownGroups();
        ASSERT_EQ(shown.size(), 2U);
        for (const auto& [index, prefix, size] :
             {std::tuple{0U, "大范围定位推荐40组(共", 40}, {1U, "中范围定位推荐30组(共", 30}}) {
            const Group group = GroupOf(prefix);
            EXPECT_EQ(shown[index].Size, size);
            EXPECT_EQ(CodeSet(shown[index].Codes.begin(), shown[index].Codes.end()), group.codes);
            EXPECT_TRUE(std::is_sorted(shown[index].Codes.begin(), shown[index].Codes.end()));
        }
    }
    project.SetChecked(2, false);
    EXPECT_FALSE(project.ShownGroups());
    project.CalcAll(settings, &pane);
    project.CalcOne(0, settings, &pane);
    EXPECT_FALSE(project.ShownGroups());
}

}  // namespace
}  // namespace tovarin
