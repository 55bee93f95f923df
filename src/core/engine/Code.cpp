#include "core/engine/Code.h"

#include "core/base/Text.h"
#include "core/engine/PrjOptions.h"

namespace tovarin {

TCodes::TCodes(const TPrjOptions& options)
    : missCount_(options.MissMax), headLimit_(options.HeadLimit) {}

void TCodes::Assign(const TPersistent& source) {
    const auto* codes = dynamic_cast<const TCodes*>(&source);
    if (codes == nullptr) {
        throw Exception("TCodes.Assign Error!");
    }
    SetHeadLimit(codes->headLimit_);
    missCount_ = codes->missCount_;
    errors_ = codes->errors_;
}

void TCodes::AssignTo(TPersistent& dest) const {
    auto* codes = dynamic_cast<TCodes*>(&dest);
    if (codes == nullptr) {
        throw Exception("TCodes.AssignTo Error!");
    }
    codes->Assign(*this);
}

void TCodes::Refuse(const char* message) { throw ECodesException(message); }

void TCodes::SetMissCount(int value) {
    if (value < 0 || value > 10) {
        throw ECodesException("TCodes.SetMissCount Is Error!");
    }
    missCount_ = value;
}

// The set always holds 100 codes, so re-sizing keeps every value.
void TCodes::SetHeadLimit(bool flag) { headLimit_ = flag; }

void TCodes::FailAll() { errors_.fill(-1); }

void TCodes::ResetAll() { errors_.fill(0); }

int TCodes::ValidCount() const {
    if (missCount_ < 0) {
        return 0;
    }
    // One unsigned comparison tests 0 <= error <= MissCount, so the loop
    // has no branches; the recommendation calls this hundreds of times a run.
    const auto limit = static_cast<uint32_t>(missCount_);
    int count = 0;
    for (const int32_t error : errors_) {
        count += static_cast<uint32_t>(error) <= limit ? 1 : 0;
    }
    return count;
}

void TCodes::FailBy(const TCodes& other) {
    for (int i = 0; i < kCount; ++i) {
        if (errors_[i] != -1 && other.errors_[i] == -1) {
            errors_[i] = -1;
        }
    }
}

void TCodes::ResetBy(const TCodes& other) {
    for (int i = 0; i < kCount; ++i) {
        if (other.errors_[i] == 0) {
            errors_[i] = 0;
        }
    }
}

void TCodes::ApplyBy(const TCodes& other, bool addMiss) {
    for (int i = 0; i < kCount; ++i) {
        if (errors_[i] != -1 && other.errors_[i] == -1) {
            errors_[i] = addMiss ? errors_[i] + 1 : -1;
        }
    }
}

std::string CodeToStr(TCode code) {
    if (code >= 0 && code < TCodes::kCount) {
        return {static_cast<char>('0' + code / 10), 'x', 'x', static_cast<char>('0' + code % 10)};
    }
    // "%1dxx%1d": a negative or larger part prints all of its digits.
    return std::to_string(code / 10) + "xx" + std::to_string(code % 10);
}

char ChrOfCode(TCode code, int pos) {
    if (pos < 0 || pos > 3) {
        throw Exception("ChrOfCode Error!");
    }
    if (code >= 0 && code < TCodes::kCount) {
        static constexpr char kShape[4] = {'0', 'x', 'x', '0'};
        const int digit = pos == 0 ? code / 10 : code % 10;
        return pos == 1 || pos == 2 ? kShape[pos] : static_cast<char>('0' + digit);
    }
    return CodeToStr(code)[static_cast<size_t>(pos)];
}

int HeadTailSum(TCode code, bool mod10) {
    const int sum = code / 10 + code % 10;
    return mod10 ? sum % 10 : sum;
}

std::string JoinCodeList(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += items[i];
    }
    return text;
}

std::vector<std::string> SplitCodeList(std::string_view text) { return SplitText(",", text); }

void FilterDigitKey(std::string_view currentText, char32_t& key, bool allowRepeat) {
    if (key == 8) {
        return;
    }
    if (key < U'0' || key > U'9') {
        key = 0;
        return;
    }
    if (!allowRepeat && currentText.find(static_cast<char>(key)) != std::string_view::npos) {
        key = 0;
    }
}

bool IsPairMatch(std::string_view left, std::string_view right, TCode code) {
    const char head = ChrOfCode(code, 0);
    const char tail = ChrOfCode(code, 3);
    auto in = [](char digit, std::string_view digits) {
        return digits.find(digit) != std::string_view::npos;
    };
    return PairRule(in(head, left), in(tail, right), in(head, right), in(tail, left));
}

uint16_t DigitSet(std::string_view text) {
    uint16_t digits = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits = static_cast<uint16_t>(digits | (1U << (c - '0')));
        }
    }
    return digits;
}

}  // namespace tovarin
