// Stone > Size and Weight as the user meets it: the figures follow every
// key, bad typing says what is wanted, the choice is remembered, File >
// Export writes its meshes at that size, and Print Setup's option puts the
// size and weight on the printed page (and only when asked).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"
#include <QTimer>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/size_weight_dlg.h"
#include "app/print/diagram_print.h"
#include "app_test_support.h"
#include "design/sample_designs.h"
#include "document/size_settings.h"
#include "files/exports.h"

using namespace brevix;
using namespace brevix::test;

namespace {

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

}  // namespace

class SizeWeightTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void figuresFollowTheTypingAndSayWhatIsWanted() {
        TemporaryRegistry registry;
        const Stone brilliant = makeRoundBrilliant();  // R.I. 1.54: quartz
        SizeWeightDlg dialog(brilliant, SizeSettings{});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Size and Weight"));
        auto* mm = dialog.findChild<QLineEdit*>(QStringLiteral("millimetres"));
        auto* material = dialog.findChild<QComboBox*>(QStringLiteral("material"));
        auto* gravity = dialog.findChild<QLineEdit*>(QStringLiteral("gravity"));
        auto* basis = dialog.findChild<QComboBox*>(QStringLiteral("basis"));
        QVERIFY(mm && material && gravity && basis);
        QCOMPARE(mm->text(), QStringLiteral("6.50"));
        QCOMPARE(material->currentData().toString(), QStringLiteral("Quartz"));
        QCOMPARE(gravity->text(), QStringLiteral("2.65"));
        QCOMPARE(dialog.resultsText(), QStringLiteral("L x W x H: 6.50 \u00d7 6.50 \u00d7 3.92 mm\n"
                                                      "Table: 3.81 \u00d7 3.81 mm\n"
                                                      "Culet: none (pointed or keeled)\n"
                                                      "Volume: 55.73 mm\u00b3\n"
                                                      "Weight: 0.738 ct\n"));

        material->setCurrentIndex(material->findData(QStringLiteral("Diamond")));
        QCOMPARE(gravity->text(), QStringLiteral("3.52"));
        QVERIFY(dialog.resultsText().contains(QStringLiteral("Weight: 0.981 ct\n")));

        // A decimal comma is taken; the figures follow each key.
        retype(mm, QStringLiteral("13"));
        QVERIFY2(dialog.resultsText().startsWith(QStringLiteral("L x W x H: 13.00 \u00d7 13.00 \u00d7 7.83 mm\n")),
                 qPrintable(dialog.resultsText()));
        retype(mm, QStringLiteral("6,5"));
        QVERIFY(dialog.resultsText().contains(QStringLiteral("Weight: 0.981 ct\n")));

        // A typed gravity is a material of its own.
        retype(gravity, QStringLiteral("4"));
        QCOMPARE(material->currentData().toString(), QString());
        QVERIFY(dialog.resultsText().contains(QStringLiteral("Weight: 1.115 ct\n")));
        SizeSettings typed = dialog.settings();
        QCOMPARE(typed.material, std::string());
        QCOMPARE(typed.specificGravity, 4.0);

        // Nonsense gives dashes and the reason, never a figure.
        retype(gravity, QStringLiteral("heavy"));
        QVERIFY(dialog.resultsText().endsWith(
            QStringLiteral("Weight: \u2014\nChoose a material or type a specific gravity from 0.1 to 25.\n")));
        retype(mm, QStringLiteral("0"));
        QVERIFY(dialog.resultsText().endsWith(QStringLiteral("Type the width in millimetres, from 0.01 to 10000.\n")));
        basis->setCurrentIndex(1);
        QVERIFY(dialog.resultsText().endsWith(QStringLiteral("Type the length in millimetres, from 0.01 to 10000.\n")));
        // What is remembered keeps the last good size.
        QCOMPARE(dialog.settings().size, (SizeChoice{SizeBasis::Width, 0}));
        retype(mm, QStringLiteral("8"));
        QCOMPARE(dialog.settings().size, (SizeChoice{SizeBasis::Length, 8}));
    }

    void theCommandRemembersTheSizeForTheExports() {
        TemporaryRegistry registry;
        Session session;
        QAction* command = session.frame->action(ID_STONE_SIZE_WEIGHT);
        QVERIFY(command && command->isEnabled());
        QCOMPARE(command->text(), QStringLiteral("Si&ze and Weight..."));
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<SizeWeightDlg*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shown = true;
            retype(dialog->findChild<QLineEdit*>(QStringLiteral("millimetres")), QStringLiteral("7"));
            auto* material = dialog->findChild<QComboBox*>(QStringLiteral("material"));
            material->setCurrentIndex(material->findData(QStringLiteral("Corundum")));
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
        });
        command->trigger();
        QVERIFY(shown);
        const SizeSettings remembered = loadSizeSettings();
        QCOMPARE(remembered.size, (SizeChoice{SizeBasis::Width, 7}));
        QCOMPARE(remembered.material, std::string("Corundum"));
        QVERIFY(!remembered.printWeight);
        // The design is untouched.
        QVERIFY(!session.doc.model().isModified());
        QCOMPARE(session.doc.files().meshSize, remembered.size);
    }

    void printSetupOptionPutsTheWeightOnThePage() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        TemporaryRegistry registry;
        Session session;
        SizeSettings settings;
        settings.size = {SizeBasis::Width, 6.5};
        settings.material = "Diamond";
        saveSizeSettings(settings);
        auto* printing = session.frame->findChild<DiagramPrinting*>(QStringLiteral("diagramPrinting"));
        QVERIFY(printing);
        QTemporaryDir dir;
        auto page = [&](const char* name) {
            QPrinter& printer = printing->printer();
            printer.setOutputFormat(QPrinter::PdfFormat);
            const QString pdf = dir.filePath(QString::fromLatin1(name));
            printer.setOutputFileName(pdf);
            printing->paint(&printer);
            return pdfText(pdf);
        };
        // Off by default: the page as it always was.
        QVERIFY(!page("plain.pdf").contains(QStringLiteral("Weight")));

        // Print Setup carries the option; ticking it and OK remembers it.
        bool ticked = false;
        QTimer::singleShot(0, [&] {
            auto* setup = qobject_cast<QPageSetupDialog*>(QApplication::activeModalWidget());
            if (!setup) return;
            auto* box = setup->findChild<QCheckBox*>(QStringLiteral("printWeight"));
            if (!box) {
                setup->reject();
                return;
            }
            ticked = !box->isChecked();
            box->setChecked(true);
            setup->accept();
        });
        session.frame->action(ID_FILE_PRINT_SETUP)->trigger();
        QVERIFY(ticked);
        QVERIFY(loadSizeSettings().printWeight);
        const QString text = page("weight.pdf");
        QVERIFY2(text.contains(QStringLiteral("Vol./W\u00b3 = 0.203 Size: 6.50 x 6.50 x 3.92 mm "
                                              "Weight: 0.981 ct (Diamond, SG 3.52)")),
                 qPrintable(text));
    }
};

BREVIX_WIDGET_TEST(SizeWeightTest)
#include "size_weight_test.moc"
