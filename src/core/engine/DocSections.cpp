#include "core/engine/DocSections.h"

#include <algorithm>
#include <utility>

namespace tovarin {

const std::string* TDocSections::Get(int32_t kind) const {
    const auto found =
        std::find_if(sections_.begin(), sections_.end(),
                     [kind](const TSection& section) { return section.Kind == kind; });
    return found == sections_.end() ? nullptr : &found->Bytes;
}

void TDocSections::Set(int32_t kind, std::string bytes) {
    const auto found =
        std::find_if(sections_.begin(), sections_.end(),
                     [kind](const TSection& section) { return section.Kind == kind; });
    if (found != sections_.end()) {
        found->Bytes = std::move(bytes);
    } else {
        sections_.push_back({kind, std::move(bytes)});
    }
}

bool TDocSections::Remove(int32_t kind) {
    return std::erase_if(sections_,
                         [kind](const TSection& section) { return section.Kind == kind; }) > 0;
}

}  // namespace tovarin
