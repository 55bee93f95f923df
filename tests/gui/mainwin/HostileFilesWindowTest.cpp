// The main window against files that are not what they should be: a FIFO
// in the working document's place, a document name the settings file cannot
// hold.
#include <QAction>
#include <QTest>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <memory>

#include "core/app/AppInfo.h"
#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/settings/Settings.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "support/Draws.h"
#include "support/PosixOnly.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

const std::string kWorkDoc = "工作文档.lvrn";

}  // namespace

class HostileFilesWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        dialogs_ = std::make_shared<test::TFakeDialogs>();
    }
    void cleanup() { dir_.reset(); }

    void aFifoInTheWorkingDocumentsPlaceGivesAnEmptyWorkspace() {
#ifdef _WIN32
        QSKIP(test::kNoChildProcessesOnWindows);
#else
        QCOMPARE(mkfifo(dir_->File(kWorkDoc).c_str(), 0644), 0);
        const auto form = test::MakeMainForm(*dir_, dialogs_);
        QCOMPARE(dialogs_->Messages,
                 QStringList{QString::fromStdString(AutoOpenFailedText(kWorkDoc))});
        QCOMPARE(form->CodeNet().Count(), 0);
        QCOMPARE(form->PrjMgr().PrjCount(), 0);
        struct stat info {};
        QCOMPARE(lstat(dir_->File(kWorkDoc).c_str(), &info), 0);
        QVERIFY2(S_ISFIFO(info.st_mode), "the FIFO is left alone");
        form->AppInfo().DocModified = false;
        form->CodeNet().ClearModified();
#endif
    }

    void aDocumentNameTheSettingsCannotHoldKeepsTheOtherSettings() {
        // A document opened under a name GBK cannot hold.
        const std::string name = dir_->File("\xC3\x84rger.lvrn");
        {
            TCodeNet net;
            TPrjMgr projects(net);
            test::AddDraws(net, {"1234567"});
            SaveDocument(name, net, projects);
        }
        auto form = test::MakeMainForm(*dir_, dialogs_);
        dialogs_->Messages.clear();
        dialogs_->NextOpenName = QString::fromStdString(name);
        form->findChild<QAction*>(QStringLiteral("FileMenuOpen"))->trigger();
        QCOMPARE(form->AppInfo().DocFileName, name);
        const bool autoCalc = !form->AppOptions().AutoCalcChk;
        form->AppOptions().AutoCalcChk = autoCalc;
        form->AppOptions().ColsOfLineEd = 17;
        QVERIFY(form->close());
        QCOMPARE(dialogs_->Messages.size(), 1);
        QVERIFY2(
            dialogs_->Messages.front().contains(QStringLiteral("LastDoc keeps its previous value")),
            qPrintable(dialogs_->Messages.front()));
        std::vector<std::string> problems;
        const TAppOptions stored = LoadAppOptions(SettingsFilePath(dir_->Path()), problems);
        QCOMPARE(stored.AutoCalcChk, autoCalc);
        QCOMPARE(stored.ColsOfLineEd, 17);
        QVERIFY(ReadWholeFile(SettingsFilePath(dir_->Path()))
                    .find("\r\nLastDoc=" + Utf8ToGbk(kWorkDoc) + "\r\n") != std::string::npos);
    }
};

QTEST_MAIN(HostileFilesWindowTest)
#include "HostileFilesWindowTest.moc"
