// View > Light Performance in the real window: the pane shows the
// library's own figures and pictures, under a room its figures too, follows
// changes of the design by itself, keeps its choices between runs (reading
// what an older Brevix stored), and the worker behind it gives coarse
// pictures first when fine ones are slow and drops pictures of a design
// already changed.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include "widget_test.h"
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/design_signals.h"
#include "app/dialogs/add_dlg.h"
#include "app/panes/light_figures_text.h"
#include "app/panes/light_pane_settings.h"
#include "app/panes/light_performance_pane.h"
#include "app/panes/light_render_worker.h"
#include "app_test_support.h"
#include "design/sample_designs.h"
#include "document/stone_commands.h"
#include "optics/dispersion.h"
#include "optics/face_up.h"
#include "optics/light_metrics.h"
#include "optics/tilt_sweep.h"
#include "document/cut_commands.h"
#include "optics/light_picture.h"
#include "platform/registry.h"
#include "platform/strformat.h"

using namespace brevix;
using namespace brevix::test;

namespace {

LightPerformancePane* lightPaneOf(CMainFrame& frame) {
    return frame.findChild<LightPerformancePane*>(QStringLiteral("LightPerformancePane"));
}
QDockWidget* lightDockOf(CMainFrame& frame) {
    return frame.findChild<QDockWidget*>(QStringLiteral("LightPerformanceDock"));
}

QString figure(const char* model, double value) {
    return QString::fromStdString(strprintf("%s brightness: %.1f%%", model, value));
}

QImage qImageOf(const optics::RgbPicture& p) {
    return QImage(p.rgb.data(), p.width, p.height, p.width * 3, QImage::Format_RGB888).copy();
}

// Pixels whose channels differ: a picture in colour has many.
int colouredPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAbs(qRed(c) - qGreen(c)) > 8 || qAbs(qGreen(c) - qBlue(c)) > 20) ++n;
        }
    return n;
}

QComboBox* lightingBox(LightPerformancePane* pane) { return pane->findChild<QComboBox*>(QStringLiteral("lighting")); }

}  // namespace

class LightPaneTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void viewMenuShowsThePaneWithTheLibrarysFigures() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        QDockWidget* dock = lightDockOf(frame);
        LightPerformancePane* pane = lightPaneOf(frame);
        QVERIFY(dock && pane);
        QVERIFY2(!dock->isVisible(), "hidden until asked for");
        QAction* toggle = frame.action(ID_VIEW_LIGHT_PERFORMANCE);
        QVERIFY(toggle->isEnabled());
        QCOMPARE(toggle->text(), QStringLiteral("&Light Performance"));
        toggle->trigger();
        QVERIFY(dock->isVisible());
        QVERIFY(toggle->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && !pane->image().isNull(), WAIT_MS);

        // The design's own index (quartz's), at the size the pane shows.
        optics::FaceUpOptions options;
        options.size = pane->image().width();
        options.refractiveIndex = session.doc.stone()->refractiveIndex;
        const optics::FaceUpImage expected = optics::renderFaceUp(*session.doc.stone(), options);
        QCOMPARE(pane->isoText(), figure("ISO", expected.isoBrightness));
        QCOMPARE(pane->cosText(), figure("COS", expected.cosBrightness));
        QCOMPARE(pane->findChild<QLabel*>(QStringLiteral("isoBrightness"))->text(), pane->isoText());
        // The figures beyond brightness, of the same picture, then the tilt means.
        const optics::LightMetrics m = optics::lightMetrics(expected);
        QVERIFY(pane->metricsText().startsWith(QString::fromStdString(
            strprintf("Windowing %.1f%%, extinction %.1f%%, contrast %.1f%%", m.windowing, m.extinction, m.contrast))));
        QVERIFY(pane->metricsText().contains(QStringLiteral("\nOver the tilts: windowing ")));
        QCOMPARE(pane->findChild<QLabel*>(QStringLiteral("lightMetrics"))->text(), pane->metricsText());
        // The tilt graph: -30 to +30 in steps of 5, symmetric for this design.
        const QList<QPointF> points = pane->isoPoints();
        QCOMPARE(points.size(), 13);
        QCOMPARE(points.front().x(), -30.0);
        QCOMPARE(points.back().x(), 30.0);
        QVERIFY(qAbs(points.front().y() - points.back().y()) < 0.5);

        // Diamond, chosen from the list.
        auto* material = pane->findChild<QComboBox*>();
        QVERIFY(material);
        QComboBox* materials = nullptr;
        for (QComboBox* box : pane->findChildren<QComboBox*>())
            if (box->count() == 17) materials = box;
        QVERIFY(materials);
        materials->setCurrentIndex(materials->findData(QStringLiteral("Diamond")));
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate(), WAIT_MS);
        options.refractiveIndex = 2.42;
        options.size = pane->image().width();
        QCOMPARE(pane->isoText(), figure("ISO", optics::renderFaceUp(*session.doc.stone(), options).isoBrightness));
        frame.resize(1100, 700);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate(), WAIT_MS);
        guideImage(&frame, "light_window.png");
        guideImage(pane, "light_pane.png");
    }

    void followsEveryChangeOfTheDesign() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        frame.action(ID_VIEW_LIGHT_PERFORMANCE)->trigger();
        LightPerformancePane* pane = lightPaneOf(frame);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && !pane->image().isNull(), WAIT_MS);
        const QString before = pane->isoText();

        // A new design through the document, as every command ends.
        runStoneCommand(session.doc, "Rough", [](Stone& stone) { stone = Stone(); });
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && pane->isoText() != before, WAIT_MS);
        optics::FaceUpOptions options;
        options.size = pane->image().width();
        options.refractiveIndex = session.doc.stone()->refractiveIndex;
        QCOMPARE(pane->isoText(), figure("ISO", optics::renderFaceUp(Stone(), options).isoBrightness));
        session.doc.undo();
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && pane->isoText() == before, WAIT_MS);
    }

    void oneCutAsksForOnePicture() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        frame.action(ID_VIEW_LIGHT_PERFORMANCE)->trigger();
        LightPerformancePane* pane = lightPaneOf(frame);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && !pane->image().isNull(), WAIT_MS);
        auto* changes = frame.findChild<DesignSignals*>();
        QVERIFY(changes);
        QSignalSpy announced(changes, &DesignSignals::designChanged);
        const int requests = pane->renderRequests();
        const int32_t facets = session.doc.facetCount;

        // The form's Cut Facet: a cut and a fresh pending facet, one change.
        CGemDoc& doc = session.doc;
        doc.pending().setSymmetry(8, 1);
        announced.clear();
        const int afterSymmetry = pane->renderRequests();
        QCOMPARE(afterSymmetry, requests + 1);
        doc.pending().setAngle(-20, false);
        doc.pending().setIndex(2, false);
        doc.pending().setCed(0.6, false);
        cutFromForm(doc, frame.addDlg());
        QCOMPARE(announced.count(), 1);
        QCOMPARE(pane->renderRequests(), afterSymmetry + 1);
        QVERIFY(session.doc.facetCount != facets);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate(), WAIT_MS);
    }

    void remembersItsPlaceAndChoices() {
        TemporaryRegistry registry;
        {
            Session session;
            session.frame->action(ID_VIEW_LIGHT_PERFORMANCE)->trigger();
            LightPerformancePane* pane = lightPaneOf(*session.frame);
            pane->findChildren<QComboBox*>().front()->setCurrentIndex(1);  // COS
            QCOMPARE(pane->settings().lighting, optics::Environment::Cos);
            session.close();
        }
        Session again;
        QVERIFY(lightDockOf(*again.frame)->isVisible());
        QVERIFY(again.frame->action(ID_VIEW_LIGHT_PERFORMANCE)->isChecked());
        QCOMPARE(lightPaneOf(*again.frame)->settings().lighting, optics::Environment::Cos);
        QCOMPARE(lightPaneOf(*again.frame)->findChildren<QComboBox*>().front()->currentIndex(), 1);
        again.frame->action(ID_VIEW_LIGHT_PERFORMANCE)->trigger();
        QVERIFY(!lightDockOf(*again.frame)->isVisible());
        again.close();
        Session third;
        QVERIFY(!lightDockOf(*third.frame)->isVisible());
    }

    void roomsShowTheirPictureAndTheirFigures() {
        TemporaryRegistry registry;
        Session session;
        CMainFrame& frame = *session.frame;
        frame.action(ID_VIEW_LIGHT_PERFORMANCE)->trigger();
        LightPerformancePane* pane = lightPaneOf(frame);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && !pane->image().isNull(), WAIT_MS);
        auto* sceneLabel = pane->findChild<QLabel*>(QStringLiteral("sceneFigures"));
        QVERIFY(sceneLabel);
        QVERIFY2(pane->sceneText().isEmpty() && sceneLabel->isHidden(), "ISO has no room");
        const QString isoBefore = pane->isoText();

        QComboBox* lighting = lightingBox(pane);
        QVERIFY(lighting);
        QCOMPARE(lighting->count(), 6);
        QCOMPARE(lighting->itemText(2), QStringLiteral("ASET"));
        lighting->setCurrentIndex(2);
        QCOMPARE(pane->settings().lighting, optics::Environment::Aset);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && !pane->sceneText().isEmpty(), WAIT_MS);

        // The library's ASET picture and figures of the design, at the size shown.
        optics::FaceUpOptions options;
        options.size = pane->image().width();
        options.refractiveIndex = session.doc.stone()->refractiveIndex;
        options.lighting.environment = optics::Environment::Aset;
        const optics::FaceUpImage aset = optics::renderFaceUp(*session.doc.stone(), options);
        QVERIFY(pane->image() == qImageOf(optics::picture(aset, optics::Environment::Aset)));
        QVERIFY2(colouredPixels(pane->image()) > pane->image().width() * pane->image().height() / 10,
                 "ASET is a picture in colour");
        const optics::SceneFigures f = optics::sceneFigures(aset);
        // Its scintillation as the pane's sweep measures it: the small tilts at the sweep's size.
        optics::FaceUpOptions sweepOptions = options;
        sweepOptions.size = LightRequest().sweepSize;
        const double scintillation =
            optics::sweepTilts(*session.doc.stone(), sweepOptions, optics::SCINTILLATION_TILTS).sceneScintillation;
        QCOMPARE(pane->sceneText(),
                 QString::fromStdString(sceneFiguresText(optics::Environment::Aset, f, scintillation)));
        QVERIFY(pane->sceneText().contains(QStringLiteral("\nRed ")));
        QVERIFY(sceneLabel->isVisible());
        QCOMPARE(sceneLabel->text(), pane->sceneText());
        // The zones share out all the light that entered.
        QVERIFY(qAbs(f.red + f.green + f.blue + f.black - 100) < 0.2);
        // Today's figures stay beside the room's.
        QCOMPARE(pane->isoText(), isoBefore);
        // The graph has the room's curve, the mean line its mean.
        QCOMPARE(pane->scenePoints().size(), pane->isoPoints().size());
        QVERIFY(pane->findChild<QLabel*>(QStringLiteral("tiltMean"))->text().contains(QStringLiteral(", ASET ")));
        if (!qEnvironmentVariableIsEmpty("BREVIX_GUIDE_IMAGES")) {
            frame.resize(1100, 900);  // a picture large enough to read its colours
            QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate(), WAIT_MS);
            guideImage(pane, "light_pane_aset.png");
        }

        // Spot light: its scintillation once the pane has measured it.
        lighting->setCurrentIndex(4);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate() && pane->sceneText().startsWith(QStringLiteral("Spot ")), WAIT_MS);
        QVERIFY(pane->sceneText().contains(QStringLiteral(", scintillation ")));
        QVERIFY(!pane->sceneText().contains(QStringLiteral("Red ")));
        QVERIFY2(colouredPixels(pane->image()) == 0, "a room other than ASET is grey");

        // Back to COS: the room's figures and curve go.
        lighting->setCurrentIndex(1);
        QTRY_VERIFY_WITH_TIMEOUT(pane->upToDate(), WAIT_MS);
        QVERIFY(pane->sceneText().isEmpty());
        QVERIFY(sceneLabel->isHidden());
        QVERIFY(pane->scenePoints().isEmpty());
        options.lighting.environment = optics::Environment::Cos;
        options.size = pane->image().width();
        QVERIFY(pane->image() ==
                qImageOf(optics::picture(optics::renderFaceUp(*session.doc.stone(), options), optics::Environment::Cos)));
    }

    // The lighting is kept under a key of its own; the ISO/COS choice of
    // the settings stored before there were rooms still counts, and is
    // written for an older Brevix sharing them.
    void theLightingIsRememberedBesideTheOldModelSetting() {
        TemporaryRegistry registry;
        const RegRoot user = RegRoot::CurrentUser;
        QCOMPARE(loadLightPaneSettings().lighting, optics::Environment::Iso);
        QVERIFY(regCreateKey(user, LIGHT_PERFORMANCE_KEY) != RegOpen::Failed);
        QVERIFY(regSetDword(user, LIGHT_PERFORMANCE_KEY, "CosModel", 1));
        QCOMPARE(loadLightPaneSettings().lighting, optics::Environment::Cos);

        LightPaneSettings s;
        s.lighting = optics::Environment::Aset;
        QVERIFY(saveLightPaneSettings(s));
        QCOMPARE(loadLightPaneSettings().lighting, optics::Environment::Aset);
        QCOMPARE(regGetDword(user, LIGHT_PERFORMANCE_KEY, "CosModel").value_or(9), 0u);
        QCOMPARE(regGetString(user, LIGHT_PERFORMANCE_KEY, "Lighting").value_or(""), std::string("aset"));
        // An older Brevix choosing COS, then ISO, over it: its word is the later one.
        QVERIFY(regSetDword(user, LIGHT_PERFORMANCE_KEY, "CosModel", 1));
        QCOMPARE(loadLightPaneSettings().lighting, optics::Environment::Cos);
        s.lighting = optics::Environment::Cos;
        QVERIFY(saveLightPaneSettings(s));
        QVERIFY(regSetDword(user, LIGHT_PERFORMANCE_KEY, "CosModel", 0));
        QCOMPARE(loadLightPaneSettings().lighting, optics::Environment::Iso);
        // A name this Brevix does not know leaves the old setting's choice.
        QVERIFY(regSetString(user, LIGHT_PERFORMANCE_KEY, "Lighting", "moonlight"));
        QVERIFY(regSetDword(user, LIGHT_PERFORMANCE_KEY, "CosModel", 1));
        QCOMPARE(loadLightPaneSettings().lighting, optics::Environment::Cos);
    }

    void pngFilesReadBackWithTheSamePixels() {
        // The command line writes its PNG without Qt; Qt's reader is the
        // independent check that the compressed stream is right.
        optics::FaceUpOptions options;
        options.size = 97;  // odd, so rows do not line up with anything
        options.refractiveIndex = 2.42;
        const optics::RgbPicture picture = optics::picture(
            optics::renderDispersion(makeRoundBrilliant(), options, 0.025), optics::LightModel::Cos);
        optics::RgbPicture noiseBytes{300, 7, std::vector<uint8_t>(300 * 7 * 3)};
        uint32_t state = 12345;
        for (uint8_t& byte : noiseBytes.rgb) {
            state = state * 1103515245u + 12345u;
            byte = uint8_t((state >> 16) % 5 == 0 ? state >> 24 : 200);  // runs and surprises
        }
        const optics::RgbPicture& noise = noiseBytes;
        for (const optics::RgbPicture* p : {&picture, &noise}) {
            const std::string png = optics::encodePng(*p);
            QImage image;
            QVERIFY(image.loadFromData(reinterpret_cast<const uchar*>(png.data()), int(png.size()), "PNG"));
            QCOMPARE(image.width(), p->width);
            QCOMPARE(image.height(), p->height);
            image = image.convertToFormat(QImage::Format_RGB888);
            for (int y = 0; y < p->height; ++y)
                QVERIFY2(std::memcmp(image.constScanLine(y), p->rgb.data() + size_t(y) * p->width * 3,
                                     size_t(p->width) * 3) == 0,
                         QByteArray::number(y));
        }
    }

    void workerGivesCoarseFirstWhenSlowAndDropsSupersededDesigns() {
        std::mutex mutex;
        std::vector<LightResult> results;
        LightRenderWorker worker([&](LightResult r) {
            std::lock_guard lock(mutex);
            results.push_back(std::move(r));
        });
        auto request = [&](uint64_t generation, int size) {
            LightRequest r;
            r.stone = std::make_shared<const Stone>(makeRoundBrilliant());
            r.options.size = size;
            r.options.refractiveIndex = 2.42;
            r.sweep = {-10, 10, 10};
            r.sweepSize = 16;
            r.generation = generation;
            worker.request(std::move(r));
        };
        auto stages = [&] {
            std::lock_guard lock(mutex);
            QList<int> out;
            for (const LightResult& r : results) out << int(r.generation) * 10 + r.stage;
            return out;
        };
        // A large picture is slower than a frame on any machine here, so
        // the next request starts with a coarse one.
        request(1, 1024);
        QTRY_VERIFY_WITH_TIMEOUT(worker.idle(), WAIT_MS);
        QCOMPARE(stages(), (QList<int>{10 + LightResult::Fine, 10 + LightResult::Sweep}));
        results.clear();
        request(2, 512);
        QTRY_VERIFY_WITH_TIMEOUT(worker.idle(), WAIT_MS);
        QCOMPARE(stages(), (QList<int>{20 + LightResult::Coarse, 20 + LightResult::Fine, 20 + LightResult::Sweep}));
        QCOMPARE(results[0].picture.width, 128);
        QCOMPARE(results[1].picture.width, 512);
        QCOMPARE(results[0].sweep.points.size(), size_t(0));
        QCOMPARE(results[2].sweep.points.size(), size_t(3));
        // Requests faster than the pictures: only the last design finishes.
        results.clear();
        for (uint64_t g = 3; g < 8; ++g) request(g, 1024);
        QTRY_VERIFY_WITH_TIMEOUT(worker.idle(), WAIT_MS);
        const QList<int> last = stages();
        QVERIFY(!last.isEmpty());
        QCOMPARE(last.back(), 70 + LightResult::Sweep);
        for (int s : last) QVERIFY2(s / 10 == 7 || s % 10 != LightResult::Sweep, "only the last design is swept");
    }
};

BREVIX_WIDGET_TEST(LightPaneTest)
#include "light_pane_test.moc"
