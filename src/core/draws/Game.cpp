#include "core/draws/Game.h"

#include <array>

namespace tovarin {
namespace {

struct GameWords {
    TGame Game;
    std::string_view Name;
    std::string_view Title;
    int Count;
    int LastMax;
};

constexpr std::array<GameWords, 3> kGames = {{
    {TGame::Seven, "seven", "七位数", 7, 9},
    {TGame::Qxc, "qxc", "七星彩", 7, 14},
    {TGame::Pl5, "pl5", "排列5", 5, 9},
}};

const GameWords& WordsOf(TGame game) {
    for (const GameWords& words : kGames) {
        if (words.Game == game) {
            return words;
        }
    }
    return kGames[0];
}

}  // namespace

std::string_view GameName(TGame game) { return WordsOf(game).Name; }

std::optional<TGame> GameOfName(std::string_view name) {
    for (const GameWords& words : kGames) {
        if (words.Name == name) {
            return words.Game;
        }
    }
    return std::nullopt;
}

std::string_view GameTitle(TGame game) { return WordsOf(game).Title; }

int NumberCount(TGame game) { return WordsOf(game).Count; }

int MaxNumber(TGame game, int pos) {
    const GameWords& words = WordsOf(game);
    if (pos < 0 || pos >= words.Count) {
        return -1;
    }
    return pos == words.Count - 1 ? words.LastMax : 9;
}

std::string TextFileNote(TGame game) {
    switch (game) {
        case TGame::Seven:
            break;
        case TGame::Qxc:
            return "文本文件是七位数的格式，每个号码只有一位数字：七星彩第7个号码的10-14"
                   "请用“导入开奖数据”和“导出开奖数据”。";
        case TGame::Pl5:
            return "文本文件是七位数的格式，排列5每行只读写前5个数字。";
    }
    return {};
}

std::string GameTag(TGame game) {
    return game == TGame::Seven ? std::string() : " [" + std::string(GameTitle(game)) + "]";
}

std::string NumberMisfit(TGame game, int pos, int value) {
    const int max = MaxNumber(game, pos);
    const GameWords& words = WordsOf(game);
    // A game of fewer numbers keeps 0 in the places it does not have.
    if ((value >= 0 && value <= max) || (max < 0 && value == 0)) {
        return {};
    }
    std::string text = "第" + std::to_string(pos + 1) + "个号码是" + std::to_string(value) + "，" +
                       std::string(words.Title);
    if (max < 0) {
        return text + "只有" + std::to_string(words.Count) + "个号码";
    }
    if (words.LastMax != 9) {
        return text + (pos == words.Count - 1
                           ? "的第" + std::to_string(words.Count) + "个号码只能是0-" +
                                 std::to_string(words.LastMax)
                           : "的前" + std::to_string(words.Count - 1) + "个号码只能是0-9");
    }
    return text + "每位只能是0-9";
}

}  // namespace tovarin
