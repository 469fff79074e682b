// Designing in the window: the Cut Facet form, the cut list with its Edit
// Tier dialog, the Angle dialog and the file dialogs' recent folders, driven
// the way a user drives them (typing, leaving fields, clicking rows).
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <memory>

#include "app/dialogs/add_dlg.h"
#include "app/dialogs/angle_index_dlg.h"
#include "app/command_table.h"
#include "app/panes/cut_list_view.h"
#include "app/dialogs/edit_tier_dlg.h"
#include "app/dialogs/file_dialogs.h"
#include "app/main_frame.h"
#include "design/design_text.h"
#include "design/measures.h"
#include "design/sample_designs.h"
#include "design/tiers.h"
#include "document/gem_doc.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"
#include "app_test_support.h"
#include "widget_test.h"

using namespace brevix;
// The user's guide shows the window at the steps of the first design: with
// BREVIX_GUIDE_IMAGES naming a folder, the walk through the round brilliant
// saves its pictures there (scripts/guide-images.sh runs it under Xvfb).
using brevix::test::guideImage;

namespace {

std::string tableText(Stone& stone, int width) {
    int lines = 0;
    InstructionText text;
    instructionText(stone, width, lines, text);
    return text.instructions;
}

// The first facet of each tier, in cutting order.
std::vector<int32_t> tierStarts(const Stone& stone) {
    std::vector<int32_t> starts;
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (!stone.facets[i].isRough() && (starts.empty() || stone.tierOf(i) != stone.tierOf(starts.back())))
            starts.push_back(i);
    return starts;
}

QString exact(double v) { return QString::fromStdString(strprintf("%.17g", v)); }

}  // namespace

class CutFacetFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> settings_;
    RecordingSink sink_;
    std::unique_ptr<ScopedMessageSink> sinkGuard_;
    std::unique_ptr<CGemDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;

    CAddDlg& form() { return *frame_->addDlg(); }
    CCutLstView& list() { return *frame_->cutList(); }

    // Types into a field as the user does: focus, replace the text, leave.
    void type(QWidget* field, const QString& text, QWidget* next) {
        field->setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            edit->selectAll();
            if (text.isEmpty())
                QTest::keyClick(edit, Qt::Key_Delete);
            else
                QTest::keyClicks(edit, text);
        } else if (auto* points = qobject_cast<QPlainTextEdit*>(field)) {
            points->selectAll();
            points->insertPlainText(text);
        }
        next->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    // Clicks the list row `row` and lets `press` work the Edit Tier dialog.
    void clickRow(int row, std::function<void(CEditTierDlg&)> press) {
        int opened = 0;
        list().runDialog = [&](CEditTierDlg& dialog) {
            ++opened;
            press(dialog);
            return dialog.result();
        };
        QTreeWidgetItem* item = list().topLevelItem(row);
        QVERIFY(item);
        const QRect rect = list().visualItemRect(item);
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(opened, 1);
        // The main window is active again once the dialog is gone.
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }

    static void setField(QLineEdit* edit, const QString& text) {
        edit->setText(text);
    }

    // Cuts one tier of a faceting machine's settings through the form.
    void cutTierThroughForm(const TierSetting& tier, const char* formImage = nullptr) {
        type(form().angleEdit(), exact(tier.angle), form().indexEdit());
        type(form().indexEdit(), exact(tier.indexes.front()), form().cedEdit());
        form().cedEdit()->setFocus(Qt::TabFocusReason);
        form().cedEdit()->selectAll();
        QTest::keyClicks(form().cedEdit(), exact(tier.depth));
        // Enter ends the editing of the field; once the caption offers the
        // cut, Enter cuts. (The first facet of a rough block needs no depth,
        // so there the caption offers the cut from the start.)
        const int32_t before = doc_->stone() ? doc_->stone()->nFacet : 0;
        if (doc_->facetCount == 0 && formImage) guideImage(&form(), formImage);
        QTest::keyClick(form().cedEdit(), Qt::Key_Return);
        if (doc_->stone()->nFacet == before) {
            QCOMPARE(form().cutButton()->text(), QStringLiteral("Cut Facet"));
            if (formImage) guideImage(&form(), formImage);
            QTest::keyClick(form().cedEdit(), Qt::Key_Return);
        }
    }

    int rowOfFacet(int32_t facet) {
        list().refresh();
        return list().rowOfFacet(facet);
    }

private Q_SLOTS:
    void init() {
        // Every test starts with settings of its own.
        settings_ = std::make_unique<QTemporaryDir>();
        QVERIFY(settings_->isValid());
        setRegistryFolder(settings_->path().toStdString());
        sink_.entries.clear();
        sink_.script.clear();
        sinkGuard_ = std::make_unique<ScopedMessageSink>(sink_);
        doc_ = std::make_unique<CGemDoc>();
        frame_ = std::make_unique<CMainFrame>(*doc_);
        frame_->show();
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        // Room for the whole form, so that clicks land on its buttons.
        frame_->resize(900, 680);
        frame_->splitterC()->setSizes({150, 300});
        QApplication::processEvents();
        sink_.entries.clear();
    }

    void cleanup() {
        frame_.reset();
        doc_.reset();
        sinkGuard_.reset();
        setRegistryFolder("");
        settings_.reset();
    }

    // A designer cuts the round brilliant tier by tier, then names each tier
    // and gives it its instruction from the list: the design is the sample's.
    void roundBrilliantTierByTier() {
        const std::vector<TierSetting> tiers = roundBrilliantTiers();
        type(form().symmetryEdit(), QStringLiteral("8"), form().angleEdit());
        if (!form().mirrorBox()->isChecked()) QTest::mouseClick(form().mirrorBox(), Qt::LeftButton);
        guideImage(frame_.get(), "cut-window-empty.png");
        for (const TierSetting& tier : tiers) {
            const int32_t before = doc_->stone() ? doc_->stone()->nFacet : 0;
            cutTierThroughForm(tier, tier.name == "G"    ? "cut-form-girdle.png"
                                     : tier.name == "P1" ? "cut-form-pavilion.png"
                                                         : nullptr);
            if (tier.name == "G") guideImage(frame_.get(), "cut-window-girdle.png");
            Stone& stone = *doc_->stone();
            QVERIFY2(stone.nFacet > before, tier.name.c_str());
            // The form starts afresh after a cut.
            QVERIFY(form().angleEdit()->text().isEmpty());
            QCOMPARE(form().cutButton()->text(), QStringLiteral("Apply"));

            clickRow(rowOfFacet(stone.nFacet - 1), [&](CEditTierDlg& dialog) {
                QVERIFY(dialog.nameEdit()->text().isEmpty());
                setField(dialog.nameEdit(), QString::fromStdString(tier.name));
                setField(dialog.instructionEdit(), QString::fromStdString(tier.instruction));
                if (tier.name == "G") {
                    dialog.show();
                    guideImage(&dialog, "cut-edit-tier.png");
                }
                dialog.button(TierEditAction::Apply)->click();
            });
            if (tier.name == "P2") guideImage(frame_.get(), "cut-window-pavilion.png");
        }
        guideImage(frame_.get(), "cut-window-finished.png");
        QVERIFY(sink_.entries.empty());

        Stone& built = *doc_->stone();
        Stone sample = makeRoundBrilliant();
        QCOMPARE(built.nFacet, sample.nFacet);
        QCOMPARE(built.nVertex, sample.nVertex);
        QCOMPARE(built.nEdge, sample.nEdge);
        for (int32_t i = 0; i < sample.nFacet; ++i) {
            const Facet &b = built.facets[i], &s = sample.facets[i];
            QVERIFY2(std::fabs(b.a - s.a) < 1e-12 && std::fabs(b.b - s.b) < 1e-12 &&
                         std::fabs(b.c - s.c) < 1e-12 && std::fabs(b.d - s.d) < 1e-12,
                     qPrintable(QStringLiteral("facet %1").arg(i)));
            QCOMPARE(b.tier, s.tier);
        }
        const std::vector<int32_t> starts = tierStarts(sample);
        QCOMPARE(tierStarts(built), starts);
        for (int32_t f : starts) {
            QCOMPARE(tierName(built, f), tierName(sample, f));
            QCOMPARE(tierInstruction(built, f), tierInstruction(sample, f));
        }
        QCOMPARE(tableText(built, CUT_LIST_WIDTH), tableText(sample, CUT_LIST_WIDTH));
        QCOMPARE(tableText(built, CLIPBOARD_WIDTH), tableText(sample, CLIPBOARD_WIDTH));
        QCOMPARE(list().topLevelItemCount(), 9);
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P1"));
        QVERIFY(doc_->model().isModified());

        // File > Save of the new design asks for a name; without an extension
        // the chosen type's is added, and the design read back is the same.
        QTemporaryDir folder;
        QTimer::singleShot(0, [&folder] {
            auto* dialog = qobject_cast<FileDlgMRUDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectNameFilter(dialog->nameFilters().value(1));
            dialog->selectFile(QDir(folder.path()).filePath(QStringLiteral("brilliant")));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        frame_->action(ID_FILE_SAVE)->trigger();
        const QString saved = QDir(folder.path()).filePath(QStringLiteral("brilliant.asc"));
        QVERIFY(QFileInfo::exists(saved));
        QVERIFY(!doc_->model().isModified());
        QCOMPARE(frame_->windowTitle(), QStringLiteral("brilliant.asc[*] - Brevix"));
        QCOMPARE(tableText(*doc_->stone(), CUT_LIST_WIDTH), tableText(sample, CUT_LIST_WIDTH));
        QCOMPARE(doc_->stone()->nFacet, sample.nFacet);
    }

    // Values a user mistypes: the messages, the emptied fields and what the
    // pending facet keeps.
    void typedValuesAndTheirMessages() {
        type(form().angleEdit(), QStringLiteral("90.000001"), form().indexEdit());
        QCOMPARE(sink_.texts(), std::vector<std::string>{"Angle should be between -90 and 90"});
        QVERIFY(form().angleEdit()->text().isEmpty());
        QVERIFY(!doc_->pending().info.hasAngle);

        sink_.clear();
        type(form().angleEdit(), QStringLiteral("-90"), form().indexEdit());
        QCOMPARE(form().angleEdit()->text(), QStringLiteral("-90.000000"));
        type(form().angleEdit(), QStringLiteral("90"), form().indexEdit());
        QCOMPARE(doc_->pending().info.angle, 90.0);
        QVERIFY(sink_.entries.empty());

        type(form().indexEdit(), QStringLiteral("notch"), form().cedEdit());
        QVERIFY(form().indexEdit()->text().isEmpty());
        QVERIFY(!doc_->pending().info.hasIndex);
        QVERIFY(sink_.entries.empty());

        // A table needs no index: angle 0 puts it on the last notch.
        type(form().angleEdit(), QStringLiteral("0"), form().cedEdit());
        QCOMPARE(form().indexEdit()->text(), QStringLiteral("96.000000"));

        type(form().symmetryEdit(), QStringLiteral("5"), form().angleEdit());
        QCOMPARE(doc_->pending().info.symmetry, 5);
        QTest::mouseClick(form().mirrorBox(), Qt::LeftButton);
        QCOMPARE(doc_->pending().info.mirror, 0);
        QCOMPARE(doc_->stone()->mirror, 0);
        type(form().symmetryEdit(), QStringLiteral("0"), form().angleEdit());
        QCOMPARE(sink_.texts(), std::vector<std::string>{"Symmetry should a positive number"});
        QVERIFY(form().symmetryEdit()->text().isEmpty());
        QCOMPARE(doc_->pending().info.symmetry, 8);
        QCOMPARE(doc_->pending().info.mirror, 1);

        sink_.clear();
        type(form().pointsEdit(), QStringLiteral("0.1 0.2 0.3\n0.1, 0.2; 0.3004"), form().angleEdit());
        QCOMPARE(sink_.texts(), std::vector<std::string>{"New point is too close to point 1."});
        QCOMPARE(doc_->pending().info.nPoints, 1);
        QCOMPARE(form().pointsEdit()->toPlainText(),
                 QStringLiteral("  0.10000000   0.20000000   0.30000000\n\n"));

        // Two points: "Between 1,2" opens its dialog (replaced here by a counter).
        type(form().pointsEdit(), QStringLiteral("0.1 0.2 0.3 0.5 0.2 0.3"), form().angleEdit());
        QCOMPARE(doc_->pending().info.nPoints, 2);
        QVERIFY(form().betweenButton()->isEnabled());
        int betweens = 0;
        form().onBetween = [&] { ++betweens; };
        form().refresh();
        QVERIFY(form().betweenButton()->isEnabled());
        QTest::mouseClick(form().betweenButton(), Qt::LeftButton);
        QCOMPARE(betweens, 1);

        // "Clear" forgets angle, index, depth and points but not the symmetry.
        type(form().symmetryEdit(), QStringLiteral("6"), form().angleEdit());
        QTest::mouseClick(form().clearButton(), Qt::LeftButton);
        QVERIFY(form().angleEdit()->text().isEmpty());
        QVERIFY(form().indexEdit()->text().isEmpty());
        QCOMPARE(doc_->pending().info.nPoints, 0);
        QCOMPARE(form().symmetryEdit()->text(), QStringLiteral("6"));
        QVERIFY(!form().betweenButton()->isEnabled());
    }

    // The caption decides what the default button does: "Apply" only reads
    // the field, "Cut Facet" cuts; a click on it reads the field being edited.
    void defaultButtonCaption() {
        // The first facet of a rough block has a depth of its own.
        type(form().angleEdit(), QStringLiteral("90"), form().indexEdit());
        type(form().indexEdit(), QStringLiteral("3"), form().cedEdit());
        QCOMPARE(form().cutButton()->text(), QStringLiteral("Cut Facet"));
        QCOMPARE(form().cedEdit()->text(), QStringLiteral("0.92387953"));
        QTest::mouseClick(form().cutButton(), Qt::LeftButton);
        QCOMPARE(doc_->facetCount, 16);
        QVERIFY(form().angleEdit()->text().isEmpty());

        type(form().angleEdit(), QStringLiteral("-41"), form().indexEdit());
        type(form().indexEdit(), QStringLiteral("12"), form().cedEdit());
        form().cedEdit()->setFocus();
        QTest::keyClicks(form().cedEdit(), QStringLiteral("0.7"));
        QCOMPARE(form().cutButton()->text(), QStringLiteral("Apply"));
        QTest::mouseClick(form().cutButton(), Qt::LeftButton);
        QCOMPARE(form().cutButton()->text(), QStringLiteral("Cut Facet"));
        QCOMPARE(form().cedEdit()->text(), QStringLiteral("0.70000000"));
        QCOMPARE(doc_->facetCount, 16);
        // Enter with the focus on the mirror box presses the default button too.
        form().mirrorBox()->setFocus();
        QTest::keyClick(form().mirrorBox(), Qt::Key_Return);
        QCOMPARE(doc_->facetCount, 24);
        // No crown yet: one "PREFORM" heading over the girdle and pavilion rows.
        QCOMPARE(list().topLevelItemCount(), 3);
        QCOMPARE(list().topLevelItem(0)->text(0), QStringLiteral("PREFORM"));

        // Edit > Undo takes the tier back and leaves a fresh form.
        frame_->action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(doc_->facetCount, 16);
        QCOMPARE(list().topLevelItemCount(), 2);
        QVERIFY(form().angleEdit()->text().isEmpty());
        frame_->action(ID_EDIT_REDO)->trigger();
        QCOMPARE(doc_->facetCount, 24);
    }

    // Edit > Angle... completes and cuts a facet whose index and depth wait
    // in the form; unreadable text cancels.
    void angleDialogCuts() {
        type(form().indexEdit(), QStringLiteral("6"), form().cedEdit());
        type(form().cedEdit(), QStringLiteral("0.95"), form().angleEdit());
        QString typed = QStringLiteral("abc");
        auto answer = [&typed] {
            auto* dialog = qobject_cast<CAngleIndexDlg*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Angle"));
            dialog->edit()->setText(typed);
            dialog->accept();
        };
        QTimer::singleShot(0, answer);
        frame_->action(ID_EDIT_ANGLE)->trigger();
        QCOMPARE(doc_->facetCount, 0);
        QVERIFY(!doc_->pending().info.hasAngle);
        typed = QStringLiteral("90");
        // Ctrl+A outside the form's fields asks for the angle.
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        list().setFocus();
        QTimer::singleShot(0, answer);
        QTest::keyClick(&list(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(doc_->facetCount, 8);
        QVERIFY(!doc_->pending().info.hasIndex);
    }

    // Every button of the Edit Tier dialog on the round brilliant, each
    // undone again.
    void editTierActionsAndUndo() {
        doc_->model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        doc_->pendingChanged();
        Stone* stone = doc_->stone();
        // Rows: PAVILION, G, P1, P2, CROWN, C1, C2, C3, T.
        QCOMPARE(list().topLevelItemCount(), 9);
        const int facets = doc_->facetCount;
        const int32_t p1 = list().facetOfRowAt(2);
        const std::string p1Instruction = tierInstruction(*doc_->stone(), p1);

        // A section heading lists no facet: a beep and no dialog.
        int opened = 0;
        list().runDialog = [&](CEditTierDlg& d) { ++opened; return d.result(); };
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {},
                          list().visualItemRect(list().topLevelItem(0)).center());
        QCOMPARE(opened, 0);
        QCOMPARE(list().currentRow(), 0);

        // Rename "P 1" gives "P"; the instruction changes; one undo puts both back.
        clickRow(2, [](CEditTierDlg& d) {
            QCOMPARE(d.nameEdit()->text(), QStringLiteral("P1"));
            QCOMPARE(d.angleEdit()->text(), QString::fromUtf8(" 40.75\u00b0"));
            setField(d.nameEdit(), QStringLiteral("P 1"));
            setField(d.instructionEdit(), QStringLiteral("Cut to a point"));
            d.button(TierEditAction::Apply)->click();
        });
        stone = doc_->stone();
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P"));
        QCOMPARE(tierInstruction(*stone, p1), std::string("Cut to a point"));
        doc_->undo();
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P1"));
        QCOMPARE(tierInstruction(*doc_->stone(), p1), p1Instruction);

        // A new angle within 0.005 of the shown one is no change at all.
        const int cursor = doc_->undoStack().cursor();
        clickRow(5, [](CEditTierDlg& d) {
            setField(d.angleEdit(), QStringLiteral("34.504"));
            d.button(TierEditAction::Apply)->click();
        });
        QCOMPARE(doc_->undoStack().cursor(), cursor);

        // A new crown angle scales the crown: C1 comes out at the new angle.
        const int32_t c1 = list().facetOfRowAt(5);
        clickRow(5, [](CEditTierDlg& d) {
            setField(d.angleEdit(), QStringLiteral("37"));
            d.button(TierEditAction::Apply)->click();
        });
        QVERIFY(std::fabs(doc_->stone()->facetAngleOf(c1) - 37) < 1e-9);
        QCOMPARE(list().topLevelItem(5)->text(1), QString::fromUtf8("37.00\u00b0"));
        doc_->undo();
        QVERIFY(std::fabs(doc_->stone()->facetAngleOf(c1) - 34.5) < 1e-9);

        // Angles with no tangent to scale to are refused.
        for (const char* bad : {"0", "90", "-34.5"}) {
            sink_.clear();
            clickRow(5, [bad](CEditTierDlg& d) {
                setField(d.angleEdit(), QString::fromLatin1(bad));
                d.button(TierEditAction::Apply)->click();
            });
            QCOMPARE(sink_.texts(), std::vector<std::string>{"Angle out of range."});
            QVERIFY(std::fabs(doc_->stone()->facetAngleOf(c1) - 34.5) < 1e-9);
        }

        // Move Down puts P1 after P2; Move Up brings it back.
        clickRow(2, [](CEditTierDlg& d) { d.button(TierEditAction::MoveDown)->click(); });
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P2"));
        QCOMPARE(list().topLevelItem(3)->text(0), QStringLiteral("P1"));
        clickRow(3, [](CEditTierDlg& d) { d.button(TierEditAction::MoveUp)->click(); });
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P1"));

        // Delete Tier takes the eight pavilion mains out; undo brings them back.
        clickRow(2, [](CEditTierDlg& d) { d.button(TierEditAction::DeleteTier)->click(); });
        QCOMPARE(doc_->facetCount, facets - 8);
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P2"));
        frame_->action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(doc_->facetCount, facets);
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P1"));

        // Cancel changes nothing and takes no snapshot.
        const int before = doc_->undoStack().cursor();
        clickRow(2, [](CEditTierDlg& d) { d.button(TierEditAction::Cancel)->click(); });
        QCOMPARE(doc_->undoStack().cursor(), before);
        QCOMPARE(doc_->facetCount, facets);
    }

    // Uncut/Recut: the tier goes, the form offers its notch with "*", and
    // the next cut puts the new tier in its place with name and instruction.
    void uncutAndRecutThroughForm() {
        doc_->model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        doc_->pendingChanged();
        const int facets = doc_->facetCount;
        clickRow(5, [](CEditTierDlg& d) { d.button(TierEditAction::Uncut)->click(); });
        QCOMPARE(doc_->facetCount, facets - 8);
        QVERIFY(doc_->pending().info.recutPending);
        QVERIFY(form().indexEdit()->text().endsWith(QLatin1Char('*')));

        const TierSetting c1 = roundBrilliantTiers()[3];
        type(form().angleEdit(), QStringLiteral("35.5"), form().cedEdit());
        type(form().cedEdit(), exact(c1.depth), form().angleEdit());
        QCOMPARE(form().cutButton()->text(), QStringLiteral("Cut Facet"));
        QTest::mouseClick(form().cutButton(), Qt::LeftButton);
        QCOMPARE(doc_->facetCount, facets);
        QVERIFY(!doc_->pending().info.recutPending);
        QCOMPARE(list().topLevelItem(5)->text(0), QStringLiteral("C1"));
        QCOMPARE(list().topLevelItem(5)->text(1), QString::fromUtf8("35.50\u00b0"));
        QCOMPARE(list().topLevelItem(5)->text(3), QStringLiteral("Level girdle"));
    }

    // Menu commands on the whole stone: each can be undone, and the list
    // and the form follow.
    void stoneCommandsFromTheMenu() {
        doc_->model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        doc_->pendingChanged();
        const std::string original = tableText(*doc_->stone(), CUT_LIST_WIDTH);

        // Transfer turns the stone over: the crown tiers are listed as pavilion.
        frame_->action(ID_EDIT_TRANSFER)->trigger();
        QCOMPARE(list().topLevelItem(0)->text(0), QStringLiteral("CROWN"));
        QCOMPARE(list().topLevelItem(2)->text(0), QStringLiteral("P1"));
        frame_->action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(tableText(*doc_->stone(), CUT_LIST_WIDTH), original);

        frame_->action(ID_STONE_REGENERATE)->trigger();
        QCOMPARE(tableText(*doc_->stone(), CUT_LIST_WIDTH), original);
        QCOMPARE(doc_->facetCount, 57 + 16);

        // Copy to Preform: the girdle outline is listed first as the preform.
        frame_->action(ID_PREFORM_COPY)->trigger();
        QVERIFY(doc_->stone()->preform);
        QCOMPARE(list().topLevelItem(0)->text(0), QStringLiteral("PREFORM"));
        frame_->action(ID_PREFORM_DELETE)->trigger();
        QVERIFY(!doc_->stone()->preform);
        frame_->action(ID_EDIT_UNDO)->trigger();
        QVERIFY(doc_->stone()->preform);
        frame_->action(ID_EDIT_UNDO)->trigger();
        QVERIFY(!doc_->stone()->preform);

        QAction* hidden = frame_->action(ID_VIEW_HIDDEN_LINES);
        QVERIFY(hidden->isEnabled());
        hidden->trigger();
        QVERIFY(doc_->hiddenLines);
        QVERIFY(hidden->isChecked());
        hidden->trigger();
        QVERIFY(!doc_->hiddenLines);
        QVERIFY(!hidden->isChecked());

        // Preform Edit is checked while the preform is the stone being edited.
        frame_->action(ID_PREFORM_COPY)->trigger();
        QAction* edit = frame_->action(ID_PREFORM_EDIT);
        edit->trigger();
        QVERIFY(edit->isChecked());
        QCOMPARE(list().topLevelItem(0)->text(0), QStringLiteral("PREFORM"));
        edit->trigger();
        QVERIFY(!edit->isChecked());
        QVERIFY(doc_->stone()->preform);
    }

    // Edit > Copy with the list active: statistics, a blank line's LF and the
    // table laid out for 72 columns, then the message.
    void copyCuttingInstructions() {
        doc_->model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        doc_->pendingChanged();
        list().setFocus();
        QApplication::processEvents();
        QTest::keyClick(&list(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(sink_.texts(), std::vector<std::string>{"Cutting instructions copied to clipboard"});
        QCOMPARE(sink_.entries.front().icon, Icon::Information);
        Stone copy = makeRoundBrilliant();
        computeBounds(copy);
        const std::string expected = statisticsText(copy) + "\n" + tableText(copy, CLIPBOARD_WIDTH);
        QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8(QByteArray::fromStdString(
                                                        cp1252ToUtf8(expected))));
        // The clipboard's narrower layout wraps rows the list does not: a
        // click on the list still finds the tier the row shows.
        const Stone& design = *doc_->stone();
        for (int32_t f = 0; f < design.nFacet; ++f) {
            const int row = list().rowOfFacet(f);
            QVERIFY(row >= 0 && row < list().topLevelItemCount());
            const int32_t listed = list().facetOfRowAt(row);
            QVERIFY(listed >= 0);
            QCOMPARE(design.tierOf(listed), design.tierOf(f));
            QCOMPARE(list().topLevelItem(row)->text(0), QString::fromStdString(tierName(design, f)));
        }
    }

    // Three saves in three folders: the newest folder first in the settings
    // and in the next dialog's "Recent folders:" list.
    void recentFoldersAfterThreeSaves() {
        QTemporaryDir scratch;
        // The guide's picture shows plain folder names.
        const bool forGuide = !qgetenv("BREVIX_GUIDE_IMAGES").isEmpty();
        const QString base = forGuide ? QDir::temp().filePath(QStringLiteral("Designs")) : scratch.path();
        QStringList folders;
        for (const char* name : {"Ovals", "Step cuts", "Rounds"}) {
            QDir(base).mkpath(QString::fromLatin1(name));
            folders << QDir(base).filePath(QString::fromLatin1(name));
        }
        doc_->model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        for (const QString& folder : folders) {
            QTimer::singleShot(0, [folder] {
                auto* dialog = qobject_cast<FileDlgMRUDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QVERIFY(dialog->findChild<QComboBox*>(QStringLiteral("recentFolders")));
                dialog->setDirectory(folder);
                dialog->selectFile(QDir(folder).filePath(QStringLiteral("brilliant.gem")));
                if (folder.endsWith(QLatin1String("Rounds"))) guideImage(dialog, "cut-save-as.png");
                QMetaObject::invokeMethod(dialog, "accept");
            });
            frame_->action(ID_FILE_SAVE_AS)->trigger();
            QVERIFY(QFileInfo::exists(QDir(folder).filePath(QStringLiteral("brilliant.gem"))));
        }
        const std::string key = std::string(APP_REGISTRY_KEY) + "\\My Recent Folder List";
        for (int i = 0; i < 3; ++i) {
            const std::string want = QDir::toNativeSeparators(folders[2 - i]).toStdString() + "/";
            QCOMPARE(regGetString(RegRoot::CurrentUser, key, strprintf("Folder%d", i + 1)).value_or(""), want);
        }
        FileDialogRequest request;
        request.open = true;
        request.filter = "Brevix Files (*.gem)|*.gem|Brevix ASCII or Datavue Files (*.asc)|*.asc||";
        FileDlgMRUDialog next(request);
        QCOMPARE(next.recentFolders()->count(), 3);
        QCOMPARE(next.recentFolders()->itemText(0) + QStringLiteral("x"), folders[2] + QStringLiteral("/x"));
        QCOMPARE(QDir(next.directory()).canonicalPath(), QDir(folders[2]).canonicalPath());
        QCOMPARE(next.nameFilters().size(), 2);
        // The window's title follows the saved file.
        QCOMPARE(frame_->windowTitle(), QStringLiteral("brilliant.gem[*] - Brevix"));
        if (forGuide) QDir(base).removeRecursively();
    }

    // A design with its intent through the window's file dialogs: the .brx
    // type is listed, the file opens with the intent it recorded, Save As
    // .gem says once that the intent stays behind, and the recent-files
    // entry opens the .brx file again with its intent.
    void brxThroughTheFileDialogs() {
        const QString meets = QStringLiteral(BREVIX_SOURCE_DIR "/samples/round_brilliant_meets.brx");
        QStringList filters;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<FileDlgMRUDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            dialog->selectNameFilter(dialog->nameFilters().value(2));
            dialog->selectFile(meets);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        frame_->action(ID_FILE_OPEN)->trigger();
        QCOMPARE(filters.size(), 3);
        QCOMPARE(filters.value(2), QStringLiteral("Brevix design with intent (*.brx)"));
        QVERIFY(doc_->model().recordedIntent().has_value());
        const DesignIntent recorded = *doc_->model().recordedIntent();
        QVERIFY(!recorded.tiers.empty() && !recorded.tiers.back().inferred);
        QCOMPARE(frame_->windowTitle(), QStringLiteral("round_brilliant_meets.brx[*] - Brevix"));

        QTemporaryDir folder;
        QString startingType, note;
        bool noteShown = false;
        for (const char* name : {"brilliant", "again.asc"}) {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<FileDlgMRUDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                filters = dialog->nameFilters();
                startingType = dialog->selectedNameFilter();
                QVERIFY(dialog->typeNote());
                note = dialog->typeNote()->text();
                noteShown = dialog->typeNote()->isVisible();
                dialog->selectNameFilter(dialog->nameFilters().value(0));
                dialog->selectFile(QDir(folder.path()).filePath(QString::fromLatin1(name)));
                QMetaObject::invokeMethod(dialog, "accept");
            });
            frame_->action(ID_FILE_SAVE_AS)->trigger();
        }
        QCOMPARE(filters.size(), 3);
        QCOMPARE(filters.value(2), QStringLiteral("Brevix design with intent (*.brx)"));
        // The type list starts at .gem; the note beside it tells what each type keeps.
        QCOMPARE(startingType, filters.value(0));
        QCOMPARE(note, QStringLiteral(".gem and .asc keep only the planes; .brx keeps the meets as well."));
        QVERIFY(noteShown);
        QVERIFY(QFileInfo::exists(QDir(folder.path()).filePath(QStringLiteral("brilliant.gem"))));
        QVERIFY(QFileInfo::exists(QDir(folder.path()).filePath(QStringLiteral("again.asc"))));
        int notes = 0;
        for (const std::string& text : sink_.texts()) notes += text.find("not stored in .gem or .asc") != std::string::npos;
        QCOMPARE(notes, 1);

        QAction* recent = nullptr;
        for (QAction* a : frame_->findChildren<QAction*>())
            if (a->data().toInt() >= ID_FILE_MRU_FIRST && a->text().endsWith(QStringLiteral("round_brilliant_meets.brx")))
                recent = a;
        QVERIFY(recent);
        recent->trigger();
        QCOMPARE(frame_->windowTitle(), QStringLiteral("round_brilliant_meets.brx[*] - Brevix"));
        QVERIFY(doc_->model().recordedIntent().has_value());
        QVERIFY(*doc_->model().recordedIntent() == recorded);
    }
};

BREVIX_WIDGET_TEST(CutFacetFormTest)
#include "cut_facet_form_test.moc"
