#pragma once

#include <string>
#include <vector>

#include "draws/LawNet.h"

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

// The table's draws as texts of seven digit characters, oldest first.
inline std::vector<std::string> DrawTexts(const TCodeNet& net) {
    std::vector<std::string> draws;
    for (int row = 0; row < net.Count(); ++row) {
        std::string digits;
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            digits += static_cast<char>('0' + net.GetNum(row, pos));
        }
        draws.push_back(digits);
    }
    return draws;
}

}  // namespace tovarin::test
