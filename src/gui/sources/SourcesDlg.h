#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/sources/SourceFetch.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tovarin {

// 试一试: one source fetched and read on a thread of its own, changing
// nothing. Progress and the outcome arrive as signals on the thread of the
// object; destroying it cancels the fetch and waits for the thread.
class TSourceTrial : public QObject {
    Q_OBJECT

public:
    TSourceTrial(TDrawSource source, TFetchSettings settings, QObject* parent = nullptr);
    ~TSourceTrial() override;

    // Starts the trial. It may end at once: connect to the signals first.
    void Start();

    void Cancel() { cancel_.Cancel(); }

signals:
    void Progress(int page, qint64 bytes);
    // summary: what was read, or why nothing could be; reasons: why lines
    // were not read.
    void Finished(bool read, const QString& summary, const QStringList& reasons);

private:
    void Run(const TDrawSource& source, TFetchSettings settings);

    TFetchCancel cancel_;
    std::function<void()> job_;  // what Start runs on the thread
    std::thread thread_;
};

// 数据源…: the player's sources (name, address, format, on or off, request
// headers) edited on a copy; 确定 checks every source and writes the list
// to its file, which stays as it was when anything is wrong. 试一试 fetches
// the source in hand as it is edited and shows what it reads as the numbers
// of the document's game.
class TSourcesDlg : public QDialog {
    Q_OBJECT

public:
    TSourcesDlg(std::vector<TDrawSource> sources, std::string path, TGame game,
                QWidget* parent = nullptr);
    ~TSourcesDlg() override;

    const std::vector<TDrawSource>& Sources() const { return sources_; }
    // The fetch settings of 试一试 (the tests shorten the deadline); the
    // game stays the document's.
    void SetTrialSettings(const TFetchSettings& settings);

    void accept() override;
    void reject() override;

private:
    void BuildControls();
    void ShowSource(int row);
    // The edited fields into the source in hand.
    void StoreSource();
    void AddSource();
    void RemoveSource();
    void MoveSource(int step);
    void StartTrial();
    void EndTrial(bool read, const QString& summary, const QStringList& reasons);
    void RefreshList();

    std::vector<TDrawSource> sources_;
    std::string path_;
    TFetchSettings trialSettings_;
    std::unique_ptr<TSourceTrial> trial_;
    int current_ = -1;
    bool showing_ = false;  // while fields are set from a source

    QListWidget* list_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QLineEdit* urlEdit_ = nullptr;
    QComboBox* formatCombo_ = nullptr;
    QCheckBox* enabledCheck_ = nullptr;
    QPlainTextEdit* headersEdit_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* upButton_ = nullptr;
    QPushButton* downButton_ = nullptr;
    QPushButton* tryButton_ = nullptr;
    QPushButton* cancelTryButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QListWidget* reasons_ = nullptr;
    QLabel* problem_ = nullptr;
};

// The command: loads the list from path (a box with the reason when the
// file is bad, and nothing more), shows the dialog for a document of game,
// and answers whether the list was changed and saved.
bool EditSources(const std::string& path, TGame game, QWidget* parent);

}  // namespace tovarin
