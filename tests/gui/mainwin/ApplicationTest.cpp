// Errors that escape an event handler reach the error box with their
// message, and the event loop goes on.
#include <QEvent>
#include <QTest>

#include <utility>
#include <vector>

#include "core/base/Errors.h"
#include "gui/mainwin/Application.h"

using namespace tovarin;

namespace {

class TThrower : public QObject {
public:
    int Handled = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw Exception("TSeqPrj.GetBind Error!");
        }
        ++Handled;
        return QObject::event(event);
    }
};

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void errorOfAHandlerIsShownAndTheLoopGoesOn() {
        auto& app = static_cast<TApplication&>(*QCoreApplication::instance());
        QStringList shown;
        app.ShowError = [&shown](const QString& message) { shown << message; };
        TThrower thrower;
        QEvent failing(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&thrower, &failing));
        QCOMPARE(shown, QStringList{QStringLiteral("TSeqPrj.GetBind Error!")});
        // A posted event goes through the loop the same way.
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::Type(QEvent::User + 1)));
        QTRY_COMPARE(shown.size(), 2);
        QTRY_COMPARE(thrower.Handled, 1);
    }

    // What a file manager passes: a document's name, relative to the folder
    // the program starts in, which the program leaves before it opens it.
    void documentArgumentIsTheFirstArgumentMadeAbsolute() {
#ifdef Q_OS_WIN
        const QString root = QStringLiteral("C:");  // a path without a drive is not absolute
#else
        const QString root;
#endif
        const QString start = root + QStringLiteral("/home/wang/彩票");
        const std::vector<std::pair<QStringList, QString>> cases = {
            {{"tovarin"}, ""},
            {{"tovarin", ""}, ""},
            {{"tovarin", "文件.lvrn"}, root + "/home/wang/彩票/文件.lvrn"},
            {{"tovarin", "../旧/a.lvrn"}, root + "/home/wang/旧/a.lvrn"},
            {{"tovarin", root + "/tmp/b.lvrn", "more"}, root + "/tmp/b.lvrn"},
        };
        for (const auto& [arguments, document] : cases) {
            QCOMPARE(DocumentArgument(arguments, start), document);
        }
    }
};

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationTest.moc"
