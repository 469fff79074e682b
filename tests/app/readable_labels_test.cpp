// Labels a person can read, at the window's first size (767 x 540) and at
// 1280 x 800: no text of the Design Figures pane (its figures, the pending
// cut's column, the Goals page), of Edit Tier or of Retarget is elided or
// cut off by its widget, no label shows a literal ampersand, and a dialog is
// as wide as its title. A pane that cannot fit the first window starts
// hidden; the Light pane shares the side with the figures as a tab.
//
// With BREVIX_LABEL_SHOTS naming a folder, the screens checked are saved
// there as pictures (under Xvfb with a window manager, title bars included).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include "widget_test.h"
#include <QTreeWidget>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/add_dlg.h"
#include "app/dialogs/edit_tier_dlg.h"
#include "app/dialogs/optimise_dlg.h"
#include "app/dialogs/rename_dlg.h"
#include "app/panes/figures_pane.h"
#include "app_test_support.h"

using namespace brevix;
using namespace brevix::test;

namespace {

QDockWidget* dockNamed(CMainFrame& frame, const char* name) {
    return frame.findChild<QDockWidget*>(QString::fromLatin1(name));
}

// The screen as it is, when BREVIX_LABEL_SHOTS names a folder.
void shot(QWidget* widget, const char* name) {
    const QByteArray folder = qgetenv("BREVIX_LABEL_SHOTS");
    if (folder.isEmpty()) return;
    QTest::qWait(300);
    QPixmap picture = QGuiApplication::platformName() == QLatin1String("xcb")
                          ? widget->screen()->grabWindow(0)
                          : widget->window()->grab();
    picture.save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name)));
}

QString withoutMnemonic(QString text) {
    return text.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
}

// Every text below `root` that is shown cut short: wider than the room its
// widget gives it, elided, or a label's ampersand that marks no key.
QStringList unreadable(QWidget* root) {
    QStringList cut;
    const auto shown = [root](QWidget* w) { return w->isVisibleTo(root) || w == root; };
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!shown(label) || label->text().isEmpty() || Qt::mightBeRichText(label->text())) continue;
        QString text = label->text();
        if (label->buddy())
            text = withoutMnemonic(text);
        else if (text.contains(QLatin1Char('&')))
            cut << QStringLiteral("ampersand: ") + text;
        if (label->wordWrap()) continue;
        const QFontMetrics metrics(label->font());
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (metrics.horizontalAdvance(line) > label->contentsRect().width()) cut << QStringLiteral("label: ") + line;
    }
    for (QTreeWidget* tree : root->findChildren<QTreeWidget*>()) {
        if (!shown(tree)) continue;
        QHeaderView* header = tree->header();
        const int room = 2 * tree->style()->pixelMetric(QStyle::PM_HeaderMargin);
        for (int column = 0; column < tree->columnCount(); ++column) {
            if (tree->isColumnHidden(column)) continue;
            const QString title = tree->headerItem()->text(column);
            if (QFontMetrics(header->font()).horizontalAdvance(title) + room > header->sectionSize(column))
                cut << QStringLiteral("heading: ") + title;
            for (int row = 0; row < tree->topLevelItemCount(); ++row) {
                QTreeWidgetItem* item = tree->topLevelItem(row);
                const QFontMetrics metrics(item->font(column));
                if (metrics.horizontalAdvance(item->text(column)) + 4 > tree->columnWidth(column))
                    cut << QStringLiteral("figure: ") + item->text(column);
            }
        }
        // Columns wider than the tree would be cut at its edge.
        if (tree->horizontalScrollBar()->maximum() > 0) cut << QStringLiteral("figures scroll sideways");
    }
    for (QPushButton* button : root->findChildren<QPushButton*>()) {
        if (!shown(button)) continue;
        const QString text = withoutMnemonic(button->text());
        if (button->fontMetrics().horizontalAdvance(text) + 6 > button->width()) cut << QStringLiteral("button: ") + text;
    }
    for (QTabBar* tabs : root->findChildren<QTabBar*>()) {
        if (!shown(tabs)) continue;
        for (int i = 0; i < tabs->count(); ++i) {
            const QString text = withoutMnemonic(tabs->tabText(i));
            if (tabs->fontMetrics().horizontalAdvance(text) + 8 > tabs->tabRect(i).width())
                cut << QStringLiteral("tab: ") + text;
        }
    }
    return cut;
}

// Tidy away the pending work of a dialog left open for a look.
void settle() {
    QApplication::processEvents();
    QTest::qWait(50);
}

// A title bar's text is bold and shares the bar with the frame's buttons.
bool titleFits(QWidget& window) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    return window.width() >= QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 100;
}

}  // namespace

class ReadableLabelsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void theFiguresPaneReadsWholeAtEitherSize() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        // The first window: 767 x 540 with its frame.
        QVERIFY(frame.width() <= 767 && frame.height() <= 540);
        QDockWidget* figures = dockNamed(frame, "DesignFiguresDock");
        QVERIFY(figures);
        // Too narrow for the pane beside the views: it waits to be asked for.
        QVERIFY(!figures->isVisible());
        QVERIFY(!frame.action(ID_VIEW_DESIGN_FIGURES)->isChecked());
        shot(&frame, "first_window.png");
        frame.action(ID_VIEW_DESIGN_FIGURES)->trigger();
        settle();
        QVERIFY(figures->isVisible());
        QVERIFY2(unreadable(figures).isEmpty(), qPrintable(unreadable(figures).join(QStringLiteral("; "))));
        shot(&frame, "first_window_figures.png");

        // The pending cut's column too: the guide's second row of crown facets.
        session.doc.pending().setSymmetry(8, 1);
        session.doc.pending().setAngle(28, true);
        session.doc.pending().setIndex(3, true);
        session.doc.pending().setCed(0.56, true);
        session.doc.pendingChanged();
        settle();
        auto* pane = figures->findChild<DesignFiguresPane*>();
        QVERIFY(pane->previewShown());
        QVERIFY2(unreadable(figures).isEmpty(), qPrintable(unreadable(figures).join(QStringLiteral("; "))));
        shot(&frame, "first_window_after_cut.png");

        auto* pages = figures->findChild<QTabWidget*>();
        pages->setCurrentIndex(1);
        settle();
        QCOMPARE(pages->tabText(1), QStringLiteral("Goals"));
        QVERIFY2(unreadable(figures).isEmpty(), qPrintable(unreadable(figures).join(QStringLiteral("; "))));
        shot(&frame, "first_window_goals.png");

        frame.resize(1280, 800);
        settle();
        pages->setCurrentIndex(0);
        QVERIFY2(unreadable(figures).isEmpty(), qPrintable(unreadable(figures).join(QStringLiteral("; "))));
        pages->setCurrentIndex(1);
        QVERIFY2(unreadable(figures).isEmpty(), qPrintable(unreadable(figures).join(QStringLiteral("; "))));
        shot(&frame, "large_window_goals.png");
    }

    // Both panes on the right: one above the other, each would get half the
    // height and scroll its warnings and tier controls away.
    void theLightPaneIsATabBesideTheFigures() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        frame.resize(1280, 800);
        settle();
        QDockWidget* figures = dockNamed(frame, "DesignFiguresDock");
        QDockWidget* light = dockNamed(frame, "LightPerformanceDock");
        frame.action(ID_VIEW_DESIGN_FIGURES)->trigger();
        frame.action(ID_VIEW_LIGHT_PERFORMANCE)->trigger();
        settle();
        QVERIFY(frame.tabifiedDockWidgets(figures).contains(light));
        QVERIFY(light->isVisible());
        shot(&frame, "large_window_light.png");
        figures->raise();
        settle();
        auto* scroller = figures->findChild<QScrollArea*>(QStringLiteral("DesignFiguresScroller"));
        QVERIFY(scroller);
        // Warnings and "Change a tier" in view without scrolling.
        QCOMPARE(scroller->verticalScrollBar()->maximum(), 0);
        QVERIFY2(unreadable(figures).isEmpty(), qPrintable(unreadable(figures).join(QStringLiteral("; "))));
        shot(&frame, "large_window_figures_with_light.png");
    }

    void editTierRetargetAndRenameRead() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;

        CEditTierDlg tier({"P1", "", " 40.75\xB0"}, true, &frame);
        tier.show();
        settle();
        QVERIFY2(unreadable(&tier).isEmpty(), qPrintable(unreadable(&tier).join(QStringLiteral("; "))));
        auto* angleLabel = tier.findChild<QLabel*>(QStringLiteral("newAngleLabel"));
        QVERIFY(angleLabel);
        QCOMPARE(angleLabel->text(), QString::fromUtf8("New angle\n(tangent ratio scale \u00bd stone)"));
        QVERIFY(titleFits(tier));
        shot(&tier, "edit_tier.png");
        tier.close();

        OptimiseDlg retarget(session.doc, OptimiseDlg::Mode::Retarget, &frame);
        retarget.show();
        settle();
        QVERIFY2(unreadable(&retarget).isEmpty(), qPrintable(unreadable(&retarget).join(QStringLiteral("; "))));
        QVERIFY(titleFits(retarget));
        shot(&retarget, "retarget.png");
        retarget.close();

        CRenameDlg rename(&frame);
        rename.show();
        settle();
        QCOMPARE(rename.windowTitle(), QStringLiteral("Rename Facets in Sequence"));
        QVERIFY(titleFits(rename));
        QVERIFY2(unreadable(&rename).isEmpty(), qPrintable(unreadable(&rename).join(QStringLiteral("; "))));
        shot(&rename, "rename.png");
        rename.close();
    }
};

BREVIX_WIDGET_TEST(ReadableLabelsTest)
#include "readable_labels_test.moc"
