// Recomputing after changes without making the user wait: one run per
// pause, on a worker thread, the newest result only, and no exception
// leaving the worker.
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include "gui/common/LiveRecompute.h"

using namespace tovarin;
using namespace std::chrono_literals;

namespace {

// A recompute whose work reports its value and thread, and may wait for a
// gate to open first.
struct TProbe {
    std::atomic<int> runs = 0;
    std::atomic<bool> gateOpen = true;
    std::atomic<bool> started = false;
    QThread* workThread = nullptr;
    QThread* showThread = nullptr;
    int shown = -1;

    TLiveRecompute::TPrepare Prepare(int value) {
        return [this, value]() -> TLiveRecompute::TWork {
            return [this, value]() -> TLiveRecompute::TShow {
                started = true;
                while (!gateOpen) {
                    QThread::msleep(1);
                }
                ++runs;
                workThread = QThread::currentThread();
                return [this, value] {
                    showThread = QThread::currentThread();
                    shown = value;
                };
            };
        };
    }
};

}  // namespace

class LiveRecomputeTest : public QObject {
    Q_OBJECT

private slots:
    void resultReachesTheWindowFromAWorker() {
        TLiveRecompute live(nullptr, 10ms);
        TProbe probe;
        live.Schedule(probe.Prepare(7));
        QVERIFY(live.Busy());
        QTRY_COMPARE(probe.shown, 7);
        QVERIFY(probe.workThread != QThread::currentThread());
        QCOMPARE(probe.showThread, QThread::currentThread());
        QTRY_VERIFY(!live.Busy());
    }

    void changesWithinAPauseMakeOneRun() {
        TLiveRecompute live(nullptr, 50ms);
        TProbe probe;
        QSignalSpy shown(&live, &TLiveRecompute::Shown);
        for (int value = 1; value <= 5; ++value) {
            live.Schedule(probe.Prepare(value));
        }
        QTRY_COMPARE(shown.count(), 1);
        QCOMPARE(probe.runs.load(), 1);
        QCOMPARE(probe.shown, 5);
    }

    void aChangeDuringARunRunsOnceMoreAfterIt() {
        TLiveRecompute live(nullptr, 5ms);
        TProbe probe;
        probe.gateOpen = false;
        live.Schedule(probe.Prepare(1));
        QTRY_VERIFY(probe.started);
        live.Schedule(probe.Prepare(2));
        live.Schedule(probe.Prepare(3));
        QTest::qWait(30);
        probe.gateOpen = true;
        QTRY_COMPARE(probe.shown, 3);
        QTRY_VERIFY(!live.Busy());
        QCOMPARE(probe.runs.load(), 2);
    }

    void cancelDropsWhatIsWaitingOrRunning() {
        TLiveRecompute live(nullptr, 5ms);
        TProbe probe;
        QSignalSpy shown(&live, &TLiveRecompute::Shown);
        probe.gateOpen = false;
        live.Schedule(probe.Prepare(1));
        QTRY_VERIFY(probe.started);
        live.Cancel();
        probe.gateOpen = true;
        QTRY_VERIFY(!live.Busy());
        live.Schedule(probe.Prepare(2));
        live.Cancel();
        QTest::qWait(50);
        QCOMPARE(probe.shown, -1);
        QCOMPARE(shown.count(), 0);
    }

    void errorsReachOnErrorAndNeverLeaveTheWorker_data() {
        QTest::addColumn<int>("where");
        QTest::addColumn<QString>("message");
        QTest::newRow("the work raises") << 0 << QStringLiteral("bad range");
        QTest::newRow("the work raises no std::exception")
            << 1 << QStringLiteral("计算时发生未知错误");
        QTest::newRow("the preparation raises") << 2 << QStringLiteral("bad project");
    }

    void errorsReachOnErrorAndNeverLeaveTheWorker() {
        QFETCH(int, where);
        QFETCH(QString, message);
        TLiveRecompute live(nullptr, 5ms);
        QStringList errors;
        live.OnError = [&errors](const QString& error) { errors << error; };
        QSignalSpy shown(&live, &TLiveRecompute::Shown);
        live.Schedule([where]() -> TLiveRecompute::TWork {
            if (where == 2) {
                throw std::runtime_error("bad project");
            }
            return [where]() -> TLiveRecompute::TShow {
                if (where == 0) {
                    throw std::out_of_range("bad range");
                }
                throw 42;
            };
        });
        QTRY_COMPARE(errors, QStringList{message});
        QCOMPARE(shown.count(), 1);
        QTRY_VERIFY(!live.Busy());
    }

    void nothingToComputeShowsNothing() {
        TLiveRecompute live(nullptr, 5ms);
        QSignalSpy shown(&live, &TLiveRecompute::Shown);
        live.Schedule([]() -> TLiveRecompute::TWork { return {}; });
        QTRY_VERIFY(!live.Busy());
        QCOMPARE(shown.count(), 0);
    }

    // The owner goes while its worker runs: the worker ends, its result is
    // dropped, nothing is touched afterwards.
    void goingAwayWaitsForTheWorker() {
        TProbe probe;
        auto live = std::make_unique<TLiveRecompute>(nullptr, 5ms);
        probe.gateOpen = false;
        live->Schedule(probe.Prepare(1));
        QTRY_VERIFY(probe.started);
        std::thread opener([&probe] {
            std::this_thread::sleep_for(30ms);
            probe.gateOpen = true;
        });
        live.reset();
        opener.join();
        QCOMPARE(probe.runs.load(), 1);
        QTest::qWait(30);
        QCOMPARE(probe.shown, -1);
    }
};

QTEST_MAIN(LiveRecomputeTest)
#include "LiveRecomputeTest.moc"
