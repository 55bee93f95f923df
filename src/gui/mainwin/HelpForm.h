#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace tovarin {

// 帮助: the help text inside the program, for a desktop that cannot open
// readme.txt itself. Its sections are a contents list beside the text; the
// search field finds the next place that holds what is typed.
class THelpForm : public QWidget {
    Q_OBJECT

public:
    explicit THelpForm(QWidget* parent = nullptr);

    // Shows the text; its sections are the lines that start at the left
    // margin under the title (a line of "=" underlines the title).
    void SetText(const QString& text);

    const QStringList& Sections() const { return sections_; }
    // Scrolls the section to the top of the text.
    void ShowSection(int index);
    // From the caret on, wrapping round once; false when the text does not
    // hold it (the window then says 未找到).
    bool FindNext(const QString& text);

    QListWidget& Contents() const { return *contents_; }
    QPlainTextEdit& Text() const { return *text_; }
    QLineEdit& SearchField() const { return *search_; }

private:
    QStringList sections_;
    QList<int> sectionLines_;
    QListWidget* contents_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLabel* searchState_ = nullptr;
};

}  // namespace tovarin
