#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/base/Errors.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
    TDocumentUndo undo{net, projects};

    std::string Image() const { return BuildDocumentImage(net, projects); }
    bool Modified() const { return net.Modified() || projects.Modified(); }
};

// Draws and two projects with conditions, saved as it stands.
void Fill(Doc& doc) {
    test::AddDraws(doc.net, {"0372915", "9999999", "1234567"});
    TSeqPrj& first = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    for (int kind = 1; kind <= 9; ++kind) {
        TBaseBind& bind = first.AddBind(CreateBind(kind, first.Options()));
        bind.SetParam(kind == 9 ? "12与34相配" : "1,3,5");
        bind.Checked = kind % 3 != 0;
    }
    TSeqPrj& second = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    TPrjOptions options = second.Options();
    options.MissMax = 3;
    second.SetOptions(options);
    doc.net.ClearModified();
    doc.projects.ClearModified();
    doc.undo.Reset();
}

TEST(DocumentUndo, EachKindOfChangeComesBackByteForByte) {
    struct Command {
        const char* name;
        void (*run)(Doc&);
    };
    const Command commands[] = {
        {"输入开奖号码", [](Doc& d) { d.net.SetNum(1, 3, 0); }},
        {"增加开奖号码", [](Doc& d) { d.net.Add(); }},
        {"插入开奖号码", [](Doc& d) { d.net.Insert(0); }},
        {"删除开奖号码", [](Doc& d) { d.net.Delete(2); }},
        {"清空开奖号码表", [](Doc& d) { d.net.Clear(); }},
        {"导入开奖号码", [](Doc& d) { d.net.Replace(ParseDrawText("1111111\r\n2222222\r\n")); }},
        {"修改期号和日期",
         [](Doc& d) {
             d.net.SetLabelDate(1, *TLabel::Parse("2026150"), *TDrawDate::Parse("2026-12-06"));
         }},
        {"切换游戏", [](Doc& d) { d.net.SetGame(TGame::Qxc); }},
        {"导入七星彩",
         [](Doc& d) {
             std::vector<TSeq> rows(1);
             rows[0].SetNum(6, 14);
             rows[0].SetLabel(*TLabel::Parse("26001"));
             d.net.Replace(std::move(rows), TGame::Qxc);
         }},
        {"创建方案", [](Doc& d) { d.projects.AddPrj(std::make_unique<TSeqPrj>(d.net)); }},
        {"删除方案", [](Doc& d) { d.projects.Del(0); }},
        {"清空方案", [](Doc& d) { d.projects.ClearPrjs(); }},
        {"移动方案", [](Doc& d) { d.projects.Move(1, 0); }},
        {"删除条件", [](Doc& d) { d.projects.GetSeqPrj(0).Del(4); }},
        {"清空条件", [](Doc& d) { d.projects.GetSeqPrj(0).ClearBinds(); }},
        {"上移条件", [](Doc& d) { d.projects.GetSeqPrj(0).ExChange(2, 3); }},
        {"勾选条件", [](Doc& d) { d.projects.GetSeqPrj(0).SetChecked(0, false); }},
        {"修改条件",
         [](Doc& d) {
             TSeqPrj& project = d.projects.GetSeqPrj(0);
             auto bind = CreateBind(2, project.Options());
             bind->SetParam("7,8");
             project.SetBind(1, std::move(bind));
         }},
        {"修改方案属性",
         [](Doc& d) {
             TSeqPrj& project = d.projects.GetSeqPrj(1);
             TPrjOptions options = project.Options();
             options.TargetSeq = 99;
             options.HeadLimit = true;
             project.SetOptions(options);
         }},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.name);
        Doc doc;
        Fill(doc);
        const std::string before = doc.Image();
        doc.undo.Run(command.name, {0, 1, 2}, [&] { command.run(doc); });
        const std::string after = doc.Image();
        ASSERT_NE(after, before);
        EXPECT_EQ(doc.undo.History().UndoName(), command.name);

        EXPECT_EQ(doc.undo.Undo({5, 6, 7}), (TDocSelection{0, 1, 2}));
        EXPECT_EQ(doc.Image(), before);
        EXPECT_FALSE(doc.Modified());

        EXPECT_EQ(doc.undo.Redo({0, 1, 2}), (TDocSelection{5, 6, 7}));
        EXPECT_EQ(doc.Image(), after);
        EXPECT_TRUE(doc.Modified());
    }
}

TEST(DocumentUndo, RestoredProjectsLiveOnTheOneDrawTable) {
    Doc doc;
    Fill(doc);
    doc.undo.Run("清空方案", {}, [&] { doc.projects.ClearPrjs(); });
    doc.undo.Undo({});
    ASSERT_EQ(doc.projects.PrjCount(), 2);
    for (int i = 0; i < doc.projects.PrjCount(); ++i) {
        EXPECT_EQ(&doc.projects.GetSeqPrj(i).CodeNet(), &doc.net);
        EXPECT_EQ(doc.projects.GetSeqPrj(i).Options().CodeNet, &doc.net);
    }
    EXPECT_EQ(doc.projects.GetSeqPrj(0).BindCount(), 9);
}

TEST(DocumentUndo, ACommandThatChangesNothingLeavesNoStep) {
    Doc doc;
    doc.undo.Run("清空开奖号码表", {}, [&] { doc.net.Clear(); });
    EXPECT_FALSE(doc.undo.History().CanUndo());
    const TDocumentUndo::TPending pending = doc.undo.Begin("增加开奖号码", {});
    EXPECT_FALSE(doc.undo.Commit(pending));
    doc.net.Add();
    EXPECT_TRUE(doc.undo.Commit(pending));
    EXPECT_EQ(doc.undo.History().UndoName(), "增加开奖号码");

    // Changes that leave the document as it was, and check marks, which
    // are no part of it.
    Fill(doc);
    const std::pair<const char*, void (*)(Doc&)> sameAgain[] = {
        {"same digit", [](Doc& d) { d.net.SetNum(0, 0, d.net.GetNum(0, 0)); }},
        {"same table", [](Doc& d) { d.net.Replace(d.net.Rows()); }},
        {"marks", [](Doc& d) { d.net.SelectAll(); }},
        {"same check", [](Doc& d) { d.projects.GetSeqPrj(0).SetChecked(0, true); }},
        {"changed back",
         [](Doc& d) {
             d.projects.GetSeqPrj(0).SetChecked(0, false);
             d.projects.GetSeqPrj(0).SetChecked(0, true);
             d.projects.Move(0, 1);
             d.projects.Move(1, 0);
         }},
        {"settings kept",
         [](Doc& d) { d.projects.GetSeqPrj(1).SetOptions(d.projects.GetSeqPrj(1).Options()); }},
    };
    for (const auto& [name, command] : sameAgain) {
        SCOPED_TRACE(name);
        doc.undo.Run(name, {}, [&] { command(doc); });
        EXPECT_FALSE(doc.undo.History().CanUndo());
    }
}

TEST(DocumentUndo, AFailingCommandIsTakenBackAndItsErrorGoesOn) {
    Doc doc;
    Fill(doc);
    const std::string before = doc.Image();
    int rolledBack = 0;
    doc.undo.OnRolledBack = [&] { ++rolledBack; };
    EXPECT_THROW(doc.undo.Run("删除", {},
                              [&] {
                                  doc.net.Clear();
                                  doc.projects.Del(7);
                              }),
                 Exception);
    EXPECT_EQ(doc.Image(), before);
    EXPECT_EQ(rolledBack, 1);
    EXPECT_FALSE(doc.undo.History().CanUndo());
    EXPECT_FALSE(doc.projects.Modified());
    // A command that fails before changing anything needs no going back.
    EXPECT_THROW(doc.undo.Run("x", {}, [] { throw std::runtime_error("stop"); }),
                 std::runtime_error);
    EXPECT_EQ(rolledBack, 1);
    EXPECT_FALSE(doc.undo.History().CanUndo());
}

TEST(DocumentUndo, UndoingBackToTheSavedStateClearsModified) {
    Doc doc;
    Fill(doc);
    doc.undo.Run("增加开奖号码", {}, [&] { doc.net.Add(); });
    doc.undo.Run("增加开奖号码", {}, [&] { doc.net.Add(); });
    // As a save does it.
    doc.net.ClearModified();
    doc.projects.ClearModified();
    doc.undo.MarkSaved();
    const std::string saved = doc.Image();

    doc.undo.Undo({});
    EXPECT_TRUE(doc.Modified());
    doc.undo.Undo({});
    EXPECT_TRUE(doc.Modified());
    doc.undo.Redo({});
    EXPECT_TRUE(doc.Modified());
    doc.undo.Redo({});
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Image(), saved);
}

TEST(DocumentUndo, TypedDigitsOfOneDrawAreOneStep) {
    Doc doc;
    const std::string before = doc.Image();
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        doc.undo.Run(
            "输入开奖号码", {},
            [&] {
                if (pos == 0) {
                    doc.net.Add();
                }
                doc.net.SetNum(0, pos, pos + 1);
            },
            "row 0");
    }
    EXPECT_EQ(test::DigitsOf(doc.net, 0), "1234567");
    EXPECT_EQ(doc.undo.History().UndoCount(), 1U);
    doc.undo.Undo({});
    EXPECT_EQ(doc.Image(), before);
}

TEST(DocumentUndo, MenuCaptionsAndStatusTexts) {
    EXPECT_EQ(UndoCaption("清空开奖号码表"), "撤销：清空开奖号码表");
    EXPECT_EQ(RedoCaption("清空开奖号码表"), "重做：清空开奖号码表");
    EXPECT_EQ(UndoCaption(""), "撤销");
    EXPECT_EQ(RedoCaption(""), "重做");
    EXPECT_EQ(ClearedDrawsText(365), "已清空365期开奖号码，可撤销");
    EXPECT_EQ(ReplacedDrawsText(365, 361), "已用361期开奖号码替换原有的365期，可撤销");
    EXPECT_EQ(DeletedPrjsText(2), "已删除2个方案，可撤销");
    EXPECT_EQ(ClearedPrjsText(4), "已清空4个方案，可撤销");
    EXPECT_EQ(ClearedBindsText(12), "已清空12个条件，可撤销");
}

// Random edits of every kind, a few to a step, some typed into one draw as
// a group and some made outside any command: going back step by step
// passes through every state the document had, byte for byte, and forward
// again likewise.
TEST(DocumentUndo, RandomEditsGoBackAndForthByteForByte) {
    using Edit = void (*)(Doc&, std::mt19937&);
    const auto pick = [](std::mt19937& random, int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    const auto draw = [](std::mt19937& random) {
        TSeq seq;
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            seq.SetNum(pos, static_cast<int>(random() % 10));
        }
        return seq;
    };
    static const Edit edits[] = {
        [](Doc& d, std::mt19937& r) {
            if (d.net.Count() > 0) {
                d.net.SetNum(static_cast<int>(r() % d.net.Count()), static_cast<int>(r() % 7),
                             static_cast<int>(r() % 10));
            }
        },
        [](Doc& d, std::mt19937&) { d.net.Add(); },
        [](Doc& d, std::mt19937& r) {
            if (d.net.Count() > 0) {
                d.net.Insert(static_cast<int>(r() % d.net.Count()));
            }
        },
        [](Doc& d, std::mt19937& r) {
            if (d.net.Count() > 0) {
                d.net.Delete(static_cast<int>(r() % d.net.Count()));
            }
        },
        [](Doc& d, std::mt19937& r) {
            if (r() % 4 == 0) {
                d.net.Clear();
            }
        },
        [](Doc& d, std::mt19937& r) {
            if (d.net.Count() > 0) {
                d.net.SetSelected(static_cast<int>(r() % d.net.Count()), true);
            }
        },
        [](Doc& d, std::mt19937& r) {
            d.projects.AddPrj(std::make_unique<TSeqPrj>(d.net))
                .AddBind(CreateBind(1 + static_cast<int>(r() % 9), TPrjOptions()));
        },
        [](Doc& d, std::mt19937& r) {
            if (d.projects.PrjCount() > 0) {
                d.projects.Del(static_cast<int>(r() % d.projects.PrjCount()));
            }
        },
        [](Doc& d, std::mt19937& r) {
            if (d.projects.PrjCount() > 1) {
                d.projects.Move(static_cast<int>(r() % d.projects.PrjCount()), 0);
            }
        },
        [](Doc& d, std::mt19937& r) {
            if (d.projects.PrjCount() > 0) {
                TSeqPrj& project =
                    d.projects.GetSeqPrj(static_cast<int>(r() % d.projects.PrjCount()));
                switch (r() % 4) {
                    case 0:
                        project.AddBind(CreateBind(2, project.Options())).SetParam("1,3,5");
                        break;
                    case 1:
                        project.InvertChecks();
                        break;
                    case 2:
                        if (project.BindCount() > 0) {
                            project.Del(static_cast<int>(r() % project.BindCount()));
                        }
                        break;
                    default: {
                        TPrjOptions options = project.Options();
                        options.MissMax = static_cast<int>(r() % 5);
                        options.HeadLimit = !options.HeadLimit;
                        project.SetOptions(options);
                    }
                }
            }
        },
    };
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Doc doc;
        Fill(doc);
        std::vector<std::string> images{doc.Image()};
        for (int step = 0; step < 30; ++step) {
            if (pick(random, 6) == 0) {
                // Outside any command: it joins the newest step.
                edits[pick(random, std::size(edits))](doc, random);
                images.back() = doc.Image();
                continue;
            }
            if (pick(random, 5) == 0) {
                const int row = doc.net.Count();
                for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
                    doc.undo.Run(
                        "输入开奖号码", {},
                        [&] {
                            if (pos == 0) {
                                doc.net.Add();
                            }
                            doc.net.SetSeq(row, draw(random));
                        },
                        "row " + std::to_string(row));
                }
            } else {
                const int count = 1 + pick(random, 3);
                doc.undo.Run("x", {}, [&] {
                    for (int i = 0; i < count; ++i) {
                        edits[pick(random, std::size(edits))](doc, random);
                    }
                });
            }
            // A new step, or one the edits joined (or none).
            if (doc.undo.History().UndoCount() == images.size()) {
                images.push_back(doc.Image());
            } else {
                images.back() = doc.Image();
            }
        }
        ASSERT_EQ(doc.undo.History().UndoCount(), images.size() - 1);
        for (size_t i = images.size() - 1; i > 0; --i) {
            doc.undo.Undo({});
            ASSERT_EQ(doc.Image(), images[i - 1]) << "undo to state " << i - 1;
        }
        for (size_t i = 1; i < images.size(); ++i) {
            doc.undo.Redo({});
            ASSERT_EQ(doc.Image(), images[i]) << "redo to state " << i;
        }
    }
}

TEST(DocumentUndo, AStepCostsWhatItsCommandChanged) {
    Doc doc;
    Fill(doc);
    doc.net.Replace(std::vector<TSeq>(100000));
    doc.undo.Reset();
    struct Case {
        const char* name;
        void (*run)(Doc&);
        size_t atLeast;
        size_t atMost;
    };
    const size_t table = 100000 * sizeof(TSeq);
    const Case cases[] = {
        {"typed digit", [](Doc& d) { d.net.SetNum(50000, 3, 7); }, 1, 400},
        {"deleted draw", [](Doc& d) { d.net.Delete(0); }, 1, 400},
        {"checked condition", [](Doc& d) { d.projects.GetSeqPrj(0).SetChecked(2, true); }, 1, 1000},
        {"cleared table", [](Doc& d) { d.net.Clear(); }, table, table + 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = doc.undo.History().Bytes();
        doc.undo.Run(c.name, {}, [&] { c.run(doc); });
        const size_t held = doc.undo.History().Bytes() - before;
        EXPECT_GE(held, c.atLeast);
        EXPECT_LE(held, c.atMost);
    }
}

TEST(DocumentUndo, TheCapHoldsForLargeDocuments) {
    Doc doc;
    doc.net.Replace(std::vector<TSeq>(10000));
    const size_t table = 10000 * sizeof(TSeq);
    TDocumentUndo small(doc.net, doc.projects, nullptr, table * 3);
    int told = 0;
    small.OnStepsDropped = [&told] { ++told; };
    // A step holds what its command changed: a typed digit a few bytes, a
    // replaced table the table before.
    for (int i = 0; i < 1000; ++i) {
        small.Run("输入开奖号码", {}, [&] { doc.net.SetNum(i, 0, 1 + i % 9); });
    }
    EXPECT_EQ(small.History().UndoCount(), 1000U);
    EXPECT_LT(small.History().Bytes(), 1000 * 300U);
    for (int i = 0; i < 10; ++i) {
        small.Run("导入开奖号码", {}, [&] { doc.net.Replace(std::vector<TSeq>(10000 + i)); });
    }
    EXPECT_LE(small.History().Bytes(), table * 3);
    EXPECT_EQ(small.History().UndoCount(), 2U);
    // Said once, however many steps go afterwards; again after a reset.
    EXPECT_EQ(told, 1);
    small.Reset();
    for (int i = 0; i < 4; ++i) {
        small.Run("清空开奖号码表", {}, [&] { doc.net.Replace(std::vector<TSeq>(10000 + i % 2)); });
    }
    EXPECT_EQ(told, 2);
}

}  // namespace
}  // namespace tovarin
