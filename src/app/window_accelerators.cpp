#include "app/window_accelerators.h"

#include <QApplication>
#include <QKeyEvent>

namespace brevix {

WindowAccelerators::WindowAccelerators(QWidget* window, QList<QKeySequence> keys)
    : QObject(window), window_(window), keys_(std::move(keys)) {
    qApp->installEventFilter(this);
}

bool WindowAccelerators::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !window_) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QKeySequence& accelerator : keys_) {
        if (accelerator.matches(pressed) == QKeySequence::ExactMatch) {
            // Not taken by the widget: the window's shortcut gets the key.
            key->ignore();
            return true;
        }
    }
    return false;
}

}  // namespace brevix
