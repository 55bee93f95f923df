#include "gui/common/AutoSave.h"

namespace tovarin {

TAutoSave::TAutoSave(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &TAutoSave::Tick);
}

void TAutoSave::Configure(bool on, std::chrono::milliseconds interval) {
    timer_.stop();
    if (on && interval.count() > 0) {
        timer_.start(interval);
    }
}

void TAutoSave::Tick() {
    if (IsModified && WriteCopy && IsModified()) {
        WriteCopy();
    }
}

}  // namespace tovarin
