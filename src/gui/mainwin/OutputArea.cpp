#include "gui/mainwin/OutputArea.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

#include "gui/mainwin/SelectionPalette.h"

namespace tovarin {

TOutputArea::TOutputArea(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("OutPutMemo"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(true);
    KeepSelectionVisible(*this);
    // Text put in or taken out ends the report; colouring (equal counts)
    // does not.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed != added) {
            reportOwner_ = nullptr;
        }
    });
}

void TOutputArea::SetReportOwner(const TSeqPrj* project) {
    reportOwner_ = project;
    if (project != nullptr) {
        emit ReportShown(project);
    }
}

void TOutputArea::ReplaceLines(const std::vector<std::string>& lines) {
    reportOwner_ = nullptr;
    QString text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += QLatin1Char('\n');
        }
        text += QString::fromStdString(lines[i]);
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setUpdatesEnabled(false);
    setPlainText(text);
    QTextCursor start(document());
    setTextCursor(start);
    setUpdatesEnabled(true);
}

std::vector<std::string> TOutputArea::Lines() const {
    std::vector<std::string> lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        lines.push_back(block.text().toStdString());
    }
    return lines;
}

bool TOutputArea::FindText(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    const QTextCursor selection = textCursor();
    const int from = selection.hasSelection() ? selection.selectionEnd() : 0;
    const QTextCursor hit = document()->find(text, from, QTextDocument::FindCaseSensitively);
    if (hit.isNull()) {
        return false;
    }
    setFocus();
    setTextCursor(hit);
    return true;
}

bool TOutputArea::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        if (windowKeys_.contains(pressed)) {
            // Not taken here: the shortcut goes to the window's command.
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

namespace {

bool IsCodeText(const QString& text, qsizetype at) {
    auto isX = [](QChar c) { return c == QLatin1Char('x') || c == QLatin1Char('X'); };
    return at >= 0 && at + 4 <= text.size() && text[at].isDigit() && isX(text[at + 1]) &&
           isX(text[at + 2]) && text[at + 3].isDigit();
}

}  // namespace

TCode TOutputArea::CodeAt(const QPoint& point) const {
    const QTextCursor near = cursorForPosition(point);
    const QTextBlock block = near.block();
    const QString text = block.text();
    const int offset = near.position() - block.position();
    for (int start = offset - 4; start <= offset; ++start) {
        if (!IsCodeText(text, start)) {
            continue;
        }
        // The point must be over the four characters, not beside the line.
        QTextCursor edge(block);
        edge.setPosition(block.position() + start);
        const QRect left = cursorRect(edge);
        edge.setPosition(block.position() + start + 4);
        const QRect right = cursorRect(edge);
        if (point.x() >= left.left() && point.x() <= right.right() && point.y() >= left.top() &&
            point.y() <= left.bottom()) {
            return text[start].digitValue() * 10 + text[start + 3].digitValue();
        }
    }
    return -1;
}

bool TOutputArea::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && codeTip_) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const TCode code = CodeAt(help->pos());
        const QString tip = code >= 0 ? codeTip_(code) : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, viewport());
        }
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

}  // namespace tovarin
