#pragma once

#include <QDialog>

class QLineEdit;

namespace tovarin {

// A non-modal find dialog: a text and a find-next button. It stays open
// after a search; match case, whole word and direction do not apply to
// digit searches, so it offers none of them.
class TFindDialog : public QDialog {
    Q_OBJECT

public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QString FindText() const;
    void SetFindText(const QString& text);

signals:
    void FindNext();

private:
    QLineEdit* findText_;
};

}  // namespace tovarin
