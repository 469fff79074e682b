// The command dialogs of the Edit, Stone and View menus as the user works
// them: reached from the menus by the keyboard, their check boxes and
// fields, their messages, each command undone by one Undo, Replay stepping
// through the design, and printing without a dialog.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"
#include <QTimer>
#include <cmath>
#include <deque>
#include <functional>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/center_dlg.h"
#include "app/dialogs/heading_dlg.h"
#include "app/dialogs/reflect_dlg.h"
#include "app/dialogs/rename_dlg.h"
#include "app/dialogs/replay_dlg.h"
#include "app/dialogs/rotate_dlg.h"
#include "app/dialogs/scale_dlg.h"
#include "app/dialogs/sort_dlg.h"
#include "app/print/diagram_print.h"
#include "app_test_support.h"
#include "design/sample_designs.h"
#include "document/command_messages.h"
#include "document/heading_command.h"
#include "document/status_texts.h"

using namespace brevix;
using namespace brevix::test;

namespace {

// Works each modal dialog as it comes up, one step per dialog in order.
// A dialog nobody scripted is cancelled and noted, so a test never hangs.
class ModalScript {
public:
    using Step = std::function<void(QDialog&)>;
    std::deque<Step> steps;
    QStringList titles;  // of every dialog seen, in order
    int unexpected = 0;

    ModalScript() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }

private:
    void tick() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog == handled_) return;
        handled_ = dialog;
        titles << dialog->windowTitle();
        if (steps.empty()) {
            ++unexpected;
            dialog->reject();
        } else {
            const Step step = steps.front();
            steps.pop_front();
            step(*dialog);
            // A step that failed half way leaves its dialog open.
            if (dialog->isVisible()) {
                ++unexpected;
                dialog->reject();
            }
        }
        // The same dialog may come back (Replay shows one dialog per facet).
        if (!dialog->isVisible()) handled_ = nullptr;
    }

    QTimer timer_;
    QDialog* handled_ = nullptr;
};

template <typename D>
D& as(QDialog& dialog) {
    D* d = qobject_cast<D*>(&dialog);
    if (!d) qFatal("unexpected dialog %s", qPrintable(dialog.windowTitle()));
    return *d;
}

void cancel(QDialog& dialog) { dialog.reject(); }

// Planes, names and the heading, bit for bit.
bool sameDesign(const Stone& a, const Stone& b) {
    if (a.nFacet != b.nFacet || a.heading != b.heading || a.footnote != b.footnote) return false;
    for (int32_t i = 0; i < a.nFacet; ++i) {
        const Facet& f = a.facets[i];
        const Facet& g = b.facets[i];
        if (f.a != g.a || f.b != g.b || f.c != g.c || f.d != g.d || f.name != g.name ||
            f.instruction != g.instruction)
            return false;
    }
    return a.gear == b.gear && a.indexOffset == b.indexOffset;
}

// Types into a field and moves the focus on, as the user does with Tab.
void typeAndLeave(QLineEdit* edit, const QString& text) {
    // Focus moves only inside the active window.
    edit->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(edit->window())) qWarning("dialog not active");
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

}  // namespace

class CommandDialogsTest : public QObject {
    Q_OBJECT
private:
    RecordingSink sink_;
    std::unique_ptr<ScopedMessageSink> scope_;
    std::unique_ptr<TemporaryRegistry> registry_;
    std::unique_ptr<Session> session_;
    Stone original_ = makeRoundBrilliant();

    CMainFrame& frame() { return *session_->frame; }
    CGemDoc& doc() { return session_->doc; }
    void run(int id) { frame().action(id)->trigger(); }

private Q_SLOTS:
    void initTestCase() {
        installFontSubstitutes();
        scope_ = std::make_unique<ScopedMessageSink>(sink_);
    }
    void init() {
        sink_.clear();
        sink_.script.clear();
        registry_ = std::make_unique<TemporaryRegistry>();
        session_ = std::make_unique<Session>();
    }
    void cleanup() {
        session_.reset();
        registry_.reset();
    }

    void eachDialogOpensFromItsMenuByTheKeyboard() {
        struct Path {
            Qt::Key menu, item;
            const char* title;
        };
        const Path paths[] = {
            {Qt::Key_E, Qt::Key_O, "Sort Cutting Order"},
            {Qt::Key_E, Qt::Key_M, "Rename Facets in Sequence"},
            {Qt::Key_E, Qt::Key_H, "Diagram Heading and Footnote"},
            {Qt::Key_S, Qt::Key_L, "Rotate or Tilt"},
            {Qt::Key_S, Qt::Key_S, "Scale: Stretch or Shrink"},
            {Qt::Key_S, Qt::Key_E, "Center"},
            {Qt::Key_S, Qt::Key_F, "Reflect"},
            {Qt::Key_V, Qt::Key_R, "Current Facet"},
        };
        for (const Path& path : paths) {
            ModalScript script;
            script.steps = {cancel};
            frame().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&frame()));
            QTest::keyClick(&frame(), path.menu, Qt::AltModifier);
            QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
            QTest::keyClick(QApplication::activePopupWidget(), path.item);
            QTRY_COMPARE(script.titles, QStringList{QString::fromLatin1(path.title)});
            QCOMPARE(script.unexpected, 0);
        }
        // Cancelling changes nothing, Replay included.
        QVERIFY(sameDesign(*doc().stone(), original_));
        QVERIFY(!doc().model().isModified());
    }

    void noMenuItemIsGreyedForWantOfCode() {
        // Cut and Paste have nothing to act on; the rest belong to other parts of the program.
        const QList<int> notHere = {ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_INDEX_GEAR,
                                    ID_FILE_SEARCH_DATAVUE, ID_RAYS_PROPERTIES, ID_RAYS_ERASE};
        for (const CommandInfo& info : commandTable())
            if (!notHere.contains(info.id))
                QVERIFY2(frame().action(info.id)->isEnabled(), QByteArray::number(info.id));
    }

    void rotateByNotchesAndQuarterTurns() {
        ModalScript script;
        script.steps = {[](QDialog& d) {
            auto& dialog = as<CRotateDlg>(d);
            QCOMPARE(dialog.amountEdit()->text(), QStringLiteral("0.000"));
            QCOMPARE(dialog.unitGroup()->checkedId(), 0);  // degrees
            QCOMPARE(dialog.axisGroup()->checkedId(), 2);  // the stone about the dop
            typeAndLeave(dialog.amountEdit(), QStringLiteral("3"));
            QCOMPARE(dialog.amountEdit()->text(), QStringLiteral("3.000"));
            dialog.unitGroup()->button(1)->click();
            dialog.accept();
        }};
        run(ID_STONE_ROTATE);
        // 3 notches of 96 are 11.25 degrees: every azimuth turned by that much.
        const Stone& s = *doc().stone();
        for (int32_t i = 0; i < s.nFacet; ++i) {
            const Facet& f = s.facets[i];
            const Facet& g = original_.facets[i];
            if (std::hypot(g.a, g.b) < 1e-8) continue;
            const double turned = std::atan2(f.b, f.a) - std::atan2(g.b, g.a);
            QVERIFY(std::fabs(std::remainder(turned - 11.25 * M_PI / 180, 2 * M_PI)) < 1e-9);
        }
        run(ID_EDIT_UNDO);
        QVERIFY(sameDesign(*doc().stone(), original_));

        script.steps = {[](QDialog& d) {
            auto& dialog = as<CRotateDlg>(d);
            dialog.amountEdit()->setText(QStringLiteral("1"));
            dialog.unitGroup()->button(2)->click();  // quarter revolutions
            dialog.accept();
        }};
        run(ID_STONE_ROTATE);
        for (int32_t i = 0; i < original_.nFacet; ++i) {
            const Facet& f = doc().stone()->facets[i];
            const Facet& g = original_.facets[i];
            QVERIFY(std::fabs(f.a - (g.a * 0 - g.b * 1)) < 1e-12 && std::fabs(f.b - g.a) < 1e-12);
        }
    }

    void notchesOnAGearWithoutTeethTurnNothing() {
        doc().stone()->gear = 0;
        ModalScript script;
        script.steps = {[](QDialog& d) {
            auto& dialog = as<CRotateDlg>(d);
            dialog.amountEdit()->setText(QStringLiteral("3"));
            dialog.unitGroup()->button(1)->click();
            dialog.accept();
        }};
        run(ID_STONE_ROTATE);
        QCOMPARE(sink_.texts(), std::vector<std::string>{"Zero index gear"});
        QVERIFY(!doc().model().isModified());
        QCOMPARE(doc().stone()->facets[original_.nRough].a, original_.facets[original_.nRough].a);
    }

    void scaleBoxesAndAmounts() {
        ModalScript script;
        script.steps = {[](QDialog& d) {
            auto& dialog = as<CScaleDlg>(d);
            QCOMPARE(dialog.multiplyEdit()->text(), QStringLiteral("1.0000"));
            QCOMPARE(dialog.divideEdit()->text(), QStringLiteral("1.0000"));
            QVERIFY(!dialog.automaticButton()->isEnabled());
            typeAndLeave(dialog.multiplyEdit(), QStringLiteral("0"));
            QCOMPARE(dialog.multiplyEdit()->text(), QStringLiteral("1.0000"));
            typeAndLeave(dialog.divideEdit(), QStringLiteral("0.000001"));
            QCOMPARE(dialog.divideEdit()->text(), QStringLiteral("1.0000"));

            dialog.directionBox(ScaleBox::X)->click();
            dialog.directionBox(ScaleBox::PlusY)->click();
            QVERIFY(!dialog.directionBox(ScaleBox::X)->isChecked());
            dialog.directionBox(ScaleBox::Crown)->click();
            QVERIFY(!dialog.directionBox(ScaleBox::PlusY)->isChecked());
            dialog.directionBox(ScaleBox::All)->click();
            for (ScaleBox box : {ScaleBox::X, ScaleBox::MinusY, ScaleBox::PlusY, ScaleBox::Crown,
                                 ScaleBox::Pavilion})
                QVERIFY(dialog.directionBox(box)->isChecked());
            QVERIFY(dialog.automaticButton()->isEnabled());
            dialog.directionBox(ScaleBox::Pavilion)->click();
            QVERIFY(!dialog.directionBox(ScaleBox::All)->isChecked());
            QVERIFY(!dialog.automaticButton()->isEnabled());
            dialog.reject();
        }};
        run(ID_STONE_SCALE);
        QVERIFY(!doc().model().isModified());

        // +Y by 1.2 / 1: the ranking question follows; No keeps the stretch.
        script.steps = {[](QDialog& d) {
            auto& dialog = as<CScaleDlg>(d);
            dialog.directionBox(ScaleBox::PlusY)->click();
            typeAndLeave(dialog.multiplyEdit(), QStringLiteral("1.2"));
            dialog.accept();
        }};
        sink_.script = {Answer::No};
        run(ID_STONE_SCALE);
        QCOMPARE(sink_.entries.size(), size_t(1));
        QVERIFY(sink_.entries[0].text.rfind("Common index Gears, from best to worst:", 0) == 0);
        QVERIFY(std::fabs(doc().lengthWidth - 1.1) < 0.01);
        QCOMPARE(frame().statusPaneText(1), QStringLiteral("L/W=1.100"));
        run(ID_EDIT_UNDO);
        QVERIFY(sameDesign(*doc().stone(), original_));

        // "Automatic" fits the unit cube.
        script.steps = {[](QDialog& d) {
            auto& dialog = as<CScaleDlg>(d);
            dialog.directionBox(ScaleBox::All)->click();
            dialog.automaticButton()->click();
        }};
        sink_.script = {Answer::Cancel};
        run(ID_STONE_SCALE);
        QCOMPARE(script.unexpected, 0);
        QVERIFY(doc().model().isModified());
    }

    void centerMessagesShowTheDialogAgain() {
        ModalScript script;
        QList<int> axesSeen;
        script.steps = {
            [&](QDialog& d) {
                auto& dialog = as<CCenterDlg>(d);
                QVERIFY(dialog.axisBox(2)->isChecked());  // Z at start
                QCOMPARE(dialog.pointGroup()->checkedId(), 0);  // centre of mass
                dialog.axisBox(0)->click();  // X clears Z
                QVERIFY(!dialog.axisBox(2)->isChecked());
                dialog.axisBox(1)->click();
                dialog.axisBox(2)->click();  // Z clears X and Y
                QVERIFY(!dialog.axisBox(0)->isChecked() && !dialog.axisBox(1)->isChecked());
                dialog.axisBox(2)->click();  // nothing checked now
                dialog.accept();
            },
            [&](QDialog& d) {
                auto& dialog = as<CCenterDlg>(d);
                axesSeen << dialog.choice().axes;
                dialog.axisBox(2)->click();
                dialog.pointGroup()->button(2)->click();  // point 1, but none is held
                dialog.accept();
            },
            [&](QDialog& d) {
                axesSeen << as<CCenterDlg>(d).choice().axes;
                d.reject();
            },
        };
        run(ID_STONE_CENTER);
        QCOMPARE(script.titles, (QStringList{QStringLiteral("Center"), QStringLiteral("Center"),
                                            QStringLiteral("Center")}));
        QCOMPARE(sink_.texts(), (std::vector<std::string>{cmdmsg::NO_AXIS, cmdmsg::NO_POINT}));
        QCOMPARE(axesSeen, (QList<int>{0, CENTER_Z}));  // as the user left it
        QVERIFY(!doc().model().isModified());

        // With a point held, Z centring on it moves the stone along the dop only.
        doc().pending().addPoint({0, 0, 0.1});
        script.steps = {[](QDialog& d) {
            as<CCenterDlg>(d).pointGroup()->button(2)->click();
            d.accept();
        }};
        run(ID_STONE_CENTER);
        QCOMPARE(doc().pending().info.nPoints, 0);
        QCOMPARE(doc().stone()->nFacet, original_.nFacet);
        QVERIFY(!sameDesign(*doc().stone(), original_));
        run(ID_EDIT_UNDO);
        QVERIFY(sameDesign(*doc().stone(), original_));
    }

    void headingKeepsFourLinesAndThePreviewShowsThem() {
        ModalScript script;
        script.steps = {[](QDialog& d) {
            auto& dialog = as<CHeadingDlg>(d);
            QCOMPARE(dialog.headingEdit()->toPlainText(),
                     QString::fromUtf8(diagramLinesText(makeRoundBrilliant().heading).c_str())
                         .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            dialog.headingEdit()->setPlainText(
                QStringLiteral("My Brilliant\nline 2\nline 3\nline 4\nline 5\nline 6"));
            dialog.footnoteEdit()->setPlainText(QStringLiteral("Polish with cerium"));
            dialog.accept();
        }};
        run(ID_EDIT_HEADING);
        QCOMPARE(doc().stone()->heading,
                 (std::array<std::string, 4>{"My Brilliant", "line 2", "line 3", "line 4"}));
        QCOMPARE(doc().stone()->footnote[0], std::string("Polish with cerium"));
        run(ID_EDIT_UNDO);
        QVERIFY(sameDesign(*doc().stone(), original_));

        // "Print Preview" stores the lines, then the preview shows the page with them.
        bool previewed = false;
        script.steps = {
            [](QDialog& d) {
                as<CHeadingDlg>(d).headingEdit()->setPlainText(QStringLiteral("Preview Title"));
                as<CHeadingDlg>(d).previewButton()->click();
            },
            [&](QDialog& d) {
                previewed = qobject_cast<QPrintPreviewDialog*>(&d) != nullptr;
                d.reject();
            },
        };
        run(ID_EDIT_HEADING);
        QVERIFY(previewed);
        QCOMPARE(doc().stone()->heading[0], std::string("Preview Title"));

        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return;
        auto* printing = frame().findChild<DiagramPrinting*>(QStringLiteral("diagramPrinting"));
        QTemporaryDir dir;
        QPrinter& printer = printing->printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        printing->paint(&printer);
        const QString page = pdfText(dir.filePath(QStringLiteral("page.pdf")));
        QVERIFY2(page.contains(QStringLiteral("Preview Title")), qPrintable(page));
        QVERIFY2(!page.contains(QStringLiteral("Standard Round Brilliant")), qPrintable(page));
    }

    void headingWrappedLinesCountAsLines() {
        CHeadingDlg dialog("", "");
        dialog.headingEdit()->setFixedWidth(120);
        dialog.headingEdit()->setPlainText(QStringLiteral("a heading long enough to wrap in a narrow box"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const std::string text = dialog.headingText();
        QVERIFY2(text.find("\r\n") != std::string::npos, text.c_str());
        QVERIFY(text.find(" \r\n") == std::string::npos);  // the wrap takes the blank
    }

    void reflectSortRenameEachUndoneByOneUndo() {
        struct Case {
            int id;
            ModalScript::Step step;
        };
        const Case cases[] = {
            {ID_STONE_REFLECT, [](QDialog& d) {
                 QCOMPARE(as<CReflectDlg>(d).side(), 1);  // "X"
                 QVERIFY(!as<CReflectDlg>(d).flip());
                 as<CReflectDlg>(d).flipBox()->click();
                 d.accept();
             }},
            {ID_EDIT_SORT, [](QDialog& d) {
                 QCOMPARE(as<CSortDlg>(d).order(), 0);
                 as<CSortDlg>(d).orderGroup()->button(3)->click();
                 d.accept();
             }},
            {ID_EDIT_RENAME, [](QDialog& d) {
                 auto& dialog = as<CRenameDlg>(d);
                 QCOMPARE(dialog.pavilionStyle(), 0);
                 QCOMPARE(dialog.crownStyle(), 1);
                 QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("warningLabel"))->text() ==
                         QStringLiteral("WARNING:\nExisting facet names will be replaced."));
                 dialog.pavilionGroup()->button(2)->click();
                 d.accept();
             }},
        };
        for (const Case& c : cases) {
            ModalScript script;
            script.steps = {c.step};
            run(c.id);
            QCOMPARE(script.titles.size(), qsizetype(1));
            QVERIFY2(!sameDesign(*doc().stone(), original_), qPrintable(script.titles[0]));
            run(ID_EDIT_UNDO);
            QVERIFY2(sameDesign(*doc().stone(), original_), qPrintable(script.titles[0]));
        }
    }

    void replayStepsAndCancelGivesTheDesignBack() {
        ModalScript script;
        QStringList names, marked;
        const auto look = [&](QDialog& d) {
            auto& dialog = as<CCurrentFacetDlg>(d);
            names << dialog.nameEdit()->text();
            const Stone& s = *doc().stone();
            marked << QString::fromLatin1(s.facets[s.nFacet - 1].name.c_str());
            QVERIFY(dialog.nameEdit()->isReadOnly() && dialog.angleEdit()->isReadOnly() &&
                    dialog.indexEdit()->isReadOnly());
        };
        const auto next = [&](QDialog& d) {
            look(d);
            as<CCurrentFacetDlg>(d).nextButton()->click();
        };
        script.steps = {next, next, [&](QDialog& d) {
                            look(d);
                            QCOMPARE(doc().facetCount, 3);
                            d.reject();
                        }};
        run(ID_VIEW_REPLAY);
        QCOMPARE(names.size(), 3);
        for (int i = 0; i < 3; ++i) QCOMPARE(marked[i], names[i] + QLatin1Char('+'));
        QVERIFY(sameDesign(*doc().stone(), original_));
        QVERIFY(!doc().model().isModified());
        QCOMPARE(doc().facetCount, original_.nFacet - original_.nRough);
        QCOMPARE(frame().statusPaneText(3).trimmed(), QString::fromLatin1(facetCountText(doc()).c_str()).trimmed());
    }

    void printWithoutADialog() {
        ModalScript script;
        auto* printing = frame().findChild<DiagramPrinting*>(QStringLiteral("diagramPrinting"));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("quick.pdf"));
        printing->printer().setOutputFormat(QPrinter::PdfFormat);
        printing->printer().setOutputFileName(pdf);
        run(ID_FILE_PRINT_DIRECT);
        QTest::qWait(20);
        QVERIFY(script.titles.isEmpty());
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(sink_.entries.empty());
    }
};

BREVIX_WIDGET_TEST(CommandDialogsTest)
#include "command_dialogs_test.moc"
