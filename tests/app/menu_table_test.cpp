// The menu as the user sees it: every command's text, status-bar prompt,
// keys and enabled state, the toolbar, and what the Zoom commands do.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSet>
#include <QTest>
#include "widget_test.h"
#include <QToolBar>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/panes/four_view.h"
#include "app_test_support.h"

using namespace brevix;
using namespace brevix::test;

namespace {

struct Expected {
    int id;
    const char* text;
    const char* prompt;
};

// The program's own texts, spellings included.
const Expected kMenu[] = {
    {57600, "&New", "Create a new document"},
    {57601, "&Open...", "Open an existing document"},
    {57603, "&Save", "Save the active document"},
    {57604, "Save &As...", "Save the active document with a new name"},
    {32780, "Search &Datavue Database...", "Search the Quorly database of faceting designs"},
    {32776, "Expor&t...", ""},
    {57607, "&Print...", "Print the active document"},
    {57609, "Print Pre&view", "Print preview diagram wiith cutting instructions"},
    {57606, "P&rint Setup...", "Change the printer and printing options"},
    {57665, "E&xit", "Quit the application; prompts to save documents"},
    {57643, "&Undo", "Undo the last action"},
    {57644, "&Redo", "Redo the previously undone action"},
    {57635, "Cu&t", "Cut the selection and put it on the Clipboard"},
    {57634, "&Copy", "Copy the selected view of stone or cutting instructions to Windows Clipboard"},
    {57637, "&Paste", "Insert Clipboard contents"},
    {32816, "&Angle...", "Enter the angle of a new facet"},
    {32819, "&Index...", "Enter the index of a new facet"},
    {32773, "Inde&x Gear...", "Select index gear"},
    {32772, "Tra&nsfer", "Transfer stone to cut crown/pavilion"},
    {32808, "S&ort...", "Sort cutting order"},
    {32820, "Rena&me in order...", "Rename facets in order"},
    {32782, "&Heading/Footnote...", "Heading and footnote on diagram"},
    {32781, "Rotate/Ti&lt...", "Rotate or tilt the stone"},
    {32774, "&Scale...", "Scale: Stretch or shrink stone: square->rect., rd.->oval, etc."},
    {32775, "C&enter...", "Slide or recenter the stone"},
    {32802, "Re&flect...", "Reflect stone to stretch or shrink"},
    {32813, "Re&Generate", "Regenerate facet meet points from planes"},
    {59392, "&Toolbar", "Show or hide the toolbar"},
    {59393, "&Status Bar", "Show or hide the status bar"},
    {32792, "Zoom Out", "Zoom out to see all 4 views"},
    {32793, "Top View", "Zoom in to top view (upper-left)"},
    {32794, "Side View", "Zoom in to side view (upper-right)"},
    {32795, "End View", "Zoom in to end view (lower-left)"},
    {32796, "Bottom View", "Zoom in to bottom view (lower-right)"},
    {32800, "&Replay", "Replay the stone one facet at a time"},
    {32812, "&Hidden Lines", "Show/hide hidden lines"},
    {32811, "Re&fresh / &Erase Rays", "Erase light rays"},
    {32804, "Preform &Delete", "Delete the preform"},
    {32805, "&Create CAM", "Create a CAM preform for girdle outline"},
    {32806, "Copy to &Preform", "Copy facets from start to last girdle to create preform"},
    {32807, "Preform &Edit", "Edit preform (hide stone)"},
    {32810, "Raytrace &Properties...", "Set refractive index, critical angle"},
    {32821, "&Contents", "Display User's Guide"},
    {57664, "&About Brevix...", nullptr},
};

struct Keys {
    const char* key;
    int id;
};

const Keys kAccelerators[] = {
    {"Ctrl+A", 32816}, {"Ctrl+C", 57634},     {"Ctrl+D", 32811},        {"Ctrl+I", 32819},
    {"Ctrl+N", 57600}, {"Ctrl+O", 57601},     {"Ctrl+P", 57607},        {"Ctrl+R", 57609},
    {"Ctrl+S", 57603}, {"Ctrl+T", 32772},     {"Ctrl+V", 57637},        {"Ctrl+X", 57635},
    {"Ctrl+Y", 57644}, {"Ctrl+Z", 57643},     {"Alt+Backspace", 57643}, {"Shift+Del", 57635},
    {"Ctrl+Ins", 57634}, {"Shift+Ins", 57637}, {"F6", ID_NEXT_PANE},    {"Shift+F6", ID_PREV_PANE},
};

// Every menu item reachable from the menu bar, submenus included.
QList<QAction*> menuItems(QMenuBar* bar) {
    QList<QAction*> items;
    QList<QMenu*> pending;
    for (QAction* top : bar->actions())
        if (top->menu()) pending << top->menu();
    while (!pending.isEmpty()) {
        QMenu* menu = pending.takeFirst();
        for (QAction* a : menu->actions()) {
            if (a->menu())
                pending << a->menu();
            else if (!a->isSeparator())
                items << a;
        }
    }
    return items;
}

}  // namespace

class MenuTableTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void everyCommandIsOnTheMenuWithItsTextAndPrompt() {
        TemporaryRegistry registry;
        Session session;
        const QList<QAction*> items = menuItems(session.frame->menuBar());
        for (const Expected& e : kMenu) {
            QAction* a = session.frame->action(e.id);
            QVERIFY2(a, QByteArray::number(e.id));
            QVERIFY2(items.contains(a), e.text);
            QCOMPARE(a->text(), QString::fromLatin1(e.text));
            if (e.prompt)
                QCOMPARE(a->statusTip(), QString::fromLatin1(e.prompt));
            else
                QVERIFY(!a->statusTip().isEmpty());
        }
    }

    // Two commands on one id: the second's action takes the first's place,
    // and its menu item opens the wrong window.
    void everyCommandHasAnIdOfItsOwn() {
        QSet<int> ids;
        for (const CommandInfo& c : commandTable()) {
            QVERIFY2(!ids.contains(c.id), QByteArray::number(c.id));
            ids.insert(c.id);
        }
    }

    void acceleratorsReachTheirCommands() {
        TemporaryRegistry registry;
        Session session;
        for (const Keys& k : kAccelerators) {
            const QKeySequence wanted(QString::fromLatin1(k.key), QKeySequence::PortableText);
            QAction* a = session.frame->action(k.id);
            QVERIFY2(a && a->shortcuts().contains(wanted), k.key);
            // No other command answers the same keys.
            for (const CommandInfo& info : commandTable())
                if (info.id != k.id)
                    QVERIFY2(!session.frame->action(info.id)->shortcuts().contains(wanted), k.key);
        }
    }

    void commandsWithoutTheirFeatureAreGreyed() {
        TemporaryRegistry registry;
        Session session;
        // Cut and Paste have nothing to act on in this program.
        QVERIFY(!session.frame->action(ID_EDIT_CUT)->isEnabled());
        QVERIFY(!session.frame->action(ID_EDIT_PASTE)->isEnabled());
        for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_EXPORT,
                       ID_APP_EXIT, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_COPY, ID_VIEW_TOOLBAR,
                       ID_VIEW_STATUS_BAR, ID_ZOOM_OUT, ID_ZOOM_TOP, ID_ZOOM_SIDE, ID_ZOOM_END,
                       ID_ZOOM_BOTTOM, ID_VIEW_HIDDEN_LINES, ID_HELP_CONTENTS, ID_APP_ABOUT})
            QVERIFY2(session.frame->action(id)->isEnabled(), QByteArray::number(id));
        // A greyed command does nothing even when its keys are pressed.
        QAction* cut = session.frame->action(ID_EDIT_CUT);
        QSignalSpy triggered(cut, &QAction::triggered);
        QTest::keyClick(session.frame.get(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 0);
    }

    void toolbarHoldsItsButtonsInOrder() {
        TemporaryRegistry registry;
        Session session;
        auto* bar = session.frame->findChild<QToolBar*>(QStringLiteral("toolbar"));
        QVERIFY(bar);
        QCOMPARE(bar->iconSize(), QSize(16, 15));
        QList<int> ids;
        for (QAction* a : bar->actions()) ids << (a->isSeparator() ? 0 : a->data().toInt());
        QCOMPARE(ids, (QList<int>{57600, 57601, 57603, 32780, 57607, 57609, 0, 57643, 57644, 57634,
                                  32772, 32773, 0, 57664}));
        QCOMPARE(session.frame->action(ID_EDIT_TRANSFER)->toolTip(), QStringLiteral("Transfer"));
        for (QAction* a : bar->actions())
            if (!a->isSeparator()) QVERIFY(!a->icon().isNull());
    }

    void promptsGoToTheMessagePane() {
        TemporaryRegistry registry;
        Session session;
        QStatusTipEvent tip(session.frame->action(ID_EDIT_TRANSFER)->statusTip());
        QApplication::sendEvent(session.frame.get(), &tip);
        QCOMPARE(session.frame->messageText(), QStringLiteral("Transfer stone to cut crown/pavilion"));
        QStatusTipEvent none{QString()};
        QApplication::sendEvent(session.frame.get(), &none);
        QCOMPARE(session.frame->messageText(), QStringLiteral("Ready"));
    }

    void zoomEnlargesOneViewAndChecksOnlyItsItem() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        struct Case {
            int id;
            bool zoomed;
            int pane;
        };
        const Case cases[] = {{ID_ZOOM_BOTTOM, true, 2}, {ID_ZOOM_END, true, 3},
                              {ID_ZOOM_SIDE, true, 1},   {ID_ZOOM_TOP, true, 0},
                              {ID_ZOOM_OUT, false, 0}};
        QVERIFY(frame.action(ID_ZOOM_OUT)->isChecked());
        for (const Case& c : cases) {
            frame.action(c.id)->trigger();
            QCOMPARE(frame.fourView()->zoomed(), c.zoomed);
            QCOMPARE(frame.fourView()->zoomPane(), c.pane);
            QCOMPARE(frame.zoomFlag(), c.zoomed ? 1 : 0);
            for (int id : zoomCommands())
                QCOMPARE(frame.action(id)->isChecked(), id == c.id);
        }
    }

    void toolbarAndStatusBarCanBeHidden() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        auto* bar = frame.findChild<QToolBar*>(QStringLiteral("toolbar"));
        frame.action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!bar->isVisible());
        QVERIFY(!frame.action(ID_VIEW_TOOLBAR)->isChecked());
        frame.action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!frame.statusBar()->isVisible());
        frame.action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(bar->isVisible());
    }
};

BREVIX_WIDGET_TEST(MenuTableTest)
#include "menu_table_test.moc"
