#pragma once

#include <string>
#include <vector>

#include "core/draws/LawNet.h"

namespace tovarin::test {

// Appends draws given as texts of seven digit characters.
inline void AddDraws(TCodeNet& net, const std::vector<std::string>& draws) {
    for (const std::string& digits : draws) {
        const int row = net.Add();
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            net.SetNum(row, pos, digits.at(static_cast<size_t>(pos)) - '0');
        }
    }
}

// One row's draw as a text of seven digit characters.
inline std::string DigitsOf(const TCodeNet& net, int row) {
    std::string digits;
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        digits += static_cast<char>('0' + net.GetNum(row, pos));
    }
    return digits;
}

// The table's draws as such texts, oldest first.
inline std::vector<std::string> DrawTexts(const TCodeNet& net) {
    std::vector<std::string> draws;
    for (int row = 0; row < net.Count(); ++row) {
        draws.push_back(DigitsOf(net, row));
    }
    return draws;
}

// A table of the game whose draw i has the head (7i + 2) % 10 and the tail
// (3i + 1) % 10 whatever the game; the other numbers differ from game to
// game (七星彩's last runs through 0..14), so a pass that read them would
// tell the games apart.
inline void FillGameTable(TCodeNet& net, TGame game, int count) {
    std::vector<TSeq> rows(static_cast<size_t>(count));
    const int shift = static_cast<int>(game) * 3 + 1;
    for (int i = 0; i < count; ++i) {
        TSeq& draw = rows[static_cast<size_t>(i)];
        draw.SetNum(0, (7 * i + 2) % 10);
        draw.SetNum(3, (3 * i + 1) % 10);
        for (const int pos : {1, 2, 4}) {
            draw.SetNum(pos, (i * shift + pos) % 10);
        }
        if (game != TGame::Pl5) {
            draw.SetNum(5, (i + shift) % 10);
            draw.SetNum(6, i % (MaxNumber(game, 6) + 1));
        }
    }
    net.Replace(std::move(rows), game);
}

}  // namespace tovarin::test
