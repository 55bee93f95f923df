#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Persistent.h"

namespace tovarin {

struct TPrjOptions;

// A head-tail code 0..99: head = code div 10, tail = code mod 10.
using TCode = int;

class ECodesException : public Exception {
public:
    using Exception::Exception;
};

// One signed error value per head-tail code: -1 failed, 0 clean, n > 0 the
// number of tolerance conditions the code failed. A code is valid while
// 0 <= error <= MissCount.
class TCodes : public TPersistent {
public:
    static constexpr int kCount = 100;

    explicit TCodes(const TPrjOptions& options);

    void Assign(const TPersistent& source) override;
    void AssignTo(TPersistent& dest) const override;

    int Count() const { return kCount; }
    int MissCount() const { return missCount_; }
    void SetMissCount(int value);
    bool HeadLimit() const { return headLimit_; }
    void SetHeadLimit(bool flag);

    void AddMiss(TCode code);
    void FailCode(TCode code);
    void FailAll();
    void ResetCode(TCode code);
    void ResetAll();
    int GetMiss(TCode code) const;
    void SetMiss(TCode code, int value);
    bool GetValid(TCode code) const;
    int ValidCount() const;

    // Intersection of survivors: a code the other set failed fails here.
    void FailBy(const TCodes& other);
    // Union of passes: a code the other set passes cleanly becomes clean.
    void ResetBy(const TCodes& other);
    // A code not yet failed here that the other set fails gets one more
    // error (addMiss) or fails.
    void ApplyBy(const TCodes& other, bool addMiss);

protected:
    std::string ClassName() const override { return "TCodes"; }

private:
    static bool InRange(TCode code) { return code >= 0 && code < kCount; }
    [[noreturn]] static void Refuse(const char* message);
    bool IsValidValue(int error) const { return error >= 0 && error <= missCount_; }

    std::array<int32_t, kCount> errors_{};
    int32_t missCount_ = 0;
    bool headLimit_ = false;
};

// The indexed operations are inline: the conditions call them once per code.
inline void TCodes::AddMiss(TCode code) {
    if (!InRange(code)) {
        Refuse("AddMiss aCode: TCode Is Error!");
    }
    ++errors_[code];
}

inline void TCodes::FailCode(TCode code) {
    if (!InRange(code)) {
        Refuse("TCodes.FailCode  Error!");
    }
    errors_[code] = -1;
}

inline void TCodes::ResetCode(TCode code) {
    if (!InRange(code)) {
        Refuse("ResetCode aCode: TCode Is Error!");
    }
    errors_[code] = 0;
}

inline int TCodes::GetMiss(TCode code) const {
    if (!InRange(code)) {
        Refuse("GetMiss aCode: TCode Is Error!");
    }
    return errors_[code];
}

inline void TCodes::SetMiss(TCode code, int value) {
    if (!InRange(code)) {
        Refuse("SetMiss aCode: TCode Is Error!");
    }
    errors_[code] = value;
}

inline bool TCodes::GetValid(TCode code) const {
    if (!InRange(code)) {
        Refuse("GetValid aCode: TCode Is Error!");
    }
    return IsValidValue(errors_[code]);
}

// "%1dxx%1d" of head and tail: always four characters.
std::string CodeToStr(TCode code);
// Character aPos (0..3) of CodeToStr(code).
char ChrOfCode(TCode code, int pos);
// head + tail (0..18), or its last digit when mod10 is set.
int HeadTailSum(TCode code, bool mod10);

std::string JoinCodeList(const std::vector<std::string>& items);
// Items separated by ","; empty items are dropped, items are not trimmed.
std::vector<std::string> SplitCodeList(std::string_view text);

// Key filter of the digit-list edit boxes: the key (a character, in and
// out) is swallowed (set to 0) unless it is backspace or a digit that the
// current text does not already hold (repeats allowed with allowRepeat).
void FilterDigitKey(std::string_view currentText, char32_t& key, bool allowRepeat);

// The pair test of the pairing condition.
bool IsPairMatch(std::string_view left, std::string_view right, TCode code);

// The pairing rule on where the code's head and tail digits occur: refused
// when, in either orientation, exactly one of the two digits is where the
// pair wants it; a code touching neither side passes.
constexpr bool PairRule(bool headLeft, bool tailRight, bool headRight, bool tailLeft) {
    if ((headLeft && tailRight) || (headRight && tailLeft)) {
        return true;
    }
    return headLeft == tailRight && headRight == tailLeft;
}

// The digits 0..9 that occur in a text, bit d standing for digit d.
uint16_t DigitSet(std::string_view text);

// IsPairMatch of a code 0..99 against the digit sets of both sides: the same
// answer, with the strings searched once per clause instead of once per code
// (inline, because the pairing condition calls it 100 times per clause).
inline bool IsPairMatchOfDigits(uint16_t leftDigits, uint16_t rightDigits, TCode code) {
    auto in = [](int digit, uint16_t digits) { return ((digits >> digit) & 1U) != 0; };
    const int head = code / 10;
    const int tail = code % 10;
    return PairRule(in(head, leftDigits), in(tail, rightDigits), in(head, rightDigits),
                    in(tail, leftDigits));
}

}  // namespace tovarin
