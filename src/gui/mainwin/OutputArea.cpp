#include "gui/mainwin/OutputArea.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "gui/mainwin/SelectionPalette.h"

namespace tovarin {

TOutputArea::TOutputArea(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("OutPutMemo"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(true);
    KeepSelectionVisible(*this);
}

void TOutputArea::ReplaceLines(const std::vector<std::string>& lines) {
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

}  // namespace tovarin
