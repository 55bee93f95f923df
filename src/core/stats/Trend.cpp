#include "core/stats/Trend.h"

#include <algorithm>

#include "core/draws/LawNet.h"

namespace tovarin {

TTrendWalk::TTrendWalk(const TCodeNet& net, TStatDim dim, TDrawWindow window)
    : dim_(dim), row_(window.First - 1), lastRow_(LastRowsBefore(net, dim, window.First)) {}

void TTrendWalk::Step(const TSeq& draw) {
    ++row_;
    lastRow_[static_cast<size_t>(ItemOfDraw(dim_, draw))] = row_;
}

std::vector<int> TTrendWalk::Omissions() const {
    std::vector<int> omissions(lastRow_.size());
    for (size_t item = 0; item < lastRow_.size(); ++item) {
        omissions[item] = row_ - lastRow_[item];
    }
    return omissions;
}

TTrendIndex::TTrendIndex(const TCodeNet& net, TStatDim dim, TDrawWindow window)
    : net_(net), window_(window) {
    TTrendWalk walk(net, dim, window);
    const int marks = window.Count / kMarkStep + 1;
    marks_.reserve(static_cast<size_t>(marks));
    for (int line = 0; line < window.Count; ++line) {
        if (line % kMarkStep == 0) {
            marks_.push_back(walk);
        }
        walk.Step(net.GetSeq(window.First + line));
    }
}

std::vector<std::vector<int>> TTrendIndex::Lines(int first, int count) const {
    std::vector<std::vector<int>> lines;
    const int end = std::min(first + std::max(count, 0), window_.Count);
    first = std::max(first, 0);
    if (first >= end) {
        return lines;
    }
    lines.reserve(static_cast<size_t>(end - first));
    TTrendWalk walk = marks_[static_cast<size_t>(first / kMarkStep)];
    for (int line = first / kMarkStep * kMarkStep; line < end; ++line) {
        walk.Step(net_.GetSeq(window_.First + line));
        if (line >= first) {
            lines.push_back(walk.Omissions());
        }
    }
    return lines;
}

}  // namespace tovarin
