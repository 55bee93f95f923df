#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace tovarin::test {

// Answers the modal window of this kind that the next command opens: looks
// for it every 10 ms until it is there (a file dialog can take seconds on a
// busy machine) and gives up with a fatal error after 30 seconds.
template <typename Window>
void WhenModalOpens(QObject* context, std::function<void(Window&)> answer) {
    auto* poll = new QTimer(context);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, context, [poll, started, answer] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*window);
        } else if (started->elapsed() > 30000) {
            qFatal("the window did not open");
        }
    });
    poll->start(10);
}

}  // namespace tovarin::test
