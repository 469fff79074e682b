// The gallery as a cutter uses it: tiles at once for every design below a
// folder, filled in by the background scan with the figures the batch
// gives, sorted and filtered, rescored for a new material, a second opening
// from the cache, a double click that opens the design in the main window,
// several designs exported together, and tiles that show each design face up
// in a lighting.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QScopeGuard>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"

#include "app/brevix_app.h"
#include "app/gallery/gallery_filter.h"
#include "app/gallery/gallery_model.h"
#include "app/gallery/gallery_open.h"
#include "app/gallery/gallery_window.h"
#include "app/main_frame.h"
#include "app_test_support.h"
#include "collection/design_read.h"
#include "collection/score_entry.h"
#include "collection/tile_pictures.h"
#include "document/gem_doc.h"
#include "files/thumbnail.h"
#include "optics/materials.h"
#include "../support/generated_designs.h"

using namespace brevix;
using namespace brevix::test;

namespace {

constexpr int DESIGNS = 9;
constexpr int SCAN_TIMEOUT_MS = 120000;

// A folder of generated brilliants (one in a subfolder), a file that is no
// design, and a thumbnail beside one of them.
void fillFolder(const QString& folder) {
    const std::string f = QFile::encodeName(folder).toStdString();
    testing::writeGeneratedDesigns(f, DESIGNS - 1);
    testing::writeGeneratedDesigns(f + "/more", 1);
    QFile junk(folder + QStringLiteral("/junk.asc"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("no design here\n");
    junk.close();
    brevix::Diagnostics notes;
    QVERIFY(writeThb(testing::generatedBrilliant(3), f + "/brilliant_0003.thb", notes));
}

std::vector<double> shownFigures(GalleryWindow& window, int role) {
    std::vector<double> values;
    for (int r = 0; r < window.filter()->rowCount(); ++r)
        values.push_back(window.filter()->index(r, 0).data(role).toDouble());
    return values;
}

// The tile's picture as the library makes it of the design in the file.
QImage expectedTile(const GalleryTile& tile, const optics::LightSettings& light, optics::Environment lighting) {
    const collection::ReadEntry read = collection::readEntry(tile.entry);
    if (!read.stone) return {};
    const optics::RgbPicture p = collection::tilePicture(*read.stone, light, lighting, GalleryModel::PICTURE_SIDE);
    return QImage(p.rgb.data(), p.width, p.height, p.width * 3, QImage::Format_RGB888).copy();
}

}  // namespace

class GalleryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void tilesAtOnceThenTheBatchFigures() {
        QTemporaryDir folder, cache;
        fillFolder(folder.path());
        GalleryWindow window(folder.path(), {}, nullptr, cache.path());
        // The folder is searched on the scan's thread: the window has no
        // tile until the search is over, then every tile before anything is
        // read.
        QCOMPARE(window.model()->rowCount(), 0);
        QVERIFY(!window.searched());
        QTRY_VERIFY_WITH_TIMEOUT(window.searched(), SCAN_TIMEOUT_MS);
        QCOMPARE(window.model()->rowCount(), DESIGNS + 1);
        QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished(), SCAN_TIMEOUT_MS);

        optics::LightSettings settings;
        settings.options.size = GalleryWindow::LIGHT_SIZE;
        settings.options.threads = 1;
        int good = 0;
        for (const GalleryTile& tile : window.model()->tiles()) {
            QVERIFY(tile.read);
            if (tile.name == QStringLiteral("junk.asc")) {
                QVERIFY(!tile.figures.ok());
                QVERIFY(tile.figures.error.find("Corrupt ASC file") != std::string::npos);
                continue;
            }
            ++good;
            QVERIFY2(tile.figures.ok(), tile.figures.error.c_str());
            QVERIFY(!tile.picture.isNull());
            QCOMPARE(tile.figures.facts.facets, 33);
            QVERIFY(tile.figures.facts.heading.starts_with("Brilliant "));
            // The same figures as the batch command for the same settings.
            const auto batch = collection::scoreEntry(tile.entry, settings, collection::ScoreCache(""));
            QVERIFY(tile.figures.light);
            QCOMPARE(tile.figures.light->iso, batch.light->iso);
            QCOMPARE(tile.figures.light->cos, batch.light->cos);
        }
        QCOMPARE(good, DESIGNS);
    }

    void sortsFiltersAndSearches() {
        QTemporaryDir folder, cache;
        fillFolder(folder.path());
        GalleryWindow window(folder.path(), {}, nullptr, cache.path());
        QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished(), SCAN_TIMEOUT_MS);

        window.sortTiles(GalleryFilter::Iso, true);
        auto iso = shownFigures(window, GalleryModel::IsoRole);
        // The junk file has no figure and comes last.
        QVERIFY(!window.filter()->index(DESIGNS, 0).data(GalleryModel::IsoRole).isValid());
        iso.pop_back();
        QVERIFY(std::is_sorted(iso.rbegin(), iso.rend()));
        QVERIFY(iso.front() > iso.back());
        // The user's guide shows the gallery sorted so, brightest first.
        if (const QByteArray images = qgetenv("BREVIX_GUIDE_IMAGES"); !images.isEmpty()) {
            window.resize(900, 640);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTest::qWait(300);
            QVERIFY(window.grab().save(QString::fromLocal8Bit(images) + QStringLiteral("/gallery.png")));
        }

        window.sortTiles(GalleryFilter::Cos, false);
        auto cos = shownFigures(window, GalleryModel::CosRole);
        cos.pop_back();
        QVERIFY(std::is_sorted(cos.begin(), cos.end()));

        window.searchField()->setText(QStringLiteral("BRILLIANT 3:"));  // the heading, any case
        QCOMPARE(window.filter()->rowCount(), 1);
        QCOMPARE(window.filter()->index(0, 0).data(GalleryModel::NameRole).toString(),
                 QStringLiteral("brilliant_0003.asc"));
        window.searchField()->setText(QStringLiteral("junk"));  // the name
        QCOMPARE(window.filter()->rowCount(), 1);
        window.searchField()->clear();
        QCOMPARE(window.filter()->rowCount(), DESIGNS + 1);

        const double middle = (iso.front() + iso.back()) / 2;
        window.filter()->setRange(GalleryFilter::Iso, middle, std::nullopt);
        const auto bright = shownFigures(window, GalleryModel::IsoRole);
        QVERIFY(!bright.empty() && static_cast<int>(bright.size()) < DESIGNS);
        for (double v : bright) QVERIFY(v >= middle);
        window.filter()->setRange(GalleryFilter::Facets, 34, std::nullopt);
        QCOMPARE(window.filter()->rowCount(), 0);
        window.filter()->setRange(GalleryFilter::Facets, std::nullopt, std::nullopt);
        QCOMPARE(window.filter()->rowCount(), DESIGNS + 1);
    }

    void aNewMaterialRescoresAndASecondOpeningComesFromTheCache() {
        QTemporaryDir folder, cache;
        fillFolder(folder.path());
        std::vector<double> own, diamond;
        {
            GalleryWindow window(folder.path(), {}, nullptr, cache.path());
            QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished(), SCAN_TIMEOUT_MS);
            own = shownFigures(window, GalleryModel::IsoRole);
            const int diamondIndex = window.materialBox()->findText(QStringLiteral("Diamond"));
            QVERIFY(diamondIndex > 0);
            window.setMaterial(diamondIndex);
            QVERIFY(!window.scanFinished());
            QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished(), SCAN_TIMEOUT_MS);
            diamond = shownFigures(window, GalleryModel::IsoRole);
            QVERIFY(diamond != own);
        }
        GalleryWindow again(folder.path(), {}, nullptr, cache.path());
        QTRY_VERIFY_WITH_TIMEOUT(again.scanFinished(), SCAN_TIMEOUT_MS);
        QCOMPARE(shownFigures(again, GalleryModel::IsoRole), own);
        for (const GalleryTile& tile : again.model()->tiles())
            if (tile.figures.ok()) QVERIFY(tile.figures.fromCache);
    }

    void tilesShowEachDesignFaceUpInALighting() {
        QTemporaryDir folder, cache;
        fillFolder(folder.path());
        GalleryWindow window(folder.path(), {}, nullptr, cache.path());
        QCOMPARE(window.tilesBox()->currentText(), QStringLiteral("Top view"));
        // Chosen before the search is over: the pictures follow once it is.
        const int aset = window.tilesBox()->findText(QStringLiteral("ASET"));
        QVERIFY(aset > 0);
        window.setTileLighting(aset);
        QVERIFY(!window.picturesFinished());
        QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished() && window.picturesFinished(), SCAN_TIMEOUT_MS);

        optics::LightSettings own;
        for (const GalleryTile& tile : window.model()->tiles()) {
            if (!tile.figures.ok()) {
                QVERIFY2(tile.lightPicture.isNull(), "a file that is no design keeps its tile as it was");
                continue;
            }
            QVERIFY(!tile.picture.isNull());
            // Traced from the design, also where a thumbnail beside it is drawn.
            QVERIFY2(tile.lightPicture == expectedTile(tile, own, optics::Environment::Aset), qPrintable(tile.name));
        }
        if (const QByteArray images = qgetenv("BREVIX_GUIDE_IMAGES"); !images.isEmpty()) {
            window.sortTiles(GalleryFilter::Name, false);
            window.resize(900, 640);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTest::qWait(300);
            QVERIFY(window.grab().save(QString::fromLocal8Bit(images) + QStringLiteral("/gallery_aset.png")));
        }

        // Another material: the pictures are made again in it.
        const int diamondIndex = window.materialBox()->findText(QStringLiteral("Diamond"));
        window.setMaterial(diamondIndex);
        QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished() && window.picturesFinished(), SCAN_TIMEOUT_MS);
        optics::LightSettings diamond;
        diamond.material = optics::findMaterial("Diamond");
        for (const GalleryTile& tile : window.model()->tiles())
            if (tile.figures.ok())
                QVERIFY2(tile.lightPicture == expectedTile(tile, diamond, optics::Environment::Aset),
                         qPrintable(tile.name));

        // The top view again: no light pictures left.
        window.setTileLighting(0);
        QVERIFY(window.picturesFinished());
        for (const GalleryTile& tile : window.model()->tiles()) QVERIFY(tile.lightPicture.isNull());
    }

    void aDoubleClickOpensTheDesignInTheMainWindow() {
        TemporaryRegistry registry;
        QTemporaryDir folder, cache;
        fillFolder(folder.path());
        Session session;
        session.doc.model().setModifiedFlag(false);
        GalleryWindow* gallery = openGallery(*session.frame, folder.path());
        QVERIFY(gallery);
        QTRY_VERIFY_WITH_TIMEOUT(gallery->searched(), SCAN_TIMEOUT_MS);
        gallery->sortTiles(GalleryFilter::Name, false);
        const QModelIndex first = gallery->filter()->index(0, 0);
        QCOMPARE(first.data(GalleryModel::NameRole).toString(), QStringLiteral("brilliant_0000.asc"));
        Q_EMIT gallery->view()->doubleClicked(first);
        QVERIFY(QString::fromStdString(session.doc.files().registeredPath).endsWith(QStringLiteral("brilliant_0000.asc")));
        QCOMPARE(session.doc.stone()->nFacet - session.doc.stone()->nRough, 33);
        gallery->close();
    }

    void selectedDesignsAreExportedTogether() {
        QTemporaryDir folder, cache, target;
        fillFolder(folder.path());
        GalleryWindow window(folder.path(), {}, nullptr, cache.path());
        QTRY_VERIFY_WITH_TIMEOUT(window.searched(), SCAN_TIMEOUT_MS);
        window.sortTiles(GalleryFilter::Name, false);
        window.view()->selectAll();
        const auto entries = window.selectedEntries();
        QCOMPARE(static_cast<int>(entries.size()), DESIGNS + 1);
        const QStringList stl = exportDesigns(entries, target.path(), GalleryExport::Stl);
        // The junk file is the one failure, and says why.
        QCOMPARE(stl.size(), 1);
        QVERIFY(stl.front().startsWith(QStringLiteral("junk.stl: Corrupt ASC file")));
        QFile mesh(target.path() + QStringLiteral("/brilliant_0002.stl"));
        QVERIFY(mesh.open(QIODevice::ReadOnly));
        QVERIFY(mesh.size() > 84);
        // The design of the same name in the subfolder has a file of its own.
        QVERIFY(QFile::exists(target.path() + QStringLiteral("/brilliant_0000-2.stl")));
        const QStringList pdf = exportDesigns({entries[0], entries[1]}, target.path(), GalleryExport::DiagramPdf);
        QVERIFY2(pdf.isEmpty(), qPrintable(pdf.join(QLatin1Char('\n'))));
        QFile page(target.path() + QStringLiteral("/brilliant_0000.pdf"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QCOMPARE(page.read(5), QByteArray("%PDF-"));
    }

    // A pipe and a folder named as thumbnails, and a design that fails when
    // read: every tile is read, the scan ends and the window closes.
    void pipesFoldersAndReadErrorsNeitherHangNorStopTheGallery() {
        QTemporaryDir folder, cache;
        const std::string f = QFile::encodeName(folder.path()).toStdString();
        testing::writeGeneratedDesigns(f, 2);  // brilliant_0000.asc, brilliant_0001.asc
        QCOMPARE(::mkdir((f + "/brilliant_0001.thb").c_str(), 0700), 0);
        const bool mem = QFile::exists(QStringLiteral("/proc/self/mem"));
        if (mem) QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), folder.path() + QStringLiteral("/mem.asc")));
        const std::string pipe = f + "/brilliant_0000.thb";
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        {
            GalleryWindow window(folder.path(), {}, nullptr, cache.path());
            // Should a reader wait on the pipe, a writer that comes and goes
            // lets it go before the window is dropped, so that a regression
            // fails here instead of freezing.
            const auto releasePipe = qScopeGuard([&] {
                for (int i = 0; i < 100; ++i) {
                    const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
                    if (fd < 0) break;
                    ::close(fd);
                }
            });
            QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished(), SCAN_TIMEOUT_MS);
            QCOMPARE(window.model()->rowCount(), mem ? 3 : 2);
            for (const GalleryTile& tile : window.model()->tiles()) {
                QVERIFY(tile.read);
                if (tile.name == QStringLiteral("mem.asc"))
                    QVERIFY(!tile.figures.ok() && !tile.figures.error.empty());
                else
                    QVERIFY2(tile.figures.ok(), tile.figures.error.c_str());
            }
        }
    }
};

BREVIX_WIDGET_TEST(GalleryTest)
#include "gallery_test.moc"
