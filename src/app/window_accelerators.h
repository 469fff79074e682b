#pragma once
// Accelerators that belong to the program wherever the focus is in its
// window. A text field has an undo of its own on Ctrl+Z and takes the key
// before the window's shortcut could; for a gem cutter the key undoes the
// design, whichever pane they typed in last.
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace brevix {

class WindowAccelerators : public QObject {
public:
    // Watches the whole application (fields are created and destroyed as
    // panes change) but acts only on widgets inside `window`.
    WindowAccelerators(QWidget* window, QList<QKeySequence> keys);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    QList<QKeySequence> keys_;
};

}  // namespace brevix
