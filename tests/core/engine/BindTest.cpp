#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"

namespace tovarin {
namespace {

using Pass = std::function<bool(int head, int tail)>;

bool HasDigit(const std::string& digits, int digit) {
    return digits.find(static_cast<char>('0' + digit)) != std::string::npos;
}

// The pairing rule written out on its own: the code completes the pair in
// one orientation, or neither of its digits belongs to the pair at all.
bool PairPasses(const std::string& left, const std::string& right, int head, int tail) {
    if ((HasDigit(left, head) && HasDigit(right, tail)) ||
        (HasDigit(right, head) && HasDigit(left, tail))) {
        return true;
    }
    const std::string both = left + right;
    return !HasDigit(both, head) && !HasDigit(both, tail);
}

std::vector<int> PassingCodes(const TCodes& codes) {
    std::vector<int> passing;
    for (TCode code = 0; code < codes.Count(); ++code) {
        if (codes.GetMiss(code) == 0) {
            passing.push_back(code);
        } else {
            EXPECT_EQ(codes.GetMiss(code), -1) << "a condition gives only 0 or -1";
        }
    }
    return passing;
}

std::vector<int> Expected(const Pass& pass) {
    std::vector<int> passing;
    for (int code = 0; code < 100; ++code) {
        if (pass(code / 10, code % 10)) {
            passing.push_back(code);
        }
    }
    return passing;
}

struct KindRow {
    int kind;
    const char* param;
    bool allMatch;
    Pass pass;
};

auto In(std::vector<int> values) {
    return [values](int value) {
        for (const int v : values) {
            if (v == value) {
                return true;
            }
        }
        return false;
    };
}

const std::vector<KindRow>& KindRows() {
    static const std::vector<KindRow> rows = {
        {1, "3,7", false, [](int h, int) { return h == 3 || h == 7; }},
        {1, "", false, [](int, int) { return false; }},
        {1, "12,5", false, [](int h, int) { return h == 1 || h == 5; }},
        {1, "1, 3", false, [](int h, int) { return h == 1; }},  // " 3" starts with a blank
        {1, " 3 ", false, [](int h, int) { return h == 3; }},   // the whole text is trimmed
        {1, "a,x,稳", false, [](int, int) { return false; }},
        {1, ",,0,,", false, [](int h, int) { return h == 0; }},
        {2, "0,9", false, [](int h, int) { return h != 0 && h != 9; }},
        {2, "", false, [](int, int) { return true; }},
        {2, "0,1,2,3,4,5,6,7,8,9", false, [](int, int) { return false; }},
        {3, "5", false, [](int, int t) { return t == 5; }},
        {3, "", false, [](int, int) { return false; }},
        {3, "2,4,6", false, [](int, int t) { return t == 2 || t == 4 || t == 6; }},
        {4, "", false, [](int, int) { return true; }},
        {4, "1,2,3", false, [](int, int t) { return t > 3 || t == 0; }},
        {5, "1,3,5", false,
         [](int h, int t) {
             return In({1, 3, 5})(h) || In({1, 3, 5})(t);
         }},
        {5, "", false, [](int, int) { return false; }},
        {6, "5", false, [](int h, int t) { return h != 5 && t != 5; }},
        {6, "", false, [](int, int) { return true; }},
        {6, "0,9", false,
         [](int h, int t) {
             return !In({0, 9})(h) && !In({0, 9})(t);
         }},
        {7, "18", false, [](int h, int t) { return h + t == 18; }},
        {7, "0", false, [](int h, int t) { return h + t == 0; }},
        {7, "8", false, [](int h, int t) { return h + t == 8; }},
        {7, "0,9,18", false,
         [](int h, int t) {
             return In({0, 9, 18})(h + t);
         }},
        {7, "", false, [](int, int) { return false; }},
        {7, "-1,19,100", false, [](int, int) { return false; }},
        {7, "1, 2,+3,04", false,
         [](int h, int t) {
             return In({1, 2, 3, 4})(h + t);
         }},
        {8, "8", false, [](int h, int t) { return h + t != 8; }},
        {8, "", false, [](int, int) { return true; }},
        {8, "10,11", false, [](int h, int t) { return h + t != 10 && h + t != 11; }},
        {9, "12与34相配", false, [](int h, int t) { return PairPasses("12", "34", h, t); }},
        {9, "12与34相配", true, [](int h, int t) { return PairPasses("12", "34", h, t); }},
        {9, "12与34相配,5与67相配", false,
         [](int h, int t) { return PairPasses("12", "34", h, t) || PairPasses("5", "67", h, t); }},
        {9, "12与34相配,5与67相配", true,
         [](int h, int t) { return PairPasses("12", "34", h, t) && PairPasses("5", "67", h, t); }},
        {9, "", false, [](int, int) { return true; }},
        {9, "", true, [](int, int) { return true; }},
        {9, " , ", false, [](int, int) { return true; }},
        {9, "0与9相配", false, [](int h, int t) { return PairPasses("0", "9", h, t); }},
    };
    return rows;
}

TEST(Bind, EveryKindPassesExactlyTheCodesOfItsRule) {
    for (const KindRow& row : KindRows()) {
        TPrjOptions options;
        std::unique_ptr<TBaseBind> bind = CreateBind(row.kind, options);
        ASSERT_NE(bind, nullptr);
        bind->SetParam(row.param);
        bind->AllMatch = row.allMatch;
        EXPECT_EQ(PassingCodes(bind->GetCodes()), Expected(row.pass))
            << "kind " << row.kind << " param '" << row.param << "' all " << row.allMatch;
    }
}

TEST(Bind, TheDocumentedExamples) {
    TPrjOptions options;
    auto wst = CreateBind(1, options);
    wst->SetParam("3,7");
    EXPECT_EQ(wst->GetCodes().ValidCount(), 20);
    EXPECT_EQ(wst->GetCodes().GetMiss(30), 0);
    EXPECT_EQ(wst->GetCodes().GetMiss(79), 0);
    EXPECT_EQ(wst->GetCodes().GetMiss(80), -1);

    auto pcs = CreateBind(6, options);
    pcs->SetParam("5");
    EXPECT_EQ(pcs->GetCodes().ValidCount(), 81);

    auto twh = CreateBind(7, options);
    twh->SetParam("18");
    EXPECT_EQ(PassingCodes(twh->GetCodes()), std::vector<int>{99});
    twh->SetParam("0");
    EXPECT_EQ(PassingCodes(twh->GetCodes()), std::vector<int>{0});
    twh->SetParam("8");
    EXPECT_EQ(PassingCodes(twh->GetCodes()), (std::vector<int>{8, 17, 26, 35, 44, 53, 62, 71, 80}));

    auto wdp = CreateBind(9, options);
    wdp->SetParam("12与34相配");
    const TCodes& pairs = wdp->GetCodes();
    for (TCode code : {13, 14, 23, 24, 31, 32, 41, 42, 0, 55, 99, 56}) {
        EXPECT_EQ(pairs.GetMiss(code), 0) << CodeToStr(code);
    }
    for (TCode code : {15, 63, 11, 12, 34, 33}) {
        EXPECT_EQ(pairs.GetMiss(code), -1) << CodeToStr(code);
    }
}

TEST(Bind, ANumberItemThatIsNotANumberFailsTheEvaluationAndStaysDirty) {
    TPrjOptions options;
    for (int kind : {7, 8}) {
        auto bind = CreateBind(kind, options);
        for (const char* bad : {"1,x", "1 ,2", "3.5", "0x1", "--1", "9999999999"}) {
            bind->SetParam(bad);
            try {
                bind->GetCodes();
                ADD_FAILURE() << bad << " must not evaluate";
            } catch (const EConvertError& error) {
                EXPECT_NE(std::string(error.what()).find("is not a valid integer value"),
                          std::string::npos);
            }
            EXPECT_TRUE(bind->Dirty()) << bad;
        }
        bind->SetParam("1,x");
        try {
            bind->GetCodes();
            ADD_FAILURE();
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
        }
        bind->SetParam("9");
        EXPECT_EQ(bind->GetCodes().ValidCount(), kind == 7 ? 10 : 90);
        EXPECT_FALSE(bind->Dirty());
        bind->SetParam("18,y");
        EXPECT_THROW(bind->GetCodes(), EConvertError);
        EXPECT_EQ(bind->Codes().ValidCount(), kind == 7 ? 10 : 90)
            << "a refused parameter leaves the last result";
    }
}

TEST(Bind, DigitKindsIgnoreItemsThatAreNotDigits) {
    TPrjOptions options;
    auto bdt = CreateBind(2, options);
    bdt->SetParam("a,-,稳上头");
    EXPECT_EQ(bdt->GetCodes().ValidCount(), 100);
}

TEST(Bind, ConstructorsSetKindAndFlags) {
    TPrjOptions options;
    for (int kind = 1; kind <= kBindKindCount; ++kind) {
        auto bind = CreateBind(kind, options);
        ASSERT_NE(bind, nullptr);
        EXPECT_EQ(bind->Kind(), kind);
        EXPECT_EQ(bind->MultiClause, kind == 9);
        EXPECT_FALSE(bind->AllMatch);
        EXPECT_FALSE(bind->Assured);
        EXPECT_FALSE(bind->Checked);
        EXPECT_TRUE(bind->Dirty());
        EXPECT_EQ(bind->Param(), "");
    }
    EXPECT_EQ(CreateBind(0, options), nullptr);
    EXPECT_EQ(CreateBind(10, options), nullptr);
    EXPECT_EQ(CreateBind(-1, options), nullptr);
}

TEST(Bind, NameAndLabelTables) {
    const std::array<const char*, 10> names = {"",       "稳上头", "不上头", "稳上尾", "不上尾",
                                               "头尾数", "排除数", "头尾合", "排除合", "稳搭配"};
    const std::array<const char*, 10> hints = {"",
                                               "指定的数列必须在头位出现",
                                               "指定的数列不得在头位出现",
                                               "指定的数列必须在尾位出现",
                                               "指定的数列不得在尾位出现",
                                               "指定的数列在头位或者尾位出现",
                                               "指定的数列不在头位或者尾位出现",
                                               "头尾合值必须符合数列中的任何一个数",
                                               "头尾合值不属数列中的任何一个数",
                                               "头尾相搭配必须符合数列中的任何一个对。"};
    for (size_t kind = 0; kind < names.size(); ++kind) {
        EXPECT_STREQ(BindKindNames[kind], names[kind]);
        const std::string hint = kind == 0 ? "" : std::string(names[kind]) + "|" + hints[kind];
        EXPECT_EQ(BindNameHints[kind], hint);
    }
    EXPECT_STREQ(AllMatchLabels[0], "或者");
    EXPECT_STREQ(AllMatchLabels[1], "并且");
    EXPECT_STREQ(AssuredLabels[0], "[容]");
    EXPECT_STREQ(AssuredLabels[1], "[铁]");
}

TEST(Bind, GetTextOfEveryKind) {
    TPrjOptions options;
    const char* const names[] = {"稳上头", "不上头", "稳上尾", "不上尾",
                                 "头尾数", "排除数", "头尾合", "排除合"};
    for (int kind = 1; kind <= 8; ++kind) {
        auto bind = CreateBind(kind, options);
        bind->SetParam("1,3,5");
        EXPECT_EQ(bind->GetText(), std::string(names[kind - 1]) + ":[容]1,3,5");
        bind->Assured = true;
        EXPECT_EQ(bind->GetText(), std::string(names[kind - 1]) + ":[铁]1,3,5");
        bind->SetParam("");
        EXPECT_EQ(bind->GetText(), std::string(names[kind - 1]) + ":[铁]");
        bind->AllMatch = true;
        bind->SetParam(" ,1,,2 ");
        EXPECT_EQ(bind->GetText(), std::string(names[kind - 1]) + ":[铁] ,1,,2 ")
            << "a single-clause text shows the parameter as it is";
    }
}

TEST(Bind, GetTextOfClauseLists) {
    TPrjOptions options;
    auto wdp = CreateBind(9, options);
    wdp->SetParam("12与34相配,5与67相配");
    EXPECT_EQ(wdp->GetText(), "稳搭配:[容]或者12与34相配,或者5与67相配");
    wdp->AllMatch = true;
    wdp->Assured = true;
    EXPECT_EQ(wdp->GetText(), "稳搭配:[铁]并且12与34相配,并且5与67相配");
    wdp->SetParam("");
    EXPECT_EQ(wdp->GetText(), "稳搭配:[铁]");
    wdp->SetParam(" ,12与34相配,,");
    EXPECT_EQ(wdp->GetText(), "稳搭配:[铁]并且12与34相配");

    // The flag, not the kind, decides the form.
    auto wst = CreateBind(1, options);
    wst->MultiClause = true;
    wst->SetParam("1,2");
    EXPECT_EQ(wst->GetText(), "稳上头:[容]或者1,或者2");
}

// Counts its evaluations and writes the count into code 0, so a test can
// tell a cached result from a fresh one.
class TCountingBind final : public TBaseBind {
public:
    explicit TCountingBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(1); }
    void Calc() override {
        ++calls;
        MutableCodes().SetMiss(0, calls);
    }
    int calls = 0;
};

TEST(BindCache, GetCodesEvaluatesOnlyWhenDirty) {
    TPrjOptions options;
    TCountingBind bind(options);
    EXPECT_EQ(bind.GetCodes().GetMiss(0), 1);
    EXPECT_FALSE(bind.Dirty());
    EXPECT_EQ(bind.GetCodes().GetMiss(0), 1);
    EXPECT_EQ(bind.calls, 1);
    bind.SetParam("1");
    EXPECT_TRUE(bind.Dirty());
    EXPECT_EQ(bind.GetCodes().GetMiss(0), 2);
    bind.SetParam("1");
    EXPECT_EQ(bind.GetCodes().GetMiss(0), 3) << "the same text again still marks the cache";
    bind.Assured = true;
    bind.AllMatch = true;
    EXPECT_EQ(bind.GetCodes().GetMiss(0), 3) << "flags alone do not mark the cache";
    EXPECT_EQ(bind.calls, 3);
}

TEST(BindCache, AToleranceChangeBuildsAFreshSet) {
    TPrjOptions options;
    options.MissMax = 1;
    TCountingBind bind(options);
    EXPECT_EQ(bind.GetCodes().MissCount(), 1);
    options.MissMax = 2;
    const TCodes& codes = bind.GetCodes();
    EXPECT_EQ(codes.MissCount(), 2);
    EXPECT_EQ(bind.calls, 2);
    EXPECT_EQ(codes.GetMiss(0), 2);
    EXPECT_EQ(codes.GetMiss(1), 0) << "the new set starts clean";
    EXPECT_FALSE(bind.Dirty());
    bind.GetCodes();
    EXPECT_EQ(bind.calls, 2);
}

TEST(BindCache, AHeadLimitChangeBuildsAFreshSet) {
    TPrjOptions options;
    TCountingBind bind(options);
    EXPECT_FALSE(bind.GetCodes().HeadLimit());
    options.HeadLimit = true;
    EXPECT_TRUE(bind.GetCodes().HeadLimit());
    EXPECT_EQ(bind.calls, 2);
    options.HeadLimit = false;
    EXPECT_FALSE(bind.GetCodes().HeadLimit());
    EXPECT_EQ(bind.calls, 3);
}

TEST(BindCache, RealKindRecomputesOnToleranceChange) {
    TPrjOptions options;
    options.MissMax = 1;
    auto bind = CreateBind(1, options);
    bind->SetParam("3,7");
    EXPECT_EQ(bind->GetCodes().MissCount(), 1);
    options.MissMax = 2;
    const TCodes& codes = bind->GetCodes();
    EXPECT_EQ(codes.MissCount(), 2);
    EXPECT_EQ(codes.ValidCount(), 20);
}

TEST(BindAssign, AssignToCopiesParameterFlagsAndResultButNotKindOrChecked) {
    TPrjOptions sourceOptions;
    sourceOptions.MissMax = 3;
    TPrjOptions destOptions;
    destOptions.MissMax = 1;
    auto wst = CreateBind(1, sourceOptions);
    wst->SetParam("3,7");
    wst->Assured = true;
    wst->AllMatch = true;
    wst->Checked = true;
    wst->GetCodes();
    auto bdt = CreateBind(2, destOptions);
    bdt->Checked = false;
    bdt->MultiClause = true;

    wst->AssignTo(*bdt);
    EXPECT_EQ(bdt->Kind(), 2);
    EXPECT_FALSE(bdt->Checked);
    EXPECT_EQ(bdt->Param(), "3,7");
    EXPECT_TRUE(bdt->Assured);
    EXPECT_TRUE(bdt->AllMatch);
    EXPECT_FALSE(bdt->MultiClause);
    EXPECT_FALSE(bdt->Dirty()) << "Dirty is copied";
    EXPECT_EQ(bdt->Codes().ValidCount(), 20);
    EXPECT_EQ(bdt->Codes().MissCount(), 3) << "the result set is copied whole";
    EXPECT_EQ(bdt->GetText(), "不上头:[铁]3,7");

    // Its own options still rule: their tolerance differs from the copied
    // set, so the next GetCodes evaluates as kind 2.
    const TCodes& codes = bdt->GetCodes();
    EXPECT_EQ(codes.MissCount(), 1);
    EXPECT_EQ(codes.ValidCount(), 80);

    auto dirtySource = CreateBind(3, sourceOptions);
    dirtySource->Assign(*wst);
    EXPECT_EQ(dirtySource->Param(), "3,7");
    EXPECT_EQ(dirtySource->Kind(), 3);
    wst->SetParam("1");
    wst->AssignTo(*dirtySource);
    EXPECT_TRUE(dirtySource->Dirty());
}

TEST(BindAssign, AssignToOtherClassesIsRefused) {
    TPrjOptions options;
    auto bind = CreateBind(1, options);
    bind->SetParam("5");
    TCodes codes(options);
    try {
        bind->AssignTo(codes);
        ADD_FAILURE();
    } catch (const EBindException& error) {
        EXPECT_STREQ(error.what(), "TBaseBind.AssignTo Error!");
    }
    try {
        bind->Assign(codes);
        ADD_FAILURE();
    } catch (const EBindException&) {
        ADD_FAILURE() << "a code set refuses with its own message";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "TCodes.AssignTo Error!");
    }
    EXPECT_EQ(bind->Param(), "5");
}

}  // namespace
}  // namespace tovarin
