#include <QtTest>

#include <chrono>

#include "gui/common/AutoSave.h"

using namespace tovarin;
using namespace std::chrono_literals;

class AutoSaveTest : public QObject {
    Q_OBJECT

private slots:
    void writesOnlyWhileModified() {
        TAutoSave autoSave;
        bool modified = false;
        int writes = 0;
        autoSave.IsModified = [&] { return modified; };
        autoSave.WriteCopy = [&] { ++writes; };
        autoSave.Configure(true, 20ms);
        QVERIFY(autoSave.IsOn());
        QCOMPARE(autoSave.Interval(), 20ms);
        QTest::qWait(120);
        QCOMPARE(writes, 0);
        modified = true;
        QTRY_VERIFY(writes >= 2);
        modified = false;
        const int before = writes;
        QTest::qWait(100);
        QCOMPARE(writes, before);
    }

    void offWritesNothing() {
        TAutoSave autoSave;
        int writes = 0;
        autoSave.IsModified = [] { return true; };
        autoSave.WriteCopy = [&] { ++writes; };
        autoSave.Configure(true, 10ms);
        autoSave.Configure(false, 10ms);
        QVERIFY(!autoSave.IsOn());
        QTest::qWait(80);
        QCOMPARE(writes, 0);
        // A zero interval cannot run.
        autoSave.Configure(true, 0ms);
        QVERIFY(!autoSave.IsOn());
    }

    void aNewIntervalStartsCountingNow() {
        TAutoSave autoSave;
        int writes = 0;
        autoSave.IsModified = [] { return true; };
        autoSave.WriteCopy = [&] { ++writes; };
        autoSave.Configure(true, 10min);
        QTest::qWait(50);
        QCOMPARE(writes, 0);
        autoSave.Configure(true, 10ms);
        QTRY_VERIFY(writes >= 1);
    }
};

QTEST_MAIN(AutoSaveTest)
#include "AutoSaveTest.moc"
