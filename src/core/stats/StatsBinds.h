#pragma once

#include <string>
#include <vector>

#include "core/stats/HistoryStats.h"

namespace tovarin {

// The condition kinds whose parameter is a list of the dimension's items:
// head digits 稳上头, 不上头, 头尾数, 排除数; tail digits 稳上尾, 不上尾,
// 头尾数, 排除数; sums 头尾合, 排除合; none for codes.
std::vector<int> BindKindsOf(TStatDim dim);

// The parameter as the condition editor writes a selection: the items
// ascending, each once, joined by ",".
std::string BindParamOf(std::vector<int> items);

}  // namespace tovarin
