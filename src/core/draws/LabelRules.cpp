#include "core/draws/LabelRules.h"

#include <algorithm>
#include <climits>

#include "core/draws/LawNet.h"

namespace tovarin {
namespace {

// Both spellings of a label with an in-year number as the 7-digit one.
struct TCanonical {
    uint32_t Value = 0;
    int Digits = 0;

    bool InYear() const { return Digits == 7; }
    int Year() const { return static_cast<int>(Value / 1000); }
    int Number() const { return static_cast<int>(Value % 1000); }
};

constexpr int kYearDigits5 = 5;
constexpr uint32_t kCentury = 2000000;  // 20YYNNN = 2000000 + YYNNN

TCanonical Canonical(TLabel label) {
    if (label.Digits() == kYearDigits5) {
        return {kCentury + label.Value(), 7};
    }
    return {label.Value(), label.Digits()};
}

int NaturalDigits(uint64_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// Year and in-year number in the spelling of model (5 digits while the
// year is 2000..2099 and model has 5); nothing when the year does not fit.
std::optional<TLabel> InYearLabel(TLabel model, int year, int number) {
    if (model.Digits() == kYearDigits5 && year >= 2000 && year <= 2099) {
        return TLabel(static_cast<uint32_t>((year - 2000) * 1000 + number), kYearDigits5);
    }
    if (year < 0 || year > 9999) {
        return std::nullopt;
    }
    return TLabel(static_cast<uint32_t>(year * 1000 + number), 7);
}

std::optional<TLabel> PlainLabel(uint64_t value, int minDigits) {
    const int digits = std::max(minDigits, NaturalDigits(value));
    if (digits > TLabel::MaxDigits) {
        return std::nullopt;
    }
    return TLabel(static_cast<uint32_t>(value), digits);
}

}  // namespace

int64_t LabelOrder(TLabel label) {
    if (label.Empty()) {
        return -1;
    }
    const TCanonical canonical = Canonical(label);
    return int64_t{canonical.Value} * 16 + canonical.Digits;
}

bool SameDraw(TLabel a, TLabel b) {
    return !a.Empty() && !b.Empty() && LabelOrder(a) == LabelOrder(b);
}

TLabel InSpellingOf(TLabel label, TLabel model) {
    if (label.Empty() || model.Empty() || label.Digits() == model.Digits() ||
        !Canonical(label).InYear() || !Canonical(model).InYear()) {
        return label;
    }
    const TCanonical canonical = Canonical(label);
    return InYearLabel(model, canonical.Year(), canonical.Number()).value_or(label);
}

std::optional<TLabel> NextLabel(TLabel label, int steps) {
    if (label.Empty() || steps < 0) {
        return std::nullopt;
    }
    const TCanonical canonical = Canonical(label);
    if (!canonical.InYear()) {
        return PlainLabel(uint64_t{label.Value()} + static_cast<uint64_t>(steps), label.Digits());
    }
    // In-year numbers run 1..999; a year's number 000, if a lottery has
    // one, is followed by 001.
    const int64_t total = int64_t{canonical.Number()} + steps;
    if (total <= 999) {
        return InYearLabel(label, canonical.Year(), static_cast<int>(total));
    }
    const int64_t year = canonical.Year() + (total - 1) / 999;
    if (year > 9999) {
        return std::nullopt;
    }
    return InYearLabel(label, static_cast<int>(year), static_cast<int>((total - 1) % 999 + 1));
}

void TLabelGaps::Add(TLabel missing) {
    ++Total;
    if (Listed.size() < MaxListed) {
        Listed.push_back(missing);
    }
}

void AddGaps(TLabel before, TLabel after, TLabelGaps& gaps) {
    if (before.Empty() || after.Empty() || LabelOrder(after) <= LabelOrder(before)) {
        return;
    }
    const TCanonical from = Canonical(before);
    const TCanonical to = Canonical(after);
    if (from.InYear() != to.InYear()) {
        return;
    }
    if (!from.InYear()) {
        if (to.Value <= from.Value) {
            return;
        }
        const uint64_t missing = to.Value - from.Value - 1;
        for (uint64_t i = 1; i <= missing; ++i) {
            if (gaps.Listed.size() == TLabelGaps::MaxListed) {
                gaps.Total += missing - i + 1;
                return;
            }
            gaps.Add(*PlainLabel(from.Value + i, before.Digits()));
        }
        return;
    }
    // Every label added here fits: its year lies between two years that do.
    const auto add = [&](int year, int number) { gaps.Add(*InYearLabel(before, year, number)); };
    if (from.Year() == to.Year()) {
        for (int number = from.Number() + 1; number < to.Number(); ++number) {
            add(from.Year(), number);
        }
        return;
    }
    for (int year = from.Year() + 1; year < to.Year(); ++year) {
        add(year, 1);
    }
    for (int number = 1; number < to.Number(); ++number) {
        add(to.Year(), number);
    }
}

std::optional<int> FindLabelRow(const std::vector<TSeq>& rows, TLabel label) {
    if (label.Empty()) {
        return std::nullopt;
    }
    const int64_t key = LabelOrder(label);
    // Look-ups are mostly for recent draws.
    for (size_t row = rows.size(); row > 0; --row) {
        if (LabelOrder(rows[row - 1].GetLabel()) == key) {
            return static_cast<int>(row - 1);
        }
    }
    return std::nullopt;
}

TLabelIndex::TLabelIndex(const std::vector<TSeq>& rows) {
    for (size_t row = 0; row < rows.size(); ++row) {
        const TLabel label = rows[row].GetLabel();
        if (!label.Empty()) {
            keys_.emplace_back(LabelOrder(label), static_cast<int>(row));
        }
    }
    // A table's labels mostly ascend already.
    if (!std::is_sorted(keys_.begin(), keys_.end())) {
        std::sort(keys_.begin(), keys_.end());
    }
}

std::optional<int> TLabelIndex::Find(TLabel label) const {
    if (label.Empty()) {
        return std::nullopt;
    }
    const int64_t key = LabelOrder(label);
    const auto after = std::upper_bound(keys_.begin(), keys_.end(), std::make_pair(key, INT_MAX));
    if (after == keys_.begin() || std::prev(after)->first != key) {
        return std::nullopt;
    }
    return std::prev(after)->second;
}

std::string MissingLabelText(TLabel label) { return "缺少第" + label.Text() + "期"; }

}  // namespace tovarin
