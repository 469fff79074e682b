// Makes the pictures of the user's guide from the program itself: the
// window with a sample design and its panes in the states the guide
// describes. Run under Xvfb by UsersGuide/make_screenshots.sh:
//   guide_screenshots <samples folder> <output folder>
// The settings go to a temporary folder, never to the user's own.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <cstdio>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/four_view.h"
#include "app/main_frame.h"
#include "app/panes/spin_view.h"
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

    QMenu* fileMenu = frame.menuBar()->actions().first()->menu();
    fileMenu->popup(frame.mapToGlobal(QPoint(0, frame.menuBar()->height())));
    QTest::qWait(200);
    save(fileMenu, "file_menu.png");
    fileMenu->close();

    doc.openDocumentFile((samples + QStringLiteral("/emerald_cut.asc")).toStdString());
    frame.action(ID_VIEW_HIDDEN_LINES)->trigger();
    save(frame.fourView(), "hidden_lines.png");
    frame.action(ID_VIEW_HIDDEN_LINES)->trigger();

    saveDatavueScreenshots(outputFolder, &frame);

    doc.setModifiedFlag(false);
    frame.close();
    return 0;
}
