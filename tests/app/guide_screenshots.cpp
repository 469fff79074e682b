// Makes the pictures of the user's guide from the program itself: the
// window with a sample design and its panes in the states the guide
// describes. Run under Xvfb by UsersGuide/make_screenshots.sh:
//   guide_screenshots <samples folder> <output folder>
// The settings go to a temporary folder, never to the user's own.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cstdio>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/size_weight_dlg.h"
#include "app/print/diagram_page.h"
#include "app/print/diagram_print.h"
#include "document/size_settings.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/four_view.h"
#include "app/main_frame.h"
#include "app/panes/spin_view.h"
#include "document/gem_doc.h"
#include "platform/registry.h"

using namespace brevix;

namespace {

QString outputFolder;

void save(QWidget* widget, const char* name) {
    QApplication::processEvents();
    const QString path = outputFolder + QLatin1Char('/') + QLatin1String(name);
    if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: guide_screenshots <samples folder> <output folder>\n");
        return 2;
    }
    const QString samples = QString::fromLocal8Bit(argv[1]);
    outputFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outputFolder);
    QTemporaryDir settings;
    setRegistryFolder(settings.path().toStdString());

    CBrevixApp app;
    app.initInstance(samples + QStringLiteral("/round_brilliant.asc"));
    CMainFrame& frame = *app.mainFrame();
    CGemDoc& doc = app.document();
    frame.activateWindow();
    (void)QTest::qWaitForWindowExposed(&frame);
    QTest::qWait(200);

    save(&frame, "main_window.png");
    save(frame.fourView(), "four_view.png");
    save(frame.cutList(), "cut_list.png");
    save(frame.statusBar(), "status_bar.png");
    save(frame.findChild<QToolBar*>(QStringLiteral("toolbar")), "toolbar.png");

    frame.spinView()->setAngles({-0.35, 0.6, 0});
    save(frame.spinView(), "spin_view.png");

    frame.action(ID_ZOOM_SIDE)->trigger();
    save(frame.fourView(), "zoom_side.png");
    frame.action(ID_ZOOM_OUT)->trigger();

    {
        // Size and Weight for a 6.5 mm diamond, and the mesh exports' filter.
        SizeSettings size;
        size.material = "Diamond";
        SizeWeightDlg dialog(*doc.stone(), size, &frame);
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        save(&dialog, "size_weight.png");
        dialog.close();
    }
    // Print Setup with its option for the size and weight on the page.
    QTimer::singleShot(300, [] {
        if (QWidget* setup = QApplication::activeModalWidget()) {
            save(setup, "print_setup_weight.png");
            setup->close();
        }
    });
    frame.action(ID_FILE_PRINT_SETUP)->trigger();
    {
        // The top of the printed page with the size and weight lines.
        SizeSettings size;
        size.size = {SizeBasis::Width, 6.5};
        size.material = "Diamond";
        size.printWeight = true;
        saveSizeSettings(size);
        auto* printing = frame.findChild<DiagramPrinting*>(QStringLiteral("diagramPrinting"));
        QImage page(850, 1100, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        DiagramPageGeometry geometry;
        geometry.dpiX = geometry.dpiY = 100;
        geometry.origin = QPointF(25, 25);
        paintDiagramPage(painter, geometry, doc.stone(), doc.title(), printing->weightLines());
        painter.end();
        page.copy(320, 300, 420, 370).save(outputFolder + QStringLiteral("/diagram_weight.png"));
        saveSizeSettings(SizeSettings{});
    }

    QMenu* fileMenu = frame.menuBar()->actions().first()->menu();
    fileMenu->popup(frame.mapToGlobal(QPoint(0, frame.menuBar()->height())));
    QTest::qWait(200);
    save(fileMenu, "file_menu.png");
    fileMenu->close();

    doc.openDocumentFile((samples + QStringLiteral("/emerald_cut.asc")).toStdString());
    frame.action(ID_VIEW_HIDDEN_LINES)->trigger();
    save(frame.fourView(), "hidden_lines.png");
    frame.action(ID_VIEW_HIDDEN_LINES)->trigger();

    doc.setModifiedFlag(false);
    frame.close();
    return 0;
}
