#include "core/engine/Bind.h"

#include <vector>

#include "core/base/ByteStream.h"
#include "core/base/Codec.h"
#include "core/base/Text.h"
#include "core/engine/PrjOptions.h"

namespace tovarin {

const std::array<const char*, kBindKindCount + 1> BindKindNames = {
    "", "稳上头", "不上头", "稳上尾", "不上尾", "头尾数", "排除数", "头尾合", "排除合", "稳搭配"};

const std::array<const char*, kBindKindCount + 1> BindNameHints = {
    "",
    "稳上头|指定的数列必须在头位出现",
    "不上头|指定的数列不得在头位出现",
    "稳上尾|指定的数列必须在尾位出现",
    "不上尾|指定的数列不得在尾位出现",
    "头尾数|指定的数列在头位或者尾位出现",
    "排除数|指定的数列不在头位或者尾位出现",
    "头尾合|头尾合值必须符合数列中的任何一个数",
    "排除合|头尾合值不属数列中的任何一个数",
    "稳搭配|头尾相搭配必须符合数列中的任何一个对。"};

const std::array<const char*, 2> AllMatchLabels = {"或者", "并且"};
const std::array<const char*, 2> AssuredLabels = {"[容]", "[铁]"};

TBaseBind::TBaseBind(const TPrjOptions& options) : options_(&options) {}

TBaseBind::~TBaseBind() {
    if (!paramInside_) {
        delete param_;
    }
}

void TBaseBind::KeepParamIn(std::string& text) {
    StoreParam({});
    param_ = &text;
    paramInside_ = true;
}

// The new string is made before the old one goes: the text may be a view
// of it.
void TBaseBind::StoreParam(std::string_view text) {
    if (paramInside_) {
        param_->assign(text);
        return;
    }
    std::string* const kept = text.empty() ? nullptr : new std::string(text);
    delete param_;
    param_ = kept;
}

const std::string& TBaseBind::Param() const {
    static const std::string none;
    return param_ ? *param_ : none;
}

TCodes& TBaseBind::Held() const {
    if (!codes_) {
        codes_ = std::make_unique<TCodes>(*options_);
    }
    return *codes_;
}

void TBaseBind::AssignTo(TPersistent& dest) const {
    auto* bind = dynamic_cast<TBaseBind*>(&dest);
    if (bind == nullptr) {
        throw EBindException("TBaseBind.AssignTo Error!");
    }
    if (codes_) {
        bind->Held().Assign(*codes_);
    } else {
        bind->codes_.reset();
    }
    bind->Assured = Assured;
    bind->AllMatch = AllMatch;
    bind->MultiClause = MultiClause;
    bind->StoreParam(Param());
    bind->dirty_ = dirty_;
}

void TBaseBind::SetParam(std::string_view text) {
    StoreParam(text);
    dirty_ = true;
}

const TCodes& TBaseBind::GetCodes() {
    if (!codes_ || options_->HeadLimit != codes_->HeadLimit() ||
        options_->MissMax != codes_->MissCount()) {
        codes_ = std::make_unique<TCodes>(*options_);
        dirty_ = true;
    }
    if (dirty_) {
        Calc();
        dirty_ = false;
    }
    return *codes_;
}

std::string TBaseBind::GetText() const {
    std::string text = std::string(BindKindNames[static_cast<size_t>(Kind())]) + ":" +
                       AssuredLabels[Assured ? 1 : 0];
    if (!MultiClause) {
        return text + Param();
    }
    std::vector<std::string> clauses = SplitCodeList(Param());
    for (std::string& clause : clauses) {
        clause.insert(0, AllMatchLabels[AllMatch ? 1 : 0]);
    }
    return text + JoinCodeList(clauses);
}

void TBaseBind::SaveToStream(ByteWriter& out) const {
    const std::string gbk = Utf8ToGbk(Param());
    out.WriteI32(kind_);
    out.WriteI32(static_cast<int32_t>(gbk.size()));
    out.WriteBytes(gbk);
    out.WriteU8(AllMatch ? 1 : 0);
    out.WriteU8(MultiClause ? 1 : 0);
    out.WriteU8(Assured ? 1 : 0);
    out.WriteU8(Checked ? 1 : 0);
}

TBindRecord ReadBindRecord(ByteReader& in) {
    const size_t start = in.Offset();
    TBindRecord record;
    record.Kind = in.ReadI32();
    if (record.Kind < 1 || record.Kind > kBindKindCount) {
        throw EReadError("Bad condition kind " + std::to_string(record.Kind) + " at byte " +
                         std::to_string(start));
    }
    const int32_t length = in.ReadI32();
    if (length < 0 || static_cast<size_t>(length) > in.Remaining()) {
        throw EReadError("Bad condition text length " + std::to_string(length) + " at byte " +
                         std::to_string(start + 4));
    }
    // The text is converted before the next read, which may move its bytes;
    // a cut-off record is still reported before a text that is not GBK.
    bool isGbk = true;
    try {
        record.Param = GbkToUtf8(in.ReadBytes(static_cast<size_t>(length)));
    } catch (const ECodecError&) {
        isGbk = false;
    }
    record.AllMatch = in.ReadU8() != 0;
    record.MultiClause = in.ReadU8() != 0;
    record.Assured = in.ReadU8() != 0;
    record.Checked = in.ReadU8() != 0;
    if (!isGbk) {
        throw EReadError("Condition text is not GBK at byte " + std::to_string(start + 8));
    }
    return record;
}

void TBaseBind::LoadFromStream(ByteReader& in) {
    // Everything is read and checked before the condition changes.
    const TBindRecord record = ReadBindRecord(in);
    kind_ = static_cast<int8_t>(record.Kind);
    StoreParam(record.Param);
    AllMatch = record.AllMatch;
    MultiClause = record.MultiClause;
    Assured = record.Assured;
    Checked = record.Checked;
    dirty_ = true;
}

// Both list kinds first turn the parameter into the set of values an item
// can match, so the pass over the codes is one test per code.
void TBaseBind::CalcDigitList(bool failByMatch, bool matchHead, bool matchTail) {
    TCodes& codes = MutableCodes();
    if (failByMatch) {
        codes.ResetAll();
    } else {
        codes.FailAll();
    }
    if (Param().empty()) {
        return;
    }
    // Only the first character of an item counts (an empty item cannot occur
    // after splitting); one that is not a digit never matches.
    std::string firsts;
    for (const std::string& item : SplitCodeList(Param())) {
        firsts += item.front();
    }
    const uint16_t digits = DigitSet(firsts);
    const int onMatch = failByMatch ? -1 : 0;
    for (TCode code = TCodes::kCount - 1; code >= 0; --code) {
        const bool head = matchHead && ((digits >> (code / 10)) & 1U) != 0;
        const bool tail = matchTail && ((digits >> (code % 10)) & 1U) != 0;
        if (head || tail) {
            codes.SetMiss(code, onMatch);
        }
    }
}

void TBaseBind::CalcSumList(bool failByMatch) {
    // Every item is converted before the set changes, so a bad item leaves
    // the set as it was (and the condition dirty).
    uint32_t sums = 0;  // bit s: some item's value is the head-tail sum s
    for (const std::string& item : SplitCodeList(Param())) {
        const int value = StrToInt(item);
        if (value >= 0 && value <= 18) {
            sums |= 1U << value;
        }
    }
    TCodes& codes = MutableCodes();
    if (failByMatch) {
        codes.ResetAll();
    } else {
        codes.FailAll();
    }
    const int onMatch = failByMatch ? -1 : 0;
    for (TCode code = TCodes::kCount - 1; code >= 0; --code) {
        if (((sums >> HeadTailSum(code, false)) & 1U) != 0) {
            codes.SetMiss(code, onMatch);
        }
    }
}

TWstBind::TWstBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(1); }
void TWstBind::Calc() { CalcDigitList(false, true, false); }

TBdtBind::TBdtBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(2); }
void TBdtBind::Calc() { CalcDigitList(true, true, false); }

TWswBind::TWswBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(3); }
void TWswBind::Calc() { CalcDigitList(false, false, true); }

TBdwBind::TBdwBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(4); }
void TBdwBind::Calc() { CalcDigitList(true, false, true); }

TTwsBind::TTwsBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(5); }
void TTwsBind::Calc() { CalcDigitList(false, true, true); }

TPcsBind::TPcsBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(6); }
void TPcsBind::Calc() { CalcDigitList(true, true, true); }

TTwhBind::TTwhBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(7); }
void TTwhBind::Calc() { CalcSumList(false); }

TPchBind::TPchBind(const TPrjOptions& options) : TBaseBind(options) { SetKind(8); }
void TPchBind::Calc() { CalcSumList(true); }

TWdpBind::TWdpBind(const TPrjOptions& options) : TBaseBind(options) {
    SetKind(9);
    MultiClause = true;
}

namespace {

// A clause is "left与right相配": left before the first 与, right between it
// and the first 相配 after it.
void SplitClause(std::string_view clause, std::string_view& left, std::string_view& right) {
    static constexpr std::string_view kWith = "与";
    static constexpr std::string_view kMatch = "相配";
    const size_t with = clause.find(kWith);
    left = clause.substr(0, with);
    if (with == std::string_view::npos) {
        right = {};
        return;
    }
    const std::string_view after = clause.substr(with + kWith.size());
    right = after.substr(0, after.find(kMatch));
}

}  // namespace

void TWdpBind::Calc() {
    TCodes& codes = MutableCodes();
    codes.ResetAll();
    const std::vector<std::string> clauses = SplitCodeList(Param());
    if (clauses.empty()) {
        return;
    }
    if (!AllMatch) {
        codes.FailAll();
    }
    // Each clause's verdict goes straight into the result: failing the codes
    // a clause refuses (every clause must hold) or clearing the codes it
    // passes (any clause suffices) is what FailBy or ResetBy of a separate
    // clause set would do, without building one per clause.
    for (const std::string& clause : clauses) {
        std::string_view left;
        std::string_view right;
        SplitClause(clause, left, right);
        const uint16_t leftDigits = DigitSet(left);
        const uint16_t rightDigits = DigitSet(right);
        for (TCode code = TCodes::kCount - 1; code >= 0; --code) {
            const bool passes = IsPairMatchOfDigits(leftDigits, rightDigits, code);
            if (AllMatch && !passes) {
                codes.FailCode(code);
            } else if (!AllMatch && passes) {
                codes.ResetCode(code);
            }
        }
    }
}

namespace {

// A condition of the kind whose object also holds its text.
template <class Bind>
class TWithParam final : public Bind {
public:
    TWithParam(const TPrjOptions& options, std::string text)
        : Bind(options), text_(std::move(text)) {
        this->KeepParamIn(text_);
    }

private:
    std::string text_;
};

template <class Bind>
std::unique_ptr<TBaseBind> Make(const TPrjOptions& options) {
    return std::make_unique<Bind>(options);
}

template <class Bind>
std::unique_ptr<TBaseBind> MakeWithParam(const TPrjOptions& options, std::string param) {
    return std::make_unique<TWithParam<Bind>>(options, std::move(param));
}

using BindFactory = std::unique_ptr<TBaseBind> (*)(const TPrjOptions&);
using BindWithParamFactory = std::unique_ptr<TBaseBind> (*)(const TPrjOptions&, std::string);

constexpr std::array<BindFactory, kBindKindCount + 1> kBindClasses = {
    nullptr,         &Make<TWstBind>, &Make<TBdtBind>, &Make<TWswBind>, &Make<TBdwBind>,
    &Make<TTwsBind>, &Make<TPcsBind>, &Make<TTwhBind>, &Make<TPchBind>, &Make<TWdpBind>};

constexpr std::array<BindWithParamFactory, kBindKindCount + 1> kBindClassesWithParam = {
    nullptr,
    &MakeWithParam<TWstBind>,
    &MakeWithParam<TBdtBind>,
    &MakeWithParam<TWswBind>,
    &MakeWithParam<TBdwBind>,
    &MakeWithParam<TTwsBind>,
    &MakeWithParam<TPcsBind>,
    &MakeWithParam<TTwhBind>,
    &MakeWithParam<TPchBind>,
    &MakeWithParam<TWdpBind>};

}  // namespace

std::unique_ptr<TBaseBind> CreateBind(int kind, const TPrjOptions& options) {
    if (kind < 1 || kind > kBindKindCount) {
        return nullptr;
    }
    return kBindClasses[static_cast<size_t>(kind)](options);
}

std::unique_ptr<TBaseBind> CreateBind(TBindRecord record, const TPrjOptions& options) {
    if (record.Kind < 1 || record.Kind > kBindKindCount) {
        return nullptr;
    }
    // An empty text takes no room: the condition stays as small as a new one.
    std::unique_ptr<TBaseBind> bind = record.Param.empty()
                                          ? kBindClasses[static_cast<size_t>(record.Kind)](options)
                                          : kBindClassesWithParam[static_cast<size_t>(record.Kind)](
                                                options, std::move(record.Param));
    bind->AllMatch = record.AllMatch;
    bind->MultiClause = record.MultiClause;
    bind->Assured = record.Assured;
    bind->Checked = record.Checked;
    return bind;
}

}  // namespace tovarin
