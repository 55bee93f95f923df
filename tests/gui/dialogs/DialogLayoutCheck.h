#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStringList>
#include <QWidget>

namespace tovarin::test {

// The dialog's control of that name; a test cannot go on without it.
template <typename T>
T* FindControl(const QObject& dialog, const QString& name) {
    T* widget = dialog.findChild<T*>(name);
    if (widget == nullptr) {
        qFatal("no control named %s", qPrintable(name));
    }
    return widget;
}

// Every visible control of the dialog that is narrower or lower than its
// text needs, or that sticks out of its parent, as a readable line; a list
// box counts as clipped when one of its items is not fully in view.
inline QStringList ClippedControls(const QWidget& dialog) {
    QStringList clipped;
    const auto controls = dialog.findChildren<QWidget*>();
    for (const QWidget* widget : controls) {
        if (!widget->isVisibleTo(&dialog) || widget->parentWidget() == nullptr) {
            continue;
        }
        const bool captioned =
            qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
            qobject_cast<const QComboBox*>(widget) || qobject_cast<const QGroupBox*>(widget);
        const QString name = widget->objectName().isEmpty()
                                 ? QString::fromLatin1(widget->metaObject()->className())
                                 : widget->objectName();
        const QSize need = widget->minimumSizeHint();
        if (captioned && (widget->width() < need.width() || widget->height() < need.height())) {
            clipped << QStringLiteral("%1 is %2x%3, needs %4x%5")
                           .arg(name)
                           .arg(widget->width())
                           .arg(widget->height())
                           .arg(need.width())
                           .arg(need.height());
        }
        if (!widget->isWindow() && !widget->parentWidget()->rect().contains(widget->geometry())) {
            clipped << name + QStringLiteral(" sticks out of its parent");
        }
        if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
            for (int i = 0; i < list->count(); ++i) {
                if (!list->viewport()->rect().contains(list->visualItemRect(list->item(i)))) {
                    clipped << QStringLiteral("%1 item %2 is not fully in view").arg(name).arg(i);
                }
            }
        }
    }
    return clipped;
}

// Saves a picture of the dialog under the folder named by TOVARIN_SHOT_DIR,
// when it is set, for a person to look at.
inline void SaveShotIfAsked(QWidget& dialog, const QString& fileName) {
    const QString folder = qEnvironmentVariable("TOVARIN_SHOT_DIR");
    if (!folder.isEmpty()) {
        dialog.grab().save(QDir(folder).filePath(fileName));
    }
}

}  // namespace tovarin::test
