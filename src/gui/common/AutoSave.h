#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace tovarin {

// Auto-save: every interval while it is on, the document's recovery copy is
// written if the document is modified. The copy is never the document
// itself; the owner says how to tell and how to write.
class TAutoSave : public QObject {
    Q_OBJECT

public:
    explicit TAutoSave(QObject* parent = nullptr);

    std::function<bool()> IsModified;
    std::function<void()> WriteCopy;

    // On with an interval, or off; a new interval starts counting now.
    void Configure(bool on, std::chrono::milliseconds interval);
    bool IsOn() const { return timer_.isActive(); }
    std::chrono::milliseconds Interval() const { return timer_.intervalAsDuration(); }

private:
    void Tick();

    QTimer timer_;
};

}  // namespace tovarin
