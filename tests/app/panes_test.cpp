// The panes' own behaviour inside the window: turning the spin view with the
// mouse and the space bar, Copy from the active pane, F6 between panes, and
// the help command when the guide is missing.
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"
#include <cmath>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/help_window.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/four_view.h"
#include "app/panes/spin_view.h"
#include "app/help_file.h"
#include "app_test_support.h"

using namespace brevix;
using namespace brevix::test;

namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, modifiers);
    QApplication::sendEvent(w, &event);
}

void drag(QWidget* w, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, modifiers);
    mouse(w, QEvent::MouseMove, to, Qt::LeftButton, modifiers);
    mouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton, modifiers);
}

constexpr double kDegree = M_PI / 180;

}  // namespace

class PanesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void draggingTurnsTheSpinView() {
        TemporaryRegistry registry;
        Session session;
        CSpinView* spin = session.frame->spinView();
        const SpinAngles start = spin->angles();
        drag(spin, {20, 20}, {170, 20});
        QVERIFY(std::abs(spin->angles().azimuth - (start.azimuth + 1)) < 1e-12);
        QCOMPARE(spin->angles().tilt, start.tilt);

        // Shift at the press spins the picture in its plane instead.
        drag(spin, {20, 20}, {95, 50}, Qt::ShiftModifier);
        QVERIFY(std::abs(spin->angles().spin - 0.5) < 1e-12);
        QVERIFY(std::abs(spin->angles().azimuth - (start.azimuth + 1)) < 1e-12);

        // Moving without the button turns nothing and says "Ready".
        const SpinAngles before = spin->angles();
        mouse(spin, QEvent::MouseMove, {60, 60}, Qt::NoButton);
        QCOMPARE(spin->angles().azimuth, before.azimuth);
        QCOMPARE(session.frame->messageText(), QStringLiteral("Ready"));
    }

    void spaceSnapsAndTheStatusBarShowsTheAngles() {
        TemporaryRegistry registry;
        Session session;
        CSpinView* spin = session.frame->spinView();
        spin->setAngles({355.2 * kDegree, 14.9 * kDegree, 5.0 * kDegree});
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Space);
        QCOMPARE(spin->angles().azimuth, 0.0);
        QVERIFY(std::abs(spin->angles().tilt - 10 * kDegree) < 1e-12);
        QVERIFY(std::abs(spin->angles().spin - 10 * kDegree) < 1e-12);
        spin->repaint();
        QCOMPARE(session.frame->messageText(), QStringLiteral("  80.0    0.0   10.0"));
    }

    void copyPutsThePictureOfTheActivePaneOnTheClipboard() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        CMainFrame& frame = *session.frame;
        QClipboard* clipboard = QGuiApplication::clipboard();

        clipboard->clear();
        frame.fourView()->setFocus();
        frame.action(ID_EDIT_COPY)->trigger();
        const QMimeData* four = clipboard->mimeData();
        QVERIFY(four && four->hasImage());
        const QByteArray svg = four->data(QStringLiteral("image/svg+xml"));
        QVERIFY(svg.contains("<svg"));
        // A picture has no background, only the drawing.
        QVERIFY(!svg.contains("#a6caf0"));
        QCOMPARE(qvariant_cast<QImage>(four->imageData()).size(), frame.fourView()->size());

        clipboard->clear();
        frame.spinView()->setFocus();
        frame.action(ID_EDIT_COPY)->trigger();
        QVERIFY(clipboard->mimeData()->hasFormat(QStringLiteral("image/svg+xml")));
        QCOMPARE(sink.texts(), (std::vector<std::string>{"Four View copied to clipboard",
                                                         "Spin View copied to clipboard"}));
        QCOMPARE(sink.entries[0].icon, Icon::Information);
    }

    void f6MovesBetweenThePanes() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        frame.activateWindow();
        frame.fourView()->setFocus();
        frame.action(ID_NEXT_PANE)->trigger();
        QVERIFY(frame.cutList()->hasFocus());
        frame.action(ID_NEXT_PANE)->trigger();
        QVERIFY(frame.spinView()->hasFocus());
        frame.action(ID_PREV_PANE)->trigger();
        QVERIFY(frame.cutList()->hasFocus());
    }

    void aboutShowsTheVersion() {
        TemporaryRegistry registry;
        Session session;
        QString version;
        // The dialog is modal: read it and close it once it is up.
        QTimer::singleShot(0, [&version] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("version")))
                version = label->text();
            dialog->accept();
        });
        session.frame->action(ID_APP_ABOUT)->trigger();
        QCOMPARE(version, QStringLiteral("Version 1.09"));
    }

    void missingGuideIsReported() {
        TemporaryRegistry registry;
        QTemporaryDir start;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(start.path());
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        QDir::setCurrent(previous);
        const QString expected =
            QDir::toNativeSeparators(start.path() + QStringLiteral("/UsersGuide/brevixman.html"));
        QCOMPARE(session.frame->helpPath(), expected);
        session.frame->action(ID_HELP_CONTENTS)->trigger();
        QCOMPARE(sink.texts(),
                 std::vector<std::string>{"Cannot open help file:\n" + expected.toStdString()});
    }

    void theGuideIsFoundBelowTheStartFolderOrWhereItWasInstalled() {
        QTemporaryDir root;
        const QString prefix = root.path() + QStringLiteral("/prefix");
        const QString start = root.path() + QStringLiteral("/start");
        const QString installed = prefix + QStringLiteral("/share/doc/brevix/UsersGuide/brevixman.html");
        QVERIFY(QDir().mkpath(prefix + QStringLiteral("/bin")));
        QVERIFY(QDir().mkpath(start + QStringLiteral("/UsersGuide")));
        QVERIFY(QDir().mkpath(QFileInfo(installed).path()));
        QFile(installed).open(QIODevice::WriteOnly);
        QCOMPARE(findHelpFile(start, prefix + QStringLiteral("/bin")), installed);
        // A guide below the start folder is still the first choice.
        const QString local = start + QStringLiteral("/UsersGuide/brevixman.html");
        QFile(local).open(QIODevice::WriteOnly);
        QCOMPARE(findHelpFile(start, prefix + QStringLiteral("/bin")), local);
        // A folder that merely carries the name is no guide.
        QVERIFY(QFile::remove(local));
        QVERIFY(QFile::remove(installed));
        QVERIFY(QDir().mkpath(installed));
        QCOMPARE(findHelpFile(start, prefix + QStringLiteral("/bin")), local);
    }

    // No browser on the desktop: the guide comes up in the program's own
    // help window, pictures and links working; no message.
    void guideWithoutABrowserInTheHelpWindow() {
        TemporaryRegistry registry;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(BREVIX_SOURCE_DIR));
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        QDir::setCurrent(previous);
        QList<QUrl> asked;
        const auto desktop = openWithDesktop;
        openWithDesktop = [&asked](const QUrl& url) {
            asked << url;
            return false;
        };
        session.frame->action(ID_HELP_CONTENTS)->trigger();
        session.frame->action(ID_HELP_CONTENTS)->trigger();  // the same window again
        openWithDesktop = desktop;

        const QString guide = QStringLiteral(BREVIX_SOURCE_DIR "/UsersGuide/brevixman.html");
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0], QUrl::fromLocalFile(QDir::toNativeSeparators(guide)));
        QVERIFY(sink.texts().empty());
        const QList<HelpWindow*> windows =
            session.frame->findChildren<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(windows.size(), 1);
        HelpWindow& help = *windows[0];
        QVERIFY(help.isVisible());
        QTextBrowser& browser = *help.browser();
        QCOMPARE(QFileInfo(browser.source().toLocalFile()).canonicalFilePath(),
                 QFileInfo(guide).canonicalFilePath());
        QVERIFY(browser.toPlainText().contains(QStringLiteral("Opening and saving designs")));
        // The pictures load from beside the guide.
        const QVariant picture = browser.document()->resource(
            QTextDocument::ImageResource, browser.source().resolved(QUrl(QStringLiteral("images/main_window.png"))));
        QVERIFY(picture.isValid());

        // A link of the contents, then Back and Forward.
        QVERIFY(!help.backAction()->isEnabled());
        browser.setSource(browser.source().resolved(QUrl(QStringLiteral("#files"))));
        QVERIFY(help.backAction()->isEnabled());
        help.backAction()->trigger();
        QVERIFY(help.forwardAction()->isEnabled());
        QVERIFY(browser.source().fragment().isEmpty());
        help.forwardAction()->trigger();
        QCOMPARE(browser.source().fragment(), QStringLiteral("files"));
        help.homeAction()->trigger();
        QVERIFY(browser.source().fragment().isEmpty());
    }
};

BREVIX_WIDGET_TEST(PanesTest)
#include "panes_test.moc"
