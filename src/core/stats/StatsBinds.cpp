#include "core/stats/StatsBinds.h"

#include <algorithm>

#include "core/engine/Code.h"

namespace tovarin {

std::vector<int> BindKindsOf(TStatDim dim) {
    switch (dim) {
        case TStatDim::Head:
            return {1, 2, 5, 6};
        case TStatDim::Tail:
            return {3, 4, 5, 6};
        case TStatDim::Sum:
            return {7, 8};
        case TStatDim::Code:
            return {};
    }
    return {};
}

std::string BindParamOf(std::vector<int> items) {
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    std::vector<std::string> texts;
    texts.reserve(items.size());
    for (const int item : items) {
        texts.push_back(std::to_string(item));
    }
    return JoinCodeList(texts);
}

}  // namespace tovarin
