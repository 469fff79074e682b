#pragma once
// Answers the uninstaller's modal dialogs from a test: waits for the next
// modal widget of the wanted kind and hands it to the test's answer.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace brevix::uninstall::test {

// Calls `answer` once with the modal widget named `objectName` when it is
// up (polling from the event loop, as a user would wait for it).
inline void whenModal(const QString& objectName, std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == objectName && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        } else if (started->elapsed() > 20000) {
            timer->stop();
            timer->deleteLater();
            qWarning("no %s came up", qPrintable(objectName));
        }
    });
    timer->start();
}

inline QAbstractButton* messageButton(QWidget* box, QMessageBox::StandardButton which) {
    return qobject_cast<QMessageBox*>(box)->button(which);
}

}  // namespace brevix::uninstall::test
