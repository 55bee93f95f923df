#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>

#include <functional>
#include <string>
#include <vector>

#include "core/engine/Code.h"
#include "core/engine/ReportPane.h"

namespace tovarin {

class TSeqPrj;

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

    // The project whose filtering report the area shows; none once any
    // other text replaces it or the text is edited.
    const TSeqPrj* ReportOwner() const { return reportOwner_; }
    // A filtering run put its report here (or, with null, the report is
    // gone); ReportShown tells who must know the run.
    void SetReportOwner(const TSeqPrj* project);

    // What the tool tip over a code text (such as 3xx7) says; an empty
    // answer shows none.
    using TCodeTip = std::function<QString(TCode code)>;
    void SetCodeTip(TCodeTip codeTip) { codeTip_ = std::move(codeTip); }

signals:
    void ReportShown(const tovarin::TSeqPrj* project);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // The code whose text lies under a point of the viewport, or -1.
    TCode CodeAt(const QPoint& point) const;

    QList<QKeySequence> windowKeys_;
    const TSeqPrj* reportOwner_ = nullptr;
    TCodeTip codeTip_;
};

}  // namespace tovarin
