// Makes the pictures of the user's guide from the program itself: the
// window with a sample design and its panes in the states the guide
// describes. Run under Xvfb by UsersGuide/make_screenshots.sh:
//   guide_screenshots <samples folder> <output folder>
// The settings go to a temporary folder, never to the user's own.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
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
#include "app/dialogs/rotate_dlg.h"
#include "app/dialogs/scale_dlg.h"
#include "document/gem_doc.h"
#include "platform/registry.h"

using namespace brevix;

namespace brevix {
void saveDatavueScreenshots(const QString& outputFolder, QWidget* parent);
}

namespace {

QString outputFolder;

void save(QWidget* widget, const char* name) {
    QApplication::processEvents();
    const QString path = outputFolder + QLatin1Char('/') + QLatin1String(name);
    if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// Runs `command` and, once its dialog is up, lets `work` set it up, saves
// it as `name` and closes it (with `close`, or Cancel).
void shootDialog(CMainFrame& frame, int command, const char* name,
                 std::function<void(QDialog&)> work = {}, std::function<void(QDialog&)> close = {}) {
    bool done = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (done || !dialog || !dialog->isVisible()) return;
        done = true;
        if (work) work(*dialog);
        QTest::qWait(100);
        save(dialog, name);
        if (close)
            close(*dialog);
        else
            dialog->reject();
    });
    poll.start();
    frame.action(command)->trigger();
}

void shootCommandDialogs(CMainFrame& frame, CGemDoc& doc, const QString& samples) {
    doc.files().openDocumentFile((samples + QStringLiteral("/round_brilliant.asc")).toStdString());
    shootDialog(frame, ID_STONE_ROTATE, "dialog-rotate.png", [](QDialog& d) {
        auto& dialog = static_cast<CRotateDlg&>(d);
        dialog.amountEdit()->setText(QStringLiteral("3.000"));
        dialog.unitGroup()->button(1)->setChecked(true);
    });
    shootDialog(frame, ID_STONE_SCALE, "dialog-scale.png", [](QDialog& d) {
        auto& dialog = static_cast<CScaleDlg&>(d);
        dialog.directionBox(ScaleBox::PlusY)->click();
        dialog.directionBox(ScaleBox::MinusY)->click();
        dialog.multiplyEdit()->setText(QStringLiteral("1.2000"));
    });
    // The question after a scale: which gear the stretched design fits best.
    {
        int seen = 0;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            if (auto* scale = qobject_cast<CScaleDlg*>(modal); scale && seen == 0) {
                seen = 1;
                scale->directionBox(ScaleBox::PlusY)->click();
                scale->multiplyEdit()->setText(QStringLiteral("1.2"));
                scale->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && seen == 1) {
                seen = 2;
                QTest::qWait(100);
                save(box, "gear-ranking.png");
                box->button(QMessageBox::No)->click();
            }
        });
        poll.start();
        frame.action(ID_STONE_SCALE)->trigger();
        frame.action(ID_EDIT_UNDO)->trigger();
    }
    shootDialog(frame, ID_STONE_CENTER, "dialog-center.png");
    shootDialog(frame, ID_STONE_REFLECT, "dialog-reflect.png");
    shootDialog(frame, ID_EDIT_SORT, "dialog-sort.png");
    shootDialog(frame, ID_EDIT_RENAME, "dialog-rename.png");
    shootDialog(frame, ID_EDIT_HEADING, "dialog-heading.png");
    // Replay part way: the window with the newest facet marked and the dialog beside it.
    int shown = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        if (++shown < 27) {
            dialog->accept();
            return;
        }
        QTest::qWait(200);
        save(dialog, "dialog-replay.png");
        const QRect area = frame.frameGeometry().united(dialog->frameGeometry());
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(
            0, area.x(), area.y(), area.width(), area.height());
        screen.save(outputFolder + QStringLiteral("/replay-window.png"));
        dialog->reject();
        poll.stop();
    });
    poll.start();
    frame.action(ID_VIEW_REPLAY)->trigger();
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
        paintDiagramPage(painter, geometry, doc.stone(), doc.files().title(), printing->weightLines());
        painter.end();
        page.copy(320, 300, 420, 370).save(outputFolder + QStringLiteral("/diagram_weight.png"));
        saveSizeSettings(SizeSettings{});
    }

    QMenu* fileMenu = frame.menuBar()->actions().first()->menu();
    fileMenu->popup(frame.mapToGlobal(QPoint(0, frame.menuBar()->height())));
    QTest::qWait(200);
    save(fileMenu, "file_menu.png");
    fileMenu->close();

    doc.files().openDocumentFile((samples + QStringLiteral("/emerald_cut.asc")).toStdString());
    frame.action(ID_VIEW_HIDDEN_LINES)->trigger();
    save(frame.fourView(), "hidden_lines.png");
    frame.action(ID_VIEW_HIDDEN_LINES)->trigger();

    shootCommandDialogs(frame, doc, samples);
    saveDatavueScreenshots(outputFolder, &frame);

    doc.model().setModifiedFlag(false);
    frame.close();
    return 0;
}
