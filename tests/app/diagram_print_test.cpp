// File > Print, Print Preview and Print Setup from the main window: the
// commands are live, key L in the spin view opens the preview, and the page
// the printer gets holds the document's diagram on letter and A4 paper.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"
#include <QTimer>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/print/diagram_print.h"
#include "app/panes/four_view.h"
#include "app/panes/spin_view.h"
#include "app_test_support.h"

using namespace brevix;
using namespace brevix::test;

namespace {

}  // namespace

class DiagramPrintTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void printCommandsAreLiveWithTheirKeys() {
        TemporaryRegistry registry;
        Session session;
        for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP})
            QVERIFY2(session.frame->action(id)->isEnabled(), qPrintable(QString::number(id)));
        QCOMPARE(session.frame->action(ID_FILE_PRINT)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        QCOMPARE(session.frame->action(ID_FILE_PRINT_PREVIEW)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+R")));
    }

    void keyLInEitherViewPreviewsTheDiagram() {
        TemporaryRegistry registry;
        Session session;
        for (QWidget* view : {static_cast<QWidget*>(session.frame->spinView()),
                              static_cast<QWidget*>(session.frame->fourView())}) {
            bool previewed = false;
            // The preview is modal: look at it once it is up, then close it.
            QTimer::singleShot(0, [&] {
                auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
                if (!preview) return;
                previewed = true;
                preview->reject();
            });
            view->setFocus();
            QTest::keyClick(view, Qt::Key_L);
            QVERIFY2(previewed, view->objectName().toLatin1().constData());
        }
    }

    void thePrintedPageHoldsTheDiagramOnEitherPaper() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        TemporaryRegistry registry;
        Session session;
        auto* printing = session.frame->findChild<DiagramPrinting*>(QStringLiteral("diagramPrinting"));
        QVERIFY(printing);
        QTemporaryDir dir;
        for (auto paper : {QPageSize::Letter, QPageSize::A4}) {
            QPrinter& printer = printing->printer();
            printer.setOutputFormat(QPrinter::PdfFormat);
            const QString pdf = dir.filePath(QStringLiteral("page%1.pdf").arg(int(paper)));
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(paper));
            printing->paint(&printer);
            const QString text = pdfText(pdf);
            QVERIFY2(text.contains(QStringLiteral("Standard Round Brilliant")), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("P1 40.75° 96-12-24-36-48-60-72-84 Cut to centre point")),
                     qPrintable(text));
            QVERIFY2(text.endsWith(QStringLiteral("Untitled")), qPrintable(text));
        }
        // Printing leaves the design as it was.
        QVERIFY(!session.doc.model().isModified());
    }
};

BREVIX_WIDGET_TEST(DiagramPrintTest)
#include "diagram_print_test.moc"
