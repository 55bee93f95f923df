#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovarin {

// The lottery a draw table keeps: seven digits (the program's own game),
// 七星彩 (six digits and a last number 0..14) or 排列5 (five digits). Every
// game has the head at the first number and the tail at the fourth, so
// every condition, statistic and backtest reads them alike. The values are
// the ones the document stores.
enum class TGame : int32_t {
    Seven = 0,
    Qxc = 1,
    Pl5 = 2,
};

// "seven", "qxc", "pl5": the command line's names.
std::string_view GameName(TGame game);
std::optional<TGame> GameOfName(std::string_view name);
// "七位数", "七星彩", "排列5": the names players see.
std::string_view GameTitle(TGame game);
// How many numbers a draw of the game has.
int NumberCount(TGame game);
// The largest number at a position (from 0) of the game; -1 past its last.
int MaxNumber(TGame game, int pos);
// What the text files of the draws (a line of single digits, made for the
// seven digits) mean for the game, said when they are read or written;
// empty for the seven digits.
std::string TextFileNote(TGame game);
// " [七星彩]" after a document's name in a caption; empty for the seven
// digits, whose caption stays as it always was.
std::string GameTag(TGame game);
// Why value cannot stand at pos (from 0 to 6) in the game, in the game's
// words ("第7个号码是14，七位数每位只能是0-9"); empty when it can. A game
// of fewer numbers holds 0 in the places it does not have.
std::string NumberMisfit(TGame game, int pos, int value);

}  // namespace tovarin
