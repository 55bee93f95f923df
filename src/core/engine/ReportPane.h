#pragma once

#include <string>
#include <vector>

namespace tovarin {

// Where a report goes: the main window's output area, or a list in tests.
// A report arrives whole and replaces everything the pane showed; a line
// may carry an embedded CR LF, which the pane shows as a line break.
class TReportPane {
public:
    virtual ~TReportPane() = default;
    virtual void ReplaceLines(const std::vector<std::string>& lines) = 0;
};

}  // namespace tovarin
