// File > Fit into Rough as the cutter meets it: the figures shown are the
// fit's own, whatever is mistyped is named before anything runs, a refused
// scan says why, the placed stone is saved whole, and the menu opens it.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include "widget_test.h"

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/rough/fit_rough_dlg.h"
#include "app/rough/rough_view.h"
#include "app_test_support.h"
#include "design/real_size.h"
#include "design/sample_designs.h"
#include "optics/materials.h"
#include "rough/rough_fit.h"

using namespace brevix;
using namespace brevix::test;
using roughfit::FitRoughDlg;

namespace {

// The figures as the dialog should show them for a fit made here, apart
// from the window: the same inputs and seed give the same placement.
QString expectedFigures(const Stone& stone, const rough::FitResult& fit, double gravity) {
    const std::optional<RealSize> size = realSizeOf(stone, SizeBasis::Width, fit.widthMm);
    const double carats = caratsOf(size ? size->volume : fit.volumeMm3, gravity);
    char text[256];
    std::snprintf(text, sizeof text, "Width: %.2f mm\nLength: %.2f mm\nDepth: %.2f mm\nWeight: %.3f ct\nYield: %.1f %%\n",
                  fit.widthMm, fit.lengthMm, fit.depthMm, carats, fit.yieldPercent);
    return QString::fromLatin1(text);
}

rough::FitResult fitApart(const Stone& stone, const std::string& shapeText, const rough::FitOptions& options) {
    rough::MeshRead read = rough::shapeMesh(shapeText);
    if (!read.mesh) return {};
    const rough::RoughCheck check = rough::prepareRough(std::move(*read.mesh));
    if (!check.rough) return {};
    return rough::fitStone(stone, *check.rough, options);
}

template <class W>
W* fitChild(const QWidget& dialog, const char* name) {
    return dialog.findChild<W*>(QString::fromLatin1(name));
}

void retypeFitField(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

bool writeFitFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray fitFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double quartzGravity() { return optics::findMaterial("Quartz")->specificGravity; }

}  // namespace

class FitRoughTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void theBrilliantInABoxShowsTheFitsFigures() {
        TemporaryRegistry registry;
        const Stone brilliant = makeRoundBrilliant();  // R.I. 1.54: quartz
        FitRoughDlg dialog(&brilliant, QStringLiteral("round_brilliant.asc"));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Fit into Rough"));
        QCOMPARE(fitChild<QComboBox>(dialog, "material")->currentData().toString(), QStringLiteral("Quartz"));
        QVERIFY(fitChild<QRadioButton>(dialog, "openDesign")->isChecked());
        QVERIFY(!fitChild<QPushButton>(dialog, "savePlacedStone")->isEnabled());

        auto* shape = fitChild<QComboBox>(dialog, "shape");
        shape->setCurrentIndex(0);
        retypeFitField(fitChild<QLineEdit>(dialog, "shapeSize1"), QStringLiteral("10"));
        retypeFitField(fitChild<QLineEdit>(dialog, "shapeSize2"), QStringLiteral("8"));
        retypeFitField(fitChild<QLineEdit>(dialog, "shapeSize3"), QStringLiteral("6"));
        QVERIFY(dialog.roughStatusText().startsWith(QStringLiteral("Rough volume: 480.0 mm")));

        QTest::mouseClick(fitChild<QPushButton>(dialog, "fit"), Qt::LeftButton);
        QVERIFY2(dialog.problemsText().isEmpty(), qPrintable(dialog.problemsText()));
        // The window stays live while the fit runs on its own thread.
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.fitting(), WAIT_MS);

        const rough::FitResult fit = fitApart(brilliant, "box:10x8x6", {});
        QVERIFY(fit.fits);
        QCOMPARE(dialog.figuresText(), expectedFigures(brilliant, fit, quartzGravity()));
        QCOMPARE(fitChild<QLabel>(dialog, "widthFigure")->text(), QString::asprintf("%.2f mm", fit.widthMm));
        // The stone shown lies in the box, and is no smaller than the
        // brilliant standing upright with its girdle across the 8 mm side.
        QVERIFY(dialog.model().outcome());
        for (const Vec3& p : dialog.model().outcome()->placedStone.points)
            QVERIFY(std::abs(p.x) <= 5 + 1e-6 && std::abs(p.y) <= 4 + 1e-6 && std::abs(p.z) <= 3 + 1e-6);
        QVERIFY2(fit.widthMm >= 8 - 1e-3, qPrintable(QString::number(fit.widthMm)));
        QVERIFY(fitChild<QPushButton>(dialog, "savePlacedStone")->isEnabled());

        // Another material weighs the same stone again without a new fit.
        auto* material = fitChild<QComboBox>(dialog, "material");
        material->setCurrentIndex(material->findData(QStringLiteral("Diamond")));
        QCOMPARE(dialog.figuresText(),
                 expectedFigures(brilliant, fit, optics::findMaterial("Diamond")->specificGravity));

        // A sphere to avoid in the box's centre goes to the fit, and the
        // stone keeps out of it.
        QTest::mouseClick(fitChild<QPushButton>(dialog, "addSphere"), Qt::LeftButton);
        auto* avoid = fitChild<QTableWidget>(dialog, "avoid");
        QCOMPARE(avoid->rowCount(), 1);
        QCOMPARE(dialog.figuresText(), QString());  // the last figures no longer hold
        avoid->item(0, 3)->setText(QStringLiteral("1.5"));
        QVERIFY(dialog.fit());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.fitting(), WAIT_MS);
        // The new row starts at the rough's centre, as its cells say.
        rough::FitOptions withSphere;
        auto cell = [avoid](int column) { return avoid->item(0, column)->text().toDouble(); };
        withSphere.avoid.push_back({Vec3{cell(0), cell(1), cell(2)}, 1.5});
        const rough::FitResult kept = fitApart(brilliant, "box:10x8x6", withSphere);
        QCOMPARE(dialog.figuresText(),
                 expectedFigures(brilliant, kept, optics::findMaterial("Diamond")->specificGravity));
        QVERIFY(dialog.model().outcome());
        for (const Vec3& p : dialog.model().outcome()->placedStone.points)
            QVERIFY(length(p - withSphere.avoid.front().centre) >= 1.5 - 1e-6);
        QTest::mouseClick(fitChild<QPushButton>(dialog, "removeSphere"), Qt::LeftButton);
        QCOMPARE(avoid->rowCount(), 0);
    }

    void everyMistypedFieldIsNamedAndNothingRuns() {
        TemporaryRegistry registry;
        const Stone brilliant = makeRoundBrilliant();
        FitRoughDlg dialog(&brilliant, QStringLiteral("round_brilliant.asc"));
        auto* shape = fitChild<QComboBox>(dialog, "shape");
        shape->setCurrentIndex(1);  // a cylinder has a diameter and a height
        QVERIFY(!fitChild<QLineEdit>(dialog, "shapeSize3")->isVisibleTo(&dialog));
        retypeFitField(fitChild<QLineEdit>(dialog, "shapeSize1"), QStringLiteral("ten"));
        retypeFitField(fitChild<QLineEdit>(dialog, "shapeSize2"), QStringLiteral("-2"));
        retypeFitField(fitChild<QLineEdit>(dialog, "margin"), QStringLiteral("-0.5"));
        retypeFitField(fitChild<QLineEdit>(dialog, "gravity"), QStringLiteral("0"));
        auto* avoid = fitChild<QTableWidget>(dialog, "avoid");
        QTest::mouseClick(fitChild<QPushButton>(dialog, "addSphere"), Qt::LeftButton);
        QTest::mouseClick(fitChild<QPushButton>(dialog, "addSphere"), Qt::LeftButton);
        avoid->item(0, 0)->setText(QStringLiteral("x"));
        avoid->item(1, 3)->setText(QStringLiteral("0"));

        QVERIFY(!dialog.fit());
        QVERIFY(!dialog.fitting());
        QCOMPARE(dialog.problemsText(),
                 QStringLiteral("Diameter: type the rough's size in millimetres, above 0 and up to 1000.\n"
                                "Height: type the rough's size in millimetres, above 0 and up to 1000.\n"
                                "SG: choose a material or type its specific gravity, from 0.1 to 25.\n"
                                "Margin: type the millimetres to keep from the rough's surface, 0 or more.\n"
                                "Sphere 1: type the centre's x, y and z in millimetres.\n"
                                "Sphere 2: type a radius in millimetres, above 0."));

        // A decimal comma is a point; the fields put right, the fit runs.
        retypeFitField(fitChild<QLineEdit>(dialog, "shapeSize1"), QStringLiteral("9,5"));
        retypeFitField(fitChild<QLineEdit>(dialog, "shapeSize2"), QStringLiteral("7"));
        retypeFitField(fitChild<QLineEdit>(dialog, "margin"), QStringLiteral("0,25"));
        retypeFitField(fitChild<QLineEdit>(dialog, "gravity"), QStringLiteral("2.65"));
        avoid->setCurrentCell(1, 0);
        QTest::mouseClick(fitChild<QPushButton>(dialog, "removeSphere"), Qt::LeftButton);
        avoid->setCurrentCell(0, 0);
        QTest::mouseClick(fitChild<QPushButton>(dialog, "removeSphere"), Qt::LeftButton);
        QVERIFY2(dialog.fit(), qPrintable(dialog.problemsText()));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.fitting(), WAIT_MS);
        rough::FitOptions margin;
        margin.marginMm = 0.25;
        QCOMPARE(dialog.figuresText(), expectedFigures(brilliant, fitApart(brilliant, "cylinder:9.5x7", margin), 2.65));

        // No design open and none chosen: said, not fitted.
        FitRoughDlg empty(nullptr, QString());
        QVERIFY(!fitChild<QRadioButton>(empty, "openDesign")->isEnabled());
        QVERIFY(!empty.fit());
        QCOMPARE(empty.problemsText(), QStringLiteral("Choose a design file (.gem, .asc or .brx)."));
        QVERIFY(!empty.openDesignFile(QStringLiteral(BREVIX_SOURCE_DIR "/UsersGuide/pebble.obj")));
        QVERIFY(empty.problemsText().contains(QStringLiteral("not a design file")));
        QVERIFY(empty.openDesignFile(QStringLiteral(BREVIX_SOURCE_DIR "/samples/round_brilliant.asc")));
        QVERIFY2(empty.fit(), qPrintable(empty.problemsText()));
        QTRY_VERIFY_WITH_TIMEOUT(!empty.fitting(), WAIT_MS);
        QVERIFY(empty.model().outcome() && empty.model().outcome()->result.fits);
    }

    void aScanIsCheckedFittedAndSaved() {
        TemporaryRegistry registry;
        QTemporaryDir folder;
        const Stone brilliant = makeRoundBrilliant();
        FitRoughDlg checking(&brilliant, QStringLiteral("round_brilliant.asc"));

        // A tetrahedron with a face missing is no solid.
        const QString open = folder.filePath(QStringLiteral("open.obj"));
        const QByteArray openMesh = "v 0 0 0\nv 10 0 0\nv 0 10 0\nv 0 0 10\nf 1 3 2\nf 1 2 4\nf 2 3 4\n";
        QVERIFY(writeFitFile(open, openMesh));
        QVERIFY(!checking.openRoughFile(open));
        rough::MeshRead read = rough::readMeshFile(open.toStdString());
        const std::string refusal =
            read.mesh ? rough::prepareRough(std::move(*read.mesh)).error : read.error;
        QVERIFY(!refusal.empty());
        QCOMPARE(checking.roughStatusText(), QString::fromStdString(refusal));
        QVERIFY(!checking.fit());
        QCOMPARE(checking.problemsText(), QStringLiteral("The rough was refused: ") + QString::fromStdString(refusal));

        // The same solid whole but inside out is taken, with the warning.
        const QString turned = folder.filePath(QStringLiteral("turned.obj"));
        QVERIFY(writeFitFile(turned, "v 0 0 0\nv 10 0 0\nv 0 10 0\nv 0 0 10\nf 1 2 3\nf 1 4 2\nf 2 4 3\nf 1 3 4\n"));
        QVERIFY(checking.openRoughFile(turned));
        read = rough::readMeshFile(turned.toStdString());
        const rough::RoughCheck check = rough::prepareRough(std::move(*read.mesh));
        QVERIFY(!check.warnings.empty());
        for (const std::string& warning : check.warnings)
            QVERIFY(checking.roughStatusText().contains(QString::fromStdString(warning)));

        // The guide's example: the sample brilliant, a margin for the
        // pebble's skin and a crack to keep clear of.
        const roughfit::DesignChoice sample = roughfit::designFromFile(BREVIX_SOURCE_DIR "/samples/round_brilliant.asc");
        QVERIFY(sample.stone);
        FitRoughDlg dialog(sample.stone.get(), QStringLiteral("round_brilliant.asc"));
        // Opened from a folder of scans, as a cutter's would be, not from
        // wherever the sources happen to lie: the path shows in the picture.
        const QString scans = QDir::tempPath() + QStringLiteral("/scans");
        QDir().mkpath(scans);
        QFile::remove(scans + QStringLiteral("/pebble.obj"));
        QVERIFY(QFile::copy(QStringLiteral(BREVIX_SOURCE_DIR "/UsersGuide/pebble.obj"), scans + QStringLiteral("/pebble.obj")));
        QVERIFY(dialog.openRoughFile(scans + QStringLiteral("/pebble.obj")));
        QVERIFY2(!dialog.roughStatusText().contains(QStringLiteral("Warning")), qPrintable(dialog.roughStatusText()));
        roughfit::RoughView* view = dialog.view();
        auto* turn = fitChild<QSlider>(dialog, "turn");
        turn->setValue(100);
        QCOMPARE(view->azimuth(), 100.0);
        retypeFitField(fitChild<QLineEdit>(dialog, "margin"), QStringLiteral("0.3"));
        QTest::mouseClick(fitChild<QPushButton>(dialog, "addSphere"), Qt::LeftButton);
        auto* avoid = fitChild<QTableWidget>(dialog, "avoid");
        const char* crack[] = {"3", "-1", "1", "1.2"};
        for (int column = 0; column < 4; ++column) avoid->item(0, column)->setText(QString::fromLatin1(crack[column]));
        QVERIFY(dialog.fit());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.fitting(), WAIT_MS);
        QVERIFY(dialog.model().outcome() && dialog.model().outcome()->result.fits);
        dialog.resize(900, 620);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        turn->setValue(35);
        guideImage(&dialog, "fit_rough.png");

        // Saved as ASCII STL or OBJ; another extension is refused; a failed
        // save leaves the file that was there.
        const rough::Mesh& placed = dialog.model().outcome()->placedStone;
        const QString stl = folder.filePath(QStringLiteral("placed.stl"));
        QVERIFY(dialog.savePlacedStone(stl));
        QCOMPARE(fitFileBytes(stl), QByteArray::fromStdString(rough::asciiStl(placed, "round_brilliant.asc")));
        const QString obj = folder.filePath(QStringLiteral("placed.obj"));
        QVERIFY(dialog.savePlacedStone(obj));
        QCOMPARE(fitFileBytes(obj), QByteArray::fromStdString(rough::objText(placed)));
        QVERIFY(!dialog.savePlacedStone(folder.filePath(QStringLiteral("placed.txt"))));
        QVERIFY(fitChild<QLabel>(dialog, "status")->text().contains(QStringLiteral(".stl or .obj")));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.stl")));
        QVERIFY(!dialog.savePlacedStone(folder.filePath(QStringLiteral("folder.stl"))));
        QVERIFY(fitChild<QLabel>(dialog, "status")->text().startsWith(QStringLiteral("Cannot open")));
        // The saved stone reads back as a closed solid.
        rough::MeshRead back = rough::readMeshFile(stl.toStdString());
        QVERIFY(back.mesh);
        QVERIFY(rough::prepareRough(std::move(*back.mesh)).rough);

        // The view turns by dragging, and the slider follows.
        const QPoint middle = view->rect().center();
        QTest::mousePress(view, Qt::LeftButton, {}, middle);
        QMouseEvent drag(QEvent::MouseMove, QPointF(middle + QPoint(40, 0)), view->mapToGlobal(QPointF(middle + QPoint(40, 0))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &drag);
        QTest::mouseRelease(view, Qt::LeftButton, {}, middle + QPoint(40, 0));
        QCOMPARE(view->azimuth(), 55.0);
        QCOMPARE(turn->value(), 55);
    }

    void theFileMenuOpensTheDialogOnTheOpenDesign() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink guard(sink);
        Session session;
        QAction* command = session.frame->action(ID_FILE_FIT_ROUGH);
        QVERIFY(command && command->isEnabled());
        QCOMPARE(command->text(), QStringLiteral("Fit &into Rough..."));
        QVERIFY(session.frame->menuBar()->actions().front()->menu()->actions().contains(command));
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto* dialog = qobject_cast<FitRoughDlg*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = dialog->model().design() != nullptr &&
                   fitChild<QRadioButton>(*dialog, "openDesign")->isChecked();
            dialog->reject();
        });
        command->trigger();
        QVERIFY(seen);
        QVERIFY(!session.doc.model().isModified());
        session.close();
    }
};

BREVIX_WIDGET_TEST(FitRoughTest)
#include "fit_rough_test.moc"
