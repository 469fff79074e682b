#include "uninstaller/ui/uninstaller_window.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "uninstaller/ui/progress_dialog.h"
#include "uninstaller/ui/qt_texts.h"
#include "uninstaller/ui/uninstaller_dialogs.h"
#include "uninstaller/ui/uninstaller_pictures.h"
#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {

UninstallerWindow::UninstallerWindow(UninstallContext& context, UninstallServices& services, QWidget* parent)
    : QMainWindow(parent), context_(context), services_(services) {
    setObjectName(QStringLiteral("UninstallerWindow"));
    setWindowTitle(qtText(context.text(TEXT_MAIN_TITLE)));
    setWindowIcon(uninstallerIcon());
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), this, [this] { post([this] { end(); }); });
    // The Edit menu is there as on every window of its kind; it edits nothing.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    for (const char* item : {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "&Delete"})
        edit->addAction(QString::fromLatin1(item));
    resize(200, 46 + menuBar()->sizeHint().height());
}

template <typename Step>
void UninstallerWindow::post(Step step) {
    QMetaObject::invokeMethod(
        this,
        [this, step] {
            try {
                step();
            } catch (...) {
                failure_ = std::current_exception();
                end();
            }
        },
        Qt::QueuedConnection);
}

void UninstallerWindow::start() { post([this] { confirm(); }); }

void UninstallerWindow::confirm() {
    if (confirmRemoval(this, context_)) post([this] { removeAll(); });
    else post([this] { end(); });
}

void UninstallerWindow::removeAll() {
    {
        ProgressDialog dialog(context_, services_, this);
        dialog.exec();
    }
    post([this] { end(); });
}

void UninstallerWindow::end() { close(); }

void UninstallerWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT closed();
}

}  // namespace brevix::uninstall
