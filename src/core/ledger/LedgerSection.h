#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/engine/DocSections.h"

namespace tovarin {

class TLedger;
class TPrjMgr;

// The ledger as the document keeps it: a section of kind Ledger, written
// only while the ledger holds an entry. Attached to the project list for
// its lifetime, it reads the section with the rest of the document (a
// spoiled section refuses the whole document, nothing changed) and tells
// the list of every recording and clearing, which so becomes a change of
// the document: modified, and a step of the undo history.
class TLedgerSection : public TSectionModel {
public:
    TLedgerSection(TLedger& ledger, TPrjMgr& projects);
    ~TLedgerSection() override;
    TLedgerSection(const TLedgerSection&) = delete;
    TLedgerSection& operator=(const TLedgerSection&) = delete;

    int32_t Kind() const override;
    std::optional<std::string> Encode() const override;
    TTakeOver Decode(std::optional<std::string_view> bytes, size_t offsetInFile) const override;

private:
    TLedger* ledger_;
    TPrjMgr* projects_;
    int token_;
};

}  // namespace tovarin
