// The Search Datavue Database dialog as the user works it: finding the
// index, typing into one field, the Shape box, Find Next and Previous, the
// previews, and Open.
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"
#include <QTimer>
#include <QAction>
#include <QDir>

#include "../support/datavue_database.h"
#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/search_datavue_dialog.h"
#include "app/message_box_sink.h"
#include "app_test_support.h"
#include "files/datavue_search.h"
#include "platform/registry.h"

using namespace brevix;
using namespace brevix::test;

namespace {

QLineEdit* line(SearchDatavueDialog& d, int field) { return static_cast<QLineEdit*>(d.editField(field)); }

// Pixels of the preview that are neither the views' background nor the
// dialog's: what the preview drew.
int drawnPixels(QWidget* preview) {
    const QImage image = preview->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != qRgb(166, 202, 240) && p != qRgb(255, 255, 255) &&
                p != preview->palette().window().color().rgb())
                ++count;
        }
    return count;
}

}  // namespace

class SearchDatavueDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        installFontSubstitutes();
        QVERIFY(database_.isValid());
        testdb::writeSampleDatabase(database_.path().toStdString());
        index_ = database_.path().toStdString() + "/dlist.dbf";
    }

    void theIndexIsAskedForOnceAndRemembered() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink guard(sink);
        SearchDatavueDialog first;
        int asked = 0;
        first.locateIndex = [&] {
            ++asked;
            return std::optional<std::string>(index_);
        };
        QVERIFY(first.prepare());
        QCOMPARE(asked, 1);
        QCOMPARE(regGetString(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path").value_or(""), index_);
        QCOMPARE(first.windowTitle(), QStringLiteral("Search Datavue Database"));
        QCOMPARE(first.previewCaption()->text(), QStringLiteral("  PREVIEW"));
        QVERIFY(!first.openButton()->isEnabled());
        QCOMPARE(first.shapeBox()->count(), 47);
        QCOMPARE(first.shapeBox()->itemText(9), QStringLiteral("09 Sq. Antique Chushion"));

        SearchDatavueDialog second;
        second.locateIndex = [&] {
            ++asked;
            return std::optional<std::string>();
        };
        QVERIFY(second.prepare());
        QCOMPARE(asked, 1);

        // An index that cannot be found or read closes the dialog silently.
        regSetString(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path", "/nowhere/dlist.dbf");
        SearchDatavueDialog third;
        third.locateIndex = [] { return std::optional<std::string>("/nowhere/else.dbf"); };
        QVERIFY(!third.prepare());
        QVERIFY(sink.texts().empty());
    }

    void typingFindingAndThePreviews() {
        TemporaryRegistry registry;
        regSetString(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path", index_);
        RecordingSink sink;
        ScopedMessageSink guard(sink);
        SearchDatavueDialog dialog;
        QVERIFY(dialog.prepare());
        dialog.resize(700, 420);
        dialog.show();

        QTest::keyClicks(line(dialog, DV_NAME), QStringLiteral("EMERALD"));
        QTest::mouseClick(dialog.findNextButton(), Qt::LeftButton);
        QCOMPARE(dialog.search().currentRecord(), 1);
        QCOMPARE(line(dialog, DV_NAME)->text(), QStringLiteral("Square emerald"));
        QCOMPARE(line(dialog, DV_CODE)->text(), QStringLiteral("07.001"));
        QCOMPARE(static_cast<QPlainTextEdit*>(dialog.editField(DV_REMARKS))->toPlainText(),
                 QStringLiteral("Step cut with a wide table"));
        QCOMPARE(dialog.shapeBox()->currentIndex(), 7);
        QCOMPARE(dialog.previewCaption()->text(), QStringLiteral("PREVIEW"));
        QVERIFY(dialog.openButton()->isEnabled());
        QVERIFY(drawnPixels(dialog.preview()) > 500);

        // Typing after a shown record empties the other fields once.
        line(dialog, DV_DESIGNER)->selectAll();
        QTest::keyClicks(line(dialog, DV_DESIGNER), QStringLiteral("Nobody"));
        QCOMPARE(line(dialog, DV_NAME)->text(), QString());
        QCOMPARE(dialog.shapeBox()->currentIndex(), -1);
        QTest::mouseClick(dialog.findNextButton(), Qt::LeftButton);
        QCOMPARE(dialog.search().currentRecord(), 7);
        QCOMPARE(dialog.previewCaption()->text(), QStringLiteral("PREVIEW NOT AVAILABLE"));
        QVERIFY(!dialog.openButton()->isEnabled());

        // The Shape box searches at once for its code.
        dialog.shapeBox()->setCurrentIndex(5);
        Q_EMIT dialog.shapeBox()->activated(5);
        QCOMPARE(dialog.search().currentRecord(), 5);
        QCOMPARE(line(dialog, DV_NAME)->text(), QStringLiteral("Pear fantasy"));
        QCOMPARE(dialog.previewCaption()->text(), QString());
        QVERIFY(dialog.openButton()->isEnabled());
        QVERIFY(drawnPixels(dialog.preview()) > 500);  // the pear picture

        QTest::mouseClick(dialog.findNextButton(), Qt::LeftButton);
        QCOMPARE(sink.texts(), std::vector<std::string>{"Last one, 1 total"});
        QCOMPARE(line(dialog, DV_CODE)->text(), QStringLiteral("05."));
        QCOMPARE(line(dialog, DV_NAME)->text(), QString());
        QVERIFY(!dialog.openButton()->isEnabled());

        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        QCOMPARE(dialog.search().currentRecord(), 5);
        QTest::mouseClick(dialog.openButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        auto design = dialog.takeDesign();
        QVERIFY(design.has_value());
        QCOMPARE(design->memberName(), std::string("PC9905W.ASC"));
    }

    void theFileMenuCommandOpensTheChosenDesign() {
        TemporaryRegistry registry;
        regSetString(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path", index_);
        RecordingSink sink;
        ScopedMessageSink guard(sink);
        QTemporaryDir workFolder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(workFolder.path());
        Session session;
        QAction* command = session.frame->action(ID_FILE_SEARCH_DATAVUE);
        QVERIFY(command->isEnabled());
        QCOMPARE(command->text(), QStringLiteral("Search &Datavue Database..."));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<SearchDatavueDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QTest::keyClicks(static_cast<QLineEdit*>(dialog->editField(DV_NAME)), QStringLiteral("round"));
            dialog->findNextButton()->click();
            dialog->openButton()->click();
        });
        command->trigger();
        QCOMPARE(session.frame->windowTitle(), QStringLiteral("PC0512.ASC[*] - Brevix"));
        QCOMPARE(session.doc.facetCount, makeRoundBrilliant().nFacet - makeRoundBrilliant().nRough);
        QVERIFY(!session.doc.model().isModified());
        QVERIFY(QDir(workFolder.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(sink.texts().empty());
        session.close();
        QDir::setCurrent(previous);
    }

private:
    QTemporaryDir database_;
    std::string index_;
};

BREVIX_WIDGET_TEST(SearchDatavueDialogTest)
#include "search_datavue_dialog_test.moc"
