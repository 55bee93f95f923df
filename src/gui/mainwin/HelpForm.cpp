#include "gui/mainwin/HelpForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tovarin {
namespace {

bool IsUnderline(const QString& line) {
    return !line.isEmpty() && line.count(QLatin1Char('=')) == line.size();
}

}  // namespace

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("帮助"));
    // Beside the draw-table window, which stays on top, it must stay visible.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("查找(&F)："), this);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("HelpSearchEd"));
    search_->setPlaceholderText(QStringLiteral("输入要查找的文字，按回车查找下一处"));
    search_->setClearButtonEnabled(true);
    label->setBuddy(search_);
    auto* next = new QPushButton(QStringLiteral("查找下一处(&N)"), this);
    next->setObjectName(QStringLiteral("HelpFindNextBt"));
    searchState_ = new QLabel(this);
    searchState_->setObjectName(QStringLiteral("HelpSearchLbl"));
    row->addWidget(label);
    row->addWidget(search_, 1);
    row->addWidget(next);
    row->addWidget(searchState_);
    layout->addLayout(row);

    auto* split = new QSplitter(Qt::Horizontal, this);
    contents_ = new QListWidget(split);
    contents_->setObjectName(QStringLiteral("HelpContents"));
    text_ = new QPlainTextEdit(split);
    text_->setObjectName(QStringLiteral("HelpText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    split->addWidget(contents_);
    split->addWidget(text_);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 680});
    layout->addWidget(split, 1);

    const auto find = [this] { FindNext(search_->text()); };
    connect(search_, &QLineEdit::returnPressed, this, find);
    connect(next, &QPushButton::clicked, this, find);
    connect(search_, &QLineEdit::textChanged, searchState_, &QLabel::clear);
    connect(contents_, &QListWidget::currentRowChanged, this, &THelpForm::ShowSection);
    resize(900, 640);
}

void THelpForm::SetText(const QString& text) {
    text_->setPlainText(text);
    sections_.clear();
    sectionLines_.clear();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int line = 0; line < lines.size(); ++line) {
        const QString& current = lines[line];
        const bool underlined = line + 1 < lines.size() && IsUnderline(lines[line + 1].trimmed());
        if (current.isEmpty() || current.front().isSpace() || IsUnderline(current.trimmed()) ||
            (line == 0 && !underlined)) {
            continue;
        }
        sections_ << current.trimmed();
        sectionLines_ << line;
    }
    const QSignalBlocker quiet(contents_);
    contents_->clear();
    contents_->addItems(sections_);
}

void THelpForm::ShowSection(int index) {
    if (index < 0 || index >= sectionLines_.size()) {
        return;
    }
    const QTextBlock block = text_->document()->findBlockByNumber(sectionLines_[index]);
    QTextCursor cursor(block);
    text_->setTextCursor(cursor);
    // The heading at the top, not wherever the scrolling leaves it.
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
    text_->ensureCursorVisible();
}

bool THelpForm::FindNext(const QString& text) {
    if (text.isEmpty()) {
        searchState_->clear();
        return false;
    }
    QTextDocument& document = *text_->document();
    QTextCursor hit = document.find(text, text_->textCursor());
    if (hit.isNull()) {
        hit = document.find(text, 0);
    }
    if (hit.isNull()) {
        searchState_->setText(QStringLiteral("未找到"));
        return false;
    }
    searchState_->clear();
    text_->setTextCursor(hit);
    text_->ensureCursorVisible();
    return true;
}

}  // namespace tovarin
