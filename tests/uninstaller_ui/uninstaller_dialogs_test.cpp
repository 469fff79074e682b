// The uninstaller's window and dialogs on a scripted world: what they show,
// which buttons answer, and that the run's reports and questions arrive on
// the window's thread.
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "dialog_driver.h"
#include "fake_services.h"
#include "uninstaller/ui/progress_dialog.h"
#include "uninstaller/ui/uninstaller_window.h"

using namespace brevix::uninstall;
using namespace brevix::uninstall::test;

namespace {

// The texts the installation writes into Setup.log.
std::string installedTexts() {
    QFile texts(QStringLiteral(BREVIX_SOURCE_DIR "/packaging/setup-log-texts.ini"));
    texts.open(QIODevice::ReadOnly);
    return texts.readAll().replace("\n", "\r\n").toStdString();
}

// With BREVIX_GUIDE_IMAGES set, the user's guide's pictures of the dialogs
// are saved there as the tests walk through them.
void saveGuidePicture(QWidget* widget, const char* name) {
    const QString folder = qEnvironmentVariable("BREVIX_GUIDE_IMAGES");
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    widget->grab().save(folder + QLatin1Char('/') + QLatin1String(name));
}

// A log folder, a context on it and a scripted world.
struct Scene {
    QTemporaryDir dir;
    UninstallContext context;
    FakeServices services;

    explicit Scene(const std::string& sections) {
        QFile log(dir.filePath(QStringLiteral("Setup.log")));
        log.open(QIODevice::WriteOnly);
        log.write((installedTexts() + sections).c_str());
        log.close();
        context.logDirectory = dir.path().toStdString() + "/";
        context.openLog();
    }
};

// Runs the window's chain until it closes.
bool runUntilClosed(UninstallerWindow& window) {
    QSignalSpy closed(&window, &UninstallerWindow::closed);
    window.show();
    window.start();
    return closed.wait(30000);
}

}  // namespace

class UninstallerDialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theMainWindowHasItsTitleAndMenus() {
        Scene scene("");
        UninstallerWindow window(scene.context, scene.services);
        QCOMPARE(window.windowTitle(), QStringLiteral("Brevix Uninstall"));
        const auto menus = window.menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->menu()->actions().size(), 1);
        QCOMPARE(menus[0]->menu()->actions()[0]->text(), QStringLiteral("E&xit"));
        QCOMPARE(menus[1]->menu()->actions().size(), 6);
    }

    void fileExitClosesTheWindowWithoutAsking() {
        Scene scene("[APPFILES]\r\n/opt/b/brevix\r\n");
        scene.services.files = {"/opt/b/brevix"};
        UninstallerWindow window(scene.context, scene.services);
        QSignalSpy closed(&window, &UninstallerWindow::closed);
        window.show();
        window.menuBar()->actions()[0]->menu()->actions()[0]->trigger();
        QVERIFY(closed.wait(5000));
        QVERIFY(!window.isVisible());
        QVERIFY(scene.services.events.empty());
    }

    void noToTheConfirmationTouchesNothing() {
        Scene scene("[APPFILES]\r\n/opt/b/brevix\r\n[APPDIR]\r\n/opt/b\r\n");
        scene.services.files = {"/opt/b/brevix"};
        UninstallerWindow window(scene.context, scene.services);
        QString title, text;
        bool question = false, yesIsDefault = false;
        whenModal(QStringLiteral("ConfirmDialog"), [&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            title = message->windowTitle();
            text = message->text();
            saveGuidePicture(box, "uninstall-confirm.png");
            question = message->icon() == QMessageBox::Question;
            yesIsDefault = message->defaultButton() == message->button(QMessageBox::Yes);
            messageButton(box, QMessageBox::No)->click();
        });
        QVERIFY(runUntilClosed(window));
        QCOMPARE(title, QStringLiteral("Remove Brevix"));
        QCOMPARE(text, QStringLiteral("Do you want to remove Brevix and everything that was installed with it "
                                      "from this computer? Your own designs are not touched."));
        QVERIFY(question);
        QVERIFY(yesIsDefault);
        QVERIFY(scene.services.events.empty());
        QVERIFY(!window.failure());
    }

    void enterAnswersYesAndACleanRunLeavesDetailsDisabled() {
        Scene scene("[APPFILES]\r\n/opt/b/brevix\r\n/opt/b/Setup.log\r\n[APPDIR]\r\n/opt/b\r\n");
        scene.services.files = {"/opt/b/brevix", "/opt/b/Setup.log"};
        scene.services.folders = {"/opt/b"};
        UninstallerWindow window(scene.context, scene.services);
        whenModal(QStringLiteral("ConfirmDialog"), [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
        QString title, explanation, status;
        bool detailsEnabled = true, okDefault = false, allMarks = true, barFull = false;
        whenModal(QStringLiteral("ProgressDialog"), [&](QWidget* widget) {
            auto* dialog = static_cast<ProgressDialog*>(widget);
            QTRY_VERIFY_WITH_TIMEOUT(dialog->okButton()->isEnabled(), 20000);
            title = dialog->windowTitle();
            explanation = dialog->findChild<QLabel*>(QStringLiteral("Explanation"))->text();
            status = dialog->statusLine()->text();
            detailsEnabled = dialog->detailsButton()->isEnabled();
            okDefault = dialog->okButton()->isDefault();
            for (int phase = 1; phase <= 6; ++phase) allMarks &= dialog->checkMark(phase)->isVisible();
            barFull = dialog->progressBar()->value() == dialog->progressBar()->maximum() &&
                      dialog->progressBar()->maximum() == 3;
            saveGuidePicture(dialog, "uninstall-progress.png");
            QTest::keyClick(dialog, Qt::Key_Return);  // OK is the default now
        });
        QVERIFY(runUntilClosed(window));
        QCOMPARE(title, QStringLiteral("Removing Brevix"));
        QCOMPARE(explanation, QStringLiteral("Brevix is being removed from your computer. "
                                             "Each part is ticked off when it is done."));
        QCOMPARE(status, QStringLiteral("Brevix has been removed from your computer."));
        QVERIFY(!detailsEnabled);
        QVERIFY(okDefault);
        QVERIFY(allMarks);
        QVERIFY(barFull);
        QVERIFY(scene.services.files.empty());
        QVERIFY(scene.services.folders.empty());
    }

    void errorsEnableDetailsWhichListsEveryLine() {
        Scene scene("[APPFILES]\r\n/opt/brevix/bin/brevix\r\n[APPDIR]\r\n/opt/brevix\r\n");
        scene.services.files = {"/opt/brevix/bin/brevix"};
        scene.services.locked = {"/opt/brevix/bin/brevix"};
        scene.services.folders = {"/opt/brevix"};
        ProgressDialog dialog(scene.context, scene.services);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.okButton()->isEnabled(), 20000);
        QCOMPARE(dialog.statusLine()->text(),
                 QStringLiteral("Some parts could not be removed. Click Details... to see which ones, "
                                "then delete them yourself if you wish."));
        saveGuidePicture(&dialog, "uninstall-errors.png");
        QVERIFY(dialog.detailsButton()->isEnabled());
        QString title, label, lines;
        whenModal(QStringLiteral("ErrorDetailsDialog"), [&](QWidget* details) {
            title = details->windowTitle();
            label = details->findChild<QLabel*>()->text();
            lines = details->findChild<QPlainTextEdit*>()->toPlainText();
            saveGuidePicture(details, "uninstall-details.png");
            static_cast<QDialog*>(details)->accept();
        });
        dialog.detailsButton()->click();
        QCOMPARE(title, QStringLiteral("Details"));
        QCOMPARE(label, QStringLiteral("These files and folders could not be removed:"));
        QCOMPARE(lines, QStringLiteral("Could not delete the file \"/opt/brevix/bin/brevix\"\n"
                                       "Could not remove the folder \"/opt/brevix\"\n"));
    }

    void theSharedFileQuestionIsAskedOnTheWindowThread() {
        Scene scene("[SHAREDFILES]\r\n/lib/a.so\r\n/lib/b.so\r\n");
        scene.services.files = {"/lib/a.so", "/lib/b.so"};
        scene.services.sharedCounts = {{"/lib/a.so", 1}, {"/lib/b.so", 1}};
        ProgressDialog dialog(scene.context, scene.services);
        QString title, text;
        QWidget* owner = nullptr;
        bool onWindowThread = false;
        whenModal(QStringLiteral("RemoveSharedFileDialog"), [&](QWidget* box) {
            title = box->windowTitle();
            text = qobject_cast<QMessageBox*>(box)->text();
            owner = box->parentWidget();
            saveGuidePicture(box, "uninstall-shared-file.png");
            onWindowThread = box->thread() == qApp->thread();
            messageButton(box, QMessageBox::YesToAll)->click();
        });
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.okButton()->isEnabled(), 20000);
        QCOMPARE(title, QStringLiteral("Remove Shared File?"));
        QCOMPARE(text, QStringLiteral("No installed program uses the shared file a.so in the folder /lib/ any "
                                      "more. Do you want to remove it?"));
        QCOMPARE(owner, &dialog);
        QVERIFY(onWindowThread);
        // Yes to All answered for the second file too: no box was left open.
        QVERIFY(scene.services.files.empty());
        QVERIFY(scene.services.sharedCounts.empty());
        QVERIFY(scene.services.questions.empty());  // the dialog asked, not the world
    }

    void aRunThatFailsLeavesOkDisabledButTheDialogCanBeClosed() {
        Scene scene("[APPFILES]\r\n/opt/b/x\r\n");
        // The run opens the log again; it is gone by then.
        QFile::remove(scene.dir.filePath(QStringLiteral("Setup.log")));
        ProgressDialog dialog(scene.context, scene.services);
        dialog.show();
        QTest::qWait(300);
        QVERIFY(!dialog.okButton()->isEnabled());
        QVERIFY(!dialog.finished());
        dialog.reject();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void theProgressDialogCannotBeClosedWhileTheRunWorks() {
        Scene scene("[REGENTRY]\r\nHKCU,Software\\Brevix\r\n");
        struct SlowServices : FakeServices {
            void pause(int) override { QThread::msleep(300); }
        } slow;
        ProgressDialog dialog(scene.context, slow);
        dialog.show();
        QTest::qWait(50);
        dialog.reject();
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(dialog.okButton()->isEnabled(), 20000);
        dialog.reject();
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(UninstallerDialogsTest)
#include "uninstaller_dialogs_test.moc"
