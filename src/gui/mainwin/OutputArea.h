#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>

#include <string>
#include <vector>

#include "core/engine/ReportPane.h"

namespace tovarin {

// The output area: plain text the user may edit, wrapping lines, the
// selection kept visible when it loses the focus. Reports arrive whole.
class TOutputArea : public QPlainTextEdit, public TReportPane {
    Q_OBJECT

public:
    explicit TOutputArea(QWidget* parent);

    // One batch: the whole text is replaced, an embedded CR LF becomes a
    // line break, the caret stands at the start with nothing selected.
    void ReplaceLines(const std::vector<std::string>& lines) override;

    // The text as lines, as export writes them.
    std::vector<std::string> Lines() const;

    // Searches forward from the end of the selection (from the start when
    // nothing is selected), letter case significant; a hit is selected and
    // the area takes the focus. False without a hit.
    bool FindText(const QString& text);

    // Keys that belong to the window's commands even while the area has the
    // focus (the area would otherwise take Ctrl+A and its own line keys).
    void SetWindowKeys(const QList<QKeySequence>& keys) { windowKeys_ = keys; }

protected:
    bool event(QEvent* event) override;

private:
    QList<QKeySequence> windowKeys_;
};

}  // namespace tovarin
