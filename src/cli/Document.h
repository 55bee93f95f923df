#pragma once

#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/ReportPane.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerSection.h"

namespace tovarin::cli {

// The document as the program holds it: one draw table, one project list
// and the ledger of recorded predictions, kept in its section.
struct Document {
    TCodeNet codeNet;
    TPrjMgr projects{codeNet};
    TLedger ledger;
    TLedgerSection ledgerSection{ledger, projects};
};

// A document that cannot be read: the message names the file and the
// reader's reason, which says where (the byte offset) for a broken one.
class DocumentOpenError : public Exception {
public:
    using Exception::Exception;
};

void Open(const std::string& path, Document& doc);
// Prints the report of a command that changes the document, then saves it.
// The image is made and its size checked first, so that once the report is
// out only the write itself can fail; a report that cannot be written
// (EOutputError) leaves the file as it was. What saves cut short by a crash
// or a kill left beside the file is removed first, as the desktop program
// does in its folder.
void SaveAfterReport(const std::string& path, const Document& doc, const std::string& report);

// The project a --project number (from 1) names; a number the document does
// not have is a RangeError.
TSeqPrj& ProjectArg(const Document& doc, int number);
// The index of the condition a number (from 1) names in the project whose
// number is given for the message; a number the project does not have is a
// RangeError.
int BindIndexArg(const TSeqPrj& project, int projectNumber, int number);

// A report line as standard output shows it: an embedded CR LF becomes LF.
std::string ShownLine(const std::string& line);
void PrintLine(const std::string& line);

class StdoutPane : public TReportPane {
public:
    void ReplaceLines(const std::vector<std::string>& lines) override;
};

}  // namespace tovarin::cli
