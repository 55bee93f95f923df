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

}  // namespace tovarin::test
