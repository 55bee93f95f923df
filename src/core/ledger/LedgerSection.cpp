#include "core/ledger/LedgerSection.h"

#include <memory>
#include <utility>

#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerFormat.h"

namespace tovarin {

TLedgerSection::TLedgerSection(TLedger& ledger, TPrjMgr& projects)
    : ledger_(&ledger), projects_(&projects) {
    // Recording and clearing leave the ledger modified; a ledger put in
    // place by a load, or a step of the undo history, does not: the history
    // itself says whether the document is the one on disk.
    token_ = ledger.Subscribe([this](TLedgerChange, const TLedgerState*) {
        if (ledger_->Modified()) {
            ledger_->ClearModified();
            projects_->ModelChanged();
        }
    });
    projects.AttachModel(*this);
}

TLedgerSection::~TLedgerSection() {
    projects_->DetachModel(*this);
    ledger_->Unsubscribe(token_);
}

int32_t TLedgerSection::Kind() const { return static_cast<int32_t>(TSectionKind::Ledger); }

std::optional<std::string> TLedgerSection::Encode() const {
    if (ledger_->Count() == 0) {
        return std::nullopt;
    }
    return EncodeLedger(*ledger_);
}

TSectionModel::TTakeOver TLedgerSection::Decode(std::optional<std::string_view> bytes,
                                                size_t offsetInFile) const {
    auto read = std::make_shared<TLedger>(bytes ? DecodeLedger(*bytes, offsetInFile) : TLedger());
    return [ledger = ledger_, read] { ledger->Replace(std::move(*read)); };
}

}  // namespace tovarin
