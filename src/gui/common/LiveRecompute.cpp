#include "gui/common/LiveRecompute.h"

#include <exception>
#include <utility>

namespace tovarin {
namespace {

constexpr const char* kUnknownError = "计算时发生未知错误";

}  // namespace

TLiveRecompute::TLiveRecompute(QObject* parent, std::chrono::milliseconds pause) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setInterval(pause);
    pool_.setMaxThreadCount(1);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (running_) {
            again_ = true;
        } else {
            Launch();
        }
    });
}

TLiveRecompute::~TLiveRecompute() {
    ++generation_;
    pool_.waitForDone();
}

void TLiveRecompute::Schedule(TPrepare prepare) {
    prepare_ = std::move(prepare);
    timer_.start();
}

void TLiveRecompute::Cancel() {
    ++generation_;
    timer_.stop();
    again_ = false;
    prepare_ = nullptr;
}

void TLiveRecompute::Launch() {
    if (!prepare_) {
        return;
    }
    TWork work;
    try {
        work = std::exchange(prepare_, nullptr)();
    } catch (const std::exception& error) {
        Report(QString::fromUtf8(error.what()));
        return;
    }
    if (!work) {
        return;  // nothing to compute: the window has said why
    }
    const int generation = ++generation_;
    running_ = true;
    pool_.start([this, work = std::move(work), generation] {
        TShow show;
        QString error;
        try {
            show = work();
        } catch (const std::exception& failure) {
            error = QString::fromUtf8(failure.what());
        } catch (...) {
            error = QString::fromUtf8(kUnknownError);
        }
        // Posted to this object: a result still on its way when the object
        // goes is dropped with it.
        QMetaObject::invokeMethod(
            this, [this, generation, show, error] { Deliver(generation, show, error); },
            Qt::QueuedConnection);
    });
}

void TLiveRecompute::Deliver(int generation, const TShow& show, const QString& error) {
    running_ = false;
    if (generation == generation_) {
        if (error.isEmpty()) {
            show();
            emit Shown();
        } else {
            Report(error);
        }
    }
    if (std::exchange(again_, false)) {
        Launch();
    }
}

void TLiveRecompute::Report(const QString& error) {
    if (OnError) {
        OnError(error);
    }
    emit Shown();
}

}  // namespace tovarin
