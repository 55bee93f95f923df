#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/ByteStream.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/draws/NetView.h"
#include "core/draws/TableExport.h"
#include "core/draws/TableImport.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using Lines = std::vector<std::string>;

std::string MessageOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const Exception& error) {
        return error.what();
    }
    return "(no exception)";
}

// A draw of numbers, the last of which may have two digits.
TSeq Draw(const std::vector<int>& numbers) {
    TSeq draw;
    for (size_t pos = 0; pos < numbers.size(); ++pos) {
        draw.SetNum(static_cast<int>(pos), numbers[pos]);
    }
    return draw;
}

Lines Texts(const TCodeNet& net) {
    Lines texts;
    for (const TSeq& draw : net.Rows()) {
        texts.push_back(NumbersText(draw, net.Game()));
    }
    return texts;
}

TEST(Game, NamesTitlesAndCounts) {
    struct Case {
        TGame game;
        const char* name;
        const char* title;
        int count;
        int lastMax;
    };
    for (const Case& c :
         {Case{TGame::Seven, "seven", "七位数", 7, 9}, Case{TGame::Qxc, "qxc", "七星彩", 7, 14},
          Case{TGame::Pl5, "pl5", "排列5", 5, 9}}) {
        EXPECT_EQ(GameName(c.game), c.name);
        EXPECT_EQ(GameOfName(c.name), c.game);
        EXPECT_EQ(GameTitle(c.game), c.title);
        EXPECT_EQ(NumberCount(c.game), c.count);
        EXPECT_EQ(MaxNumber(c.game, 0), 9);
        EXPECT_EQ(MaxNumber(c.game, c.count - 1), c.lastMax);
        EXPECT_EQ(MaxNumber(c.game, c.count), -1);
    }
    EXPECT_FALSE(GameOfName("Seven"));
    EXPECT_FALSE(GameOfName(""));
    EXPECT_EQ(GameTag(TGame::Seven), "");
    EXPECT_EQ(GameTag(TGame::Qxc), " [七星彩]");
}

TEST(Game, MisfitsInTheGamesWords) {
    struct Case {
        TGame game;
        int pos;
        int value;
        const char* misfit;
    };
    const Case cases[] = {
        {TGame::Seven, 6, 9, ""},
        {TGame::Seven, 6, 14, "第7个号码是14，七位数每位只能是0-9"},
        {TGame::Seven, 2, 10, "第3个号码是10，七位数每位只能是0-9"},
        {TGame::Qxc, 6, 14, ""},
        {TGame::Qxc, 6, 15, "第7个号码是15，七星彩的第7个号码只能是0-14"},
        {TGame::Qxc, 5, 10, "第6个号码是10，七星彩的前6个号码只能是0-9"},
        {TGame::Pl5, 4, 9, ""},
        {TGame::Pl5, 5, 0, ""},
        {TGame::Pl5, 5, 3, "第6个号码是3，排列5只有5个号码"},
        {TGame::Pl5, 4, 12, "第5个号码是12，排列5每位只能是0-9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NumberMisfit(c.game, c.pos, c.value), c.misfit) << c.pos << " " << c.value;
    }
}

TEST(Game, NumbersTextIsTheGamesNumbers) {
    EXPECT_EQ(NumbersText(Draw({3, 5, 8, 1, 2, 9, 0}), TGame::Seven), "3581290");
    EXPECT_EQ(NumbersText(Draw({3, 5, 8, 1, 2, 9, 0}), TGame::Qxc), "3581290");
    EXPECT_EQ(NumbersText(Draw({1, 2, 3, 4, 5, 6, 14}), TGame::Qxc), "1 2 3 4 5 6 14");
    EXPECT_EQ(NumbersText(Draw({0, 2, 3, 4, 5, 6, 10}), TGame::Qxc), "0 2 3 4 5 6 10");
    EXPECT_EQ(NumbersText(Draw({3, 5, 8, 1, 2}), TGame::Pl5), "35812");
}

TEST(Game, TheTableTakesTheGamesNumbersWhereTyped) {
    struct Case {
        TGame game;
        int pos;
        int value;
        bool taken;
    };
    const Case cases[] = {{TGame::Seven, 6, 9, true}, {TGame::Seven, 6, 10, false},
                          {TGame::Qxc, 6, 14, true},  {TGame::Qxc, 6, 15, false},
                          {TGame::Qxc, 5, 10, false}, {TGame::Pl5, 4, 9, true},
                          {TGame::Pl5, 5, 1, false},  {TGame::Pl5, 6, 0, true}};
    for (const Case& c : cases) {
        TCodeNet net;
        net.SetGame(c.game);
        net.Add();
        const std::string message = MessageOf([&] { net.SetNum(0, c.pos, c.value); });
        EXPECT_EQ(message, c.taken ? "(no exception)" : "TSeq.SetNum Error!") << c.value;
        EXPECT_EQ(net.GetNum(0, c.pos), c.taken ? c.value : 0);
    }
}

TEST(Game, SwitchingIsRefusedNamingTheFirstDrawThatDoesNotFit) {
    struct Case {
        TGame from;
        TGame to;
        std::vector<TSeq> rows;
        const char* refusal;  // empty: switched
    };
    const Case cases[] = {
        {TGame::Seven, TGame::Qxc, {Draw({3, 5, 8, 1, 2, 9, 0})}, ""},
        {TGame::Qxc, TGame::Seven, {Draw({3, 5, 8, 1, 2, 9, 9})}, ""},
        {TGame::Qxc,
         TGame::Seven,
         {Draw({1}), Draw({1, 2, 3, 4, 5, 6, 10}), Draw({1, 2, 3, 4, 5, 6, 14})},
         "第2期的第7个号码是10，七位数每位只能是0-9"},
        {TGame::Seven,
         TGame::Pl5,
         {Draw({1, 2, 3, 4, 5}), Draw({3, 5, 8, 1, 2, 9, 0})},
         "第2期的第6个号码是9，排列5只有5个号码"},
        {TGame::Qxc,
         TGame::Pl5,
         {Draw({1, 2, 3, 4, 5, 0, 14})},
         "第1期的第7个号码是14，排列5只有5个号码"},
        {TGame::Pl5, TGame::Qxc, {Draw({1, 2, 3, 4, 5})}, ""},
        {TGame::Seven, TGame::Pl5, {}, ""},
    };
    for (const Case& c : cases) {
        TCodeNet net;
        net.Replace(c.rows, c.from);
        net.ClearModified();
        int heard = 0;
        net.Subscribe([&heard](TNetChange) { ++heard; });
        const std::string message = MessageOf([&] { net.SetGame(c.to); });
        const bool refused = *c.refusal != '\0';
        EXPECT_EQ(message, refused ? c.refusal : "(no exception)");
        EXPECT_EQ(net.Game(), refused ? c.from : c.to);
        EXPECT_EQ(net.Modified(), !refused);
        EXPECT_EQ(heard, refused ? 0 : 1);
        EXPECT_EQ(net.Count(), static_cast<int>(c.rows.size()));
    }
}

TEST(Game, ReplaceRefusesDrawsTheGameCannotHold) {
    TCodeNet net;
    net.Replace({Draw({1, 2, 3, 4, 5, 6, 14})}, TGame::Qxc);
    EXPECT_EQ(MessageOf([&] {
                  net.Replace({Draw({1, 1, 1, 1, 1, 1, 1})}, TGame::Pl5);
              }),
              "第1期的第6个号码是1，排列5只有5个号码");
    EXPECT_EQ(net.Game(), TGame::Qxc);
    EXPECT_EQ(Texts(net), (Lines{"1 2 3 4 5 6 14"}));
}

// ---- the importer ------------------------------------------------------------------

// Each line read alone as the game: the numbers read, or the reason.
TEST(Game, ImporterReadsEachGamesLayouts) {
    struct Case {
        TGame game;
        const char* line;
        const char* read;  // the numbers, or "!" and the reason
    };
    const Case cases[] = {
        // 七星彩: every layout, the last number one or two digits.
        {TGame::Qxc, "2026001,1 2 3 4 5 6 14", "1 2 3 4 5 6 14"},
        {TGame::Qxc, "2026001 2026-01-01 1 2 3 4 5 6 14", "1 2 3 4 5 6 14"},
        {TGame::Qxc, "2026001,1,2,3,4,5,6,14", "1 2 3 4 5 6 14"},
        {TGame::Qxc, "2026001\t01\t02\t03\t04\t05\t06\t10", "1 2 3 4 5 6 10"},
        {TGame::Qxc, "2026001;\"1,2,3,4,5,6,12\"", "1 2 3 4 5 6 12"},
        {TGame::Qxc, "2026001,\"1 2 3 4 5 6 7\"", "1234567"},
        {TGame::Qxc, "2026001,1234569", "1234569"},
        {TGame::Qxc, "2026001,1,2,3,4,5,6,7", "1234567"},
        {TGame::Qxc, "第2026001期 1 2 3 4 5 6 14 星期四", "1 2 3 4 5 6 14"},
        {TGame::Qxc, "2026001,1 2 3 4 5 6 15", "!第7个号码是15，七星彩的第7个号码只能是0-14"},
        {TGame::Qxc, "2026001,1 2 12 4 5 6 1", "!第3个号码是12，七星彩的前6个号码只能是0-9"},
        {TGame::Qxc, "2026001,1 2 3 4 5 6 14 3", "!有8个数字，多于7个"},
        {TGame::Qxc, "2026001,1 2 3 4 5 14", "!第6个号码是14，七星彩的前6个号码只能是0-9"},
        {TGame::Qxc, "2026001,1 2 3 4 5 6", "!只有6个数字"},
        {TGame::Qxc, "2026001,\"1,2,3,4,5,6,15\"", "!第7个号码是15，七星彩的第7个号码只能是0-14"},
        // A trailing two-digit field after the last number is not a number.
        {TGame::Qxc, "2026001,1,2,3,4,5,6,14,88", "1 2 3 4 5 6 14"},
        // The seven digits say why a last number of two digits is refused.
        {TGame::Seven, "2026001,1 2 3 4 5 6 14", "!第7个号码是14，七位数每位只能是0-9"},
        {TGame::Seven, "2026001,01,02,03,04,05,06,07", "1234567"},
        // 排列5: five digits, or five fields.
        {TGame::Pl5, "2026001,35812", "35812"},
        {TGame::Pl5, "2026001 2026-01-01 3 5 8 1 2", "35812"},
        {TGame::Pl5, "2026001,\"3,5,8,1,2\"", "35812"},
        {TGame::Pl5, "2026001,3581290", "!有7个数字，多于5个"},
        {TGame::Pl5, "2026001,3 5 8 1 2 9", "!有6个数字，多于5个"},
        {TGame::Pl5, "2026001,3 5 8 1", "!只有4个数字"},
        {TGame::Pl5, "2026001,3 5 8 1 12", "!第5个号码是12，排列5每位只能是0-9"},
    };
    for (const Case& c : cases) {
        const TTableRead read = ReadDrawTable(c.line, c.game);
        EXPECT_EQ(read.Game, c.game);
        std::string got;
        if (read.Draws.size() == 1) {
            got = NumbersText(read.Draws[0].Draw, c.game);
        } else if (read.Skipped.size() == 1) {
            got = "!" + read.Skipped[0].Reason;
        }
        EXPECT_EQ(got, c.read) << c.line;
    }
}

TEST(Game, TheProgramsOwnBareLinesAreTheGamesNumbers) {
    const TTableRead qxc = ReadDrawTable(",,1 2 3 4 5 6 14\r\n,,1234567\r\n", TGame::Qxc);
    ASSERT_EQ(qxc.Draws.size(), 2U);
    EXPECT_EQ(NumbersText(qxc.Draws[0].Draw, TGame::Qxc), "1 2 3 4 5 6 14");
    EXPECT_FALSE(qxc.Draws[0].HasPeriod);
    const TTableRead pl5 = ReadDrawTable("35812\n3 5 8 1 2\n", TGame::Pl5);
    ASSERT_EQ(pl5.Draws.size(), 2U);
    EXPECT_EQ(pl5.Draws[1].Period, 2);
    EXPECT_EQ(NumbersText(pl5.Draws[1].Draw, TGame::Pl5), "35812");
}

// Draws that differ only in a last number of two digits are not taken for
// one another when an append looks for the table's last draws in the file.
TEST(Game, AppendByDigitsTellsTwoDigitLastNumbersApart) {
    const std::vector<TSeq> table = {Draw({1, 2, 3, 4, 5, 6, 14}), Draw({0, 0, 0, 0, 0, 0, 1}),
                                     Draw({0, 0, 0, 0, 0, 0, 2})};
    const TTableRead read =
        ReadDrawTable("1 2 3 4 5 7 4\n0 0 0 0 0 0 1\n0 0 0 0 0 0 2\n0 0 0 0 0 0 3\n", TGame::Qxc);
    EXPECT_FALSE(FindAppendStart(table, read.Draws).has_value());
}

TEST(Game, TableExportIsReadBackAsTheSameGame) {
    for (const TGame game : {TGame::Qxc, TGame::Pl5}) {
        TCodeNet net;
        const std::vector<TSeq> rows =
            game == TGame::Qxc
                ? std::vector<TSeq>{Draw({1, 2, 3, 4, 5, 6, 14}), Draw({0, 9, 8, 7, 6, 5, 4}),
                                    Draw({9, 9, 9, 9, 9, 9, 10})}
                : std::vector<TSeq>{Draw({3, 5, 8, 1, 2}), Draw({0, 0, 0, 0, 7})};
        net.Replace(rows, game);
        for (int row = 0; row < net.Count(); ++row) {
            net.SetLabelDate(row, TLabel(static_cast<uint32_t>(2026001 + row), 7),
                             *TDrawDate::Parse("2026-01-0" + std::to_string(row + 1)));
        }
        const std::string text = ExportTableText(net);
        if (game == TGame::Qxc) {
            EXPECT_EQ(text,
                      "\xEF\xBB\xBF期号,开奖日期,开奖号码\r\n2026001,2026-01-01,1 2 3 4 5 6 14\r\n"
                      "2026002,2026-01-02,0987654\r\n2026003,2026-01-03,9 9 9 9 9 9 10\r\n");
        } else {
            EXPECT_EQ(text,
                      "\xEF\xBB\xBF期号,开奖日期,开奖号码\r\n2026001,2026-01-01,35812\r\n"
                      "2026002,2026-01-02,00007\r\n");
        }
        TCodeNet back;
        back.Replace(ImportedRows({}, ReadDrawTable(text, game), TImportMode::Replace), game);
        EXPECT_EQ(Texts(back), Texts(net));
        EXPECT_EQ(ExportTableText(back), text);
    }
}

// ---- the text files ------------------------------------------------------------------

TEST(Game, TextFilesHoldTheGamesDigits) {
    test::TempDir dir;
    const std::string path = dir.File("draws.txt");
    TCodeNet pl5;
    pl5.Replace({Draw({3, 5, 8, 1, 2}), Draw({0, 0, 0, 0, 9})}, TGame::Pl5);
    const std::string text = pl5.ExportText();
    EXPECT_TRUE(text.ends_with("\r\n35812\r\n00009\r\n"));
    pl5.ExportToText(path);
    TCodeNet back;
    back.SetGame(TGame::Pl5);
    back.ImportFromText(path);
    EXPECT_EQ(Texts(back), (Lines{"35812", "00009"}));

    TCodeNet qxc;
    qxc.Replace({Draw({1, 2, 3, 4, 5, 6, 9}), Draw({1, 2, 3, 4, 5, 6, 14})}, TGame::Qxc);
    EXPECT_EQ(MessageOf([&] { qxc.ExportText(); }),
              "第2期的第7个号码是14，文本文件每个号码只有一位数字。请用“导出开奖数据”导出。");
    EXPECT_FALSE(TextFileNote(TGame::Qxc).empty());
    EXPECT_TRUE(TextFileNote(TGame::Seven).empty());
}

// ---- typing ------------------------------------------------------------------------

struct Typed {
    TGame game;
    const char* keys;
    Lines draws;
    int cursorRow;
    int cursorCol;
};

TEST(Game, TypingTakesTheGamesNumbers) {
    const Typed cases[] = {
        {TGame::Seven, "12345614", {"1234561", "4000000"}, 1, 1},
        // 七星彩: a 1 in the last column waits for 0-4.
        {TGame::Qxc, "12345614", {"1 2 3 4 5 6 14"}, 1, 0},
        {TGame::Qxc, "123456149876543", {"1 2 3 4 5 6 14", "9876543"}, 2, 0},
        {TGame::Qxc, "12345610", {"1 2 3 4 5 6 10"}, 1, 0},
        // A digit 5-9 after the 1 is the next draw's first.
        {TGame::Qxc, "12345615", {"1234561", "5000000"}, 1, 1},
        {TGame::Qxc, "12345619", {"1234561", "9000000"}, 1, 1},
        // A 1 elsewhere is a whole number.
        {TGame::Qxc, "1111111", {"1111111"}, 0, 6},
        {TGame::Qxc, "9999999", {"9999999"}, 1, 0},
        // 排列5: five columns, then the next draw.
        {TGame::Pl5, "358129", {"35812", "90000"}, 1, 1},
    };
    for (const Typed& c : cases) {
        TCodeNet net;
        net.SetGame(c.game);
        TNetView view(net);
        view.SetClientSize(470, 400);
        EXPECT_EQ(view.DigitCols(), NumberCount(c.game));
        for (const char* key = c.keys; *key != '\0'; ++key) {
            EXPECT_TRUE(view.TypeChar(*key));
        }
        Lines draws;
        for (const TSeq& draw : net.Rows()) {
            draws.push_back(c.game == TGame::Pl5 || draw.GetNum(6) > 9
                                ? NumbersText(draw, c.game)
                                : NumbersText(draw, TGame::Seven));
        }
        EXPECT_EQ(draws, c.draws) << c.keys;
        EXPECT_EQ(view.CursorTableRow(), c.cursorRow) << c.keys;
        EXPECT_EQ(view.CursorCol(), c.cursorCol) << c.keys;
    }
}

TEST(Game, AKeyOrAClickEndsTheWaitAndKeepsTheOne) {
    TCodeNet net;
    net.SetGame(TGame::Qxc);
    TNetView view(net);
    view.SetClientSize(470, 400);
    for (const char c : std::string("1234561")) {
        view.TypeChar(c);
    }
    EXPECT_TRUE(view.AwaitsSecondDigit());
    view.Key(TNetKey::Right);
    EXPECT_FALSE(view.AwaitsSecondDigit());
    view.TypeChar('4');
    EXPECT_EQ(NumbersText(net.GetSeq(0), TGame::Qxc), "1234561");
    EXPECT_EQ(net.GetNum(1, 0), 4);
    // A character that is no digit ends the wait and is refused; the next
    // digit is typed over the 1.
    for (const char c : std::string("234561")) {
        view.TypeChar(c);
    }
    ASSERT_EQ(view.CursorCol(), 6);
    ASSERT_EQ(view.CursorTableRow(), 1);
    EXPECT_FALSE(view.TypeChar('x'));
    EXPECT_FALSE(view.AwaitsSecondDigit());
    view.TypeChar('3');
    EXPECT_EQ(NumbersText(net.GetSeq(1), TGame::Qxc), "4234563");
}

TEST(Game, SwitchingTheGameRefitsTheGridsColumns) {
    TCodeNet net;
    TNetView view(net);
    view.SetClientSize(470, 400);
    const int sevenWidth = view.HeaderWidth();
    net.SetGame(TGame::Pl5);
    EXPECT_EQ(view.DigitCols(), 5);
    EXPECT_EQ(view.ColTitle(view.ColCount() - 1), "E");
    EXPECT_EQ(view.HeaderWidth(), sevenWidth - 2 * (TNetView::CellWidth + TNetView::GridLine));
    net.SetGame(TGame::Qxc);
    EXPECT_EQ(view.DigitCols(), 7);
    EXPECT_EQ(view.HeaderWidth(), sevenWidth);
}

}  // namespace
}  // namespace tovarin
