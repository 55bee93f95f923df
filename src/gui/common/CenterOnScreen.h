#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tovarin {

// Places a top-level window in the middle of its screen's work area, as the
// fixed-size dialogs open; a later show keeps the place (Qt centres a dialog
// over its owner only while it has never been moved).
inline void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

}  // namespace tovarin
