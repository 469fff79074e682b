#include "app/dialogs/help_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>

#include "app/message_box_sink.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

std::function<bool(const QUrl&)> openWithDesktop = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
};

HelpWindow::HelpWindow(const QString& guidePath, QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Brevix User's Guide"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("guide"));
    // Links out of the guide (a web page) still go to the desktop.
    browser_->setOpenExternalLinks(true);
    setCentralWidget(browser_);

    auto* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("navigation"));
    bar->setMovable(false);
    back_ = bar->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
    back_->setShortcuts(QKeySequence::Back);
    forward_ = bar->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
    forward_->setShortcuts(QKeySequence::Forward);
    home_ = bar->addAction(QStringLiteral("Contents"), browser_, &QTextBrowser::home);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);

    browser_->setSource(QUrl::fromLocalFile(guidePath));

    // A page of text at a comfortable width, never larger than the screen.
    QSize size(820, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

bool showUsersGuide(const QString& guidePath, QWidget* parent) {
    // Opening a missing file would only be noticed by the viewer, if at all;
    // the user is told here instead.
    if (!QFileInfo::exists(guidePath)) {
        showMessage(strprintf("Cannot open help file:\n%s", toCore(guidePath).c_str()));
        return false;
    }
    if (openWithDesktop(QUrl::fromLocalFile(guidePath))) return true;
    auto* window = parent ? parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) window = new HelpWindow(guidePath, parent);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

}  // namespace brevix
