#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/base/Errors.h"
#include "core/base/Persistent.h"
#include "core/engine/Code.h"

namespace tovarin {

class ByteReader;
class ByteWriter;
struct TPrjOptions;

class EBindException : public Exception {
public:
    using Exception::Exception;
};

constexpr int kBindKindCount = 9;

// Indexed by kind code 1..9; entry 0 is empty.
extern const std::array<const char*, kBindKindCount + 1> BindKindNames;
extern const std::array<const char*, kBindKindCount + 1> BindNameHints;
// Indexed by AllMatch and by Assured.
extern const std::array<const char*, 2> AllMatchLabels;
extern const std::array<const char*, 2> AssuredLabels;

// One filter rule of a project. Evaluating it gives a code set in which a
// code that satisfies the rule has error 0 and every other code -1; the
// run decides from Assured what a failure costs.
class TBaseBind : public TPersistent {
public:
    explicit TBaseBind(const TPrjOptions& options);
    ~TBaseBind() override;

    void AssignTo(TPersistent& dest) const override;

    virtual void SetParam(std::string_view text);
    // The cached result, re-evaluated when the condition changed or the
    // project's tolerance or head-limit flag moved.
    virtual const TCodes& GetCodes();
    virtual std::string GetText() const;
    virtual void Calc() = 0;
    virtual void LoadFromStream(ByteReader& in);
    virtual void SaveToStream(ByteWriter& out) const;

    const std::string& Param() const;
    int Kind() const { return kind_; }
    const TCodes& Codes() const { return Held(); }

    bool AllMatch = false;
    bool MultiClause = false;
    bool Assured = false;
    bool Checked = false;
    // Whether the next GetCodes evaluates: set by every change of the text
    // or the kind, cleared by the evaluation.
    bool Dirty() const { return dirty_; }

protected:
    std::string ClassName() const override { return "TBaseBind"; }
    TCodes& MutableCodes() { return Held(); }
    void SetKind(int kind) { kind_ = static_cast<int8_t>(kind); }
    // For a condition whose object also holds its text (see CreateBind with
    // a record): the text lives there from then on.
    void KeepParamIn(std::string& text);

    // Kinds 1-6: every code starts failed (or passed when failByMatch) and
    // flips when the first character of an item equals its head or tail.
    void CalcDigitList(bool failByMatch, bool matchHead, bool matchTail);
    // Kinds 7-8: the same with the item's integer value against the
    // head-tail sum 0..18.
    void CalcSumList(bool failByMatch);

private:
    // The result set is made on first use: a document of many conditions
    // then costs little more memory than its bytes until it is run.
    TCodes& Held() const;
    void StoreParam(std::string_view text);

    // Beside the public flags, where they take no room of their own.
    int8_t kind_ = 0;  // 1..9
    bool dirty_ = true;
    bool paramInside_ = false;
    mutable std::unique_ptr<TCodes> codes_;
    const TPrjOptions* options_;
    // UTF-8, stored as GBK. A pointer rather than a string keeps the
    // condition small (a few dozen bytes), so that memory stays within a few
    // times a document's size however many it holds. The string is either
    // one of the condition's own, none for an empty text, or (paramInside_)
    // a member of the condition's object: a document's conditions are read
    // that way, one block of memory each instead of two.
    std::string* param_ = nullptr;
};

// A condition record as stored, read and checked whole before any condition
// is made or changed.
struct TBindRecord {
    int32_t Kind = 0;
    std::string Param;  // UTF-8
    bool AllMatch = false;
    bool MultiClause = false;
    bool Assured = false;
    bool Checked = false;
};

// EReadError naming the offset of what is wrong: a kind outside 1..9, a
// text length beyond the data, a text that is not GBK, too few bytes.
TBindRecord ReadBindRecord(ByteReader& in);

// The kinds are open to one more class each: a condition read from a
// document is its kind with the text as a member (see CreateBind).

// 稳上头
class TWstBind : public TBaseBind {
public:
    explicit TWstBind(const TPrjOptions& options);
    void Calc() override;
};

// 不上头
class TBdtBind : public TBaseBind {
public:
    explicit TBdtBind(const TPrjOptions& options);
    void Calc() override;
};

// 稳上尾
class TWswBind : public TBaseBind {
public:
    explicit TWswBind(const TPrjOptions& options);
    void Calc() override;
};

// 不上尾
class TBdwBind : public TBaseBind {
public:
    explicit TBdwBind(const TPrjOptions& options);
    void Calc() override;
};

// 头尾数
class TTwsBind : public TBaseBind {
public:
    explicit TTwsBind(const TPrjOptions& options);
    void Calc() override;
};

// 排除数
class TPcsBind : public TBaseBind {
public:
    explicit TPcsBind(const TPrjOptions& options);
    void Calc() override;
};

// 头尾合
class TTwhBind : public TBaseBind {
public:
    explicit TTwhBind(const TPrjOptions& options);
    void Calc() override;
};

// 排除合
class TPchBind : public TBaseBind {
public:
    explicit TPchBind(const TPrjOptions& options);
    void Calc() override;
};

// 稳搭配: a list of clauses "left与right相配" combined by AllMatch.
class TWdpBind : public TBaseBind {
public:
    explicit TWdpBind(const TPrjOptions& options);
    void Calc() override;
};

// The class table: a new condition of the kind (1..9) on a project's
// settings record, or nullptr for a kind that has no class.
std::unique_ptr<TBaseBind> CreateBind(int kind, const TPrjOptions& options);
// The condition a record read from a document describes, its text held in
// the condition's own object; nullptr for a kind that has no class.
std::unique_ptr<TBaseBind> CreateBind(TBindRecord record, const TPrjOptions& options);

}  // namespace tovarin
