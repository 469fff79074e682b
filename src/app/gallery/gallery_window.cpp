#include "app/gallery/gallery_window.h"

#include <algorithm>
#include <iterator>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gallery/gallery_delegate.h"
#include "app/gallery/gallery_filter.h"
#include "app/gallery/gallery_model.h"
#include "optics/materials.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"

namespace brevix {

GalleryWindow::GalleryWindow(const QString& folder, OpenDesign open, QWidget* parent, const QString& cacheFolder)
    : QWidget(parent, Qt::Window), folder_(folder), cacheFolder_(cacheFolder), open_(std::move(open)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Gallery - %1").arg(QDir::toNativeSeparators(folder)));
    if (cacheFolder_.isEmpty()) cacheFolder_ = QString::fromStdString(collection::userCacheFolder());
    model_ = new GalleryModel(this);
    filter_ = new GalleryFilter(this);
    filter_->setSourceModel(model_);
    buildControls();
    resize(1000, 720);

    // The folder is searched on the scan's thread (a large tree, or one of
    // many links, takes a while); the tiles come as soon as it is done, with
    // their names, and the scan fills them in.
    startScan(true);
}

GalleryWindow::~GalleryWindow() {
    pictures_.reset();
    scan_.reset();
}

void GalleryWindow::buildControls() {
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(tr("Search names and headings"));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::textChanged, filter_, &GalleryFilter::setSearch);

    sortBox_ = new QComboBox(this);
    rangeKey_ = new QComboBox(this);
    for (int k = 0; k < GalleryFilter::KEY_COUNT; ++k) {
        sortBox_->addItem(GalleryFilter::keyName(GalleryFilter::Key(k)));
        if (k != GalleryFilter::Name) rangeKey_->addItem(GalleryFilter::keyName(GalleryFilter::Key(k)), k);
    }
    descending_ = new QCheckBox(tr("Descending"), this);
    hideWarnings_ = new QCheckBox(tr("Hide designs with warnings"), this);
    connect(hideWarnings_, &QCheckBox::toggled, filter_, &GalleryFilter::setHideWarnings);
    const auto resort = [this] { sortTiles(sortBox_->currentIndex(), descending_->isChecked()); };
    connect(sortBox_, &QComboBox::currentIndexChanged, this, resort);
    connect(descending_, &QCheckBox::toggled, this, resort);

    low_ = new QDoubleSpinBox(this);
    high_ = new QDoubleSpinBox(this);
    for (QDoubleSpinBox* box : {low_, high_}) {
        box->setRange(0, 10000);
        box->setDecimals(2);
        box->setSpecialValueText(tr("any"));
    }
    connect(rangeKey_, &QComboBox::currentIndexChanged, this, [this] { applyRange(); });
    connect(low_, &QDoubleSpinBox::valueChanged, this, [this] { applyRange(); });
    connect(high_, &QDoubleSpinBox::valueChanged, this, [this] { applyRange(); });

    material_ = new QComboBox(this);
    material_->addItem(tr("Each design's own index"));
    for (const optics::Material& m : optics::materials()) material_->addItem(QString::fromStdString(m.name));
    connect(material_, &QComboBox::currentIndexChanged, this, [this](int i) { setMaterial(i); });

    tiles_ = new QComboBox(this);
    tiles_->setObjectName(QStringLiteral("galleryTiles"));
    tiles_->addItem(tr("Top view"));
    for (optics::Environment e : optics::ALL_ENVIRONMENTS)
        tiles_->addItem(QString::fromLatin1(optics::environmentLabel(e)));
    tiles_->setToolTip(tr("What the tiles show: the top view, or each design face up in a lighting "
                          "(ASET: red light from high above, green from low, blue from the viewer, black leaking)"));
    connect(tiles_, &QComboBox::currentIndexChanged, this, [this](int i) { setTileLighting(i); });

    auto* exportPdf = new QPushButton(tr("Export Diagrams (PDF)..."), this);
    auto* exportStl = new QPushButton(tr("Export STL..."), this);
    connect(exportPdf, &QPushButton::clicked, this, [this] { exportSelected(GalleryExport::DiagramPdf); });
    connect(exportStl, &QPushButton::clicked, this, [this] { exportSelected(GalleryExport::Stl); });

    view_ = new QListView(this);
    view_->setViewMode(QListView::IconMode);
    view_->setResizeMode(QListView::Adjust);
    view_->setMovement(QListView::Static);
    view_->setUniformItemSizes(true);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSpacing(2);
    view_->setItemDelegate(new GalleryDelegate(view_));
    view_->setModel(filter_);
    connect(view_, &QListView::doubleClicked, this, &GalleryWindow::openIndex);

    progress_ = new QProgressBar(this);
    status_ = new QLabel(this);

    auto* top = new QHBoxLayout;
    top->addWidget(search_, 2);
    top->addWidget(new QLabel(tr("Sort by"), this));
    top->addWidget(sortBox_);
    top->addWidget(descending_);
    top->addWidget(hideWarnings_);
    top->addSpacing(12);
    top->addWidget(new QLabel(tr("Show"), this));
    top->addWidget(rangeKey_);
    top->addWidget(new QLabel(tr("from"), this));
    top->addWidget(low_);
    top->addWidget(new QLabel(tr("to"), this));
    top->addWidget(high_);
    auto* second = new QHBoxLayout;
    second->addWidget(new QLabel(tr("Material"), this));
    second->addWidget(material_);
    second->addSpacing(12);
    second->addWidget(new QLabel(tr("Tiles"), this));
    second->addWidget(tiles_);
    second->addStretch(1);
    second->addWidget(exportPdf);
    second->addWidget(exportStl);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(progress_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(second);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
}

optics::LightSettings GalleryWindow::lightSettings() const {
    optics::LightSettings light;
    light.options.size = LIGHT_SIZE;
    const int m = material_->currentIndex();
    const auto list = optics::materials();
    if (m > 0 && m <= static_cast<int>(list.size())) light.material = list[static_cast<size_t>(m - 1)];
    return light;
}

void GalleryWindow::startScan(bool withFacts) {
    scan_.reset();
    const uint64_t generation = ++generation_;
    finished_ = false;
    // Until the search is done there are no tiles to keep: it starts again.
    if (!found_) withFacts = true;
    if (withFacts) factsDone_ = 0;
    lightDone_ = 0;
    progress_->setVisible(true);
    const auto update = [this, withFacts] {
        const int n = model_->rowCount();
        progress_->setRange(0, std::max(1, (withFacts ? 2 : 1) * n));
        progress_->setValue((withFacts ? factsDone_ : 0) + lightDone_);
        if (!found_)
            status_->setText(tr("Looking for designs"));
        else
            status_->setText(factsDone_ < n ? tr("Reading %1 of %2 designs").arg(factsDone_).arg(n)
                                            : tr("Scoring light: %1 of %2 designs").arg(lightDone_).arg(n));
    };
    update();

    std::vector<collection::DesignEntry> entries;
    if (found_) {
        entries.reserve(model_->tiles().size());
        for (const GalleryTile& t : model_->tiles()) entries.push_back(t.entry);
    }

    collection::CollectionScan::Callbacks callbacks;
    callbacks.found = [this, generation, update](collection::FoundDesigns found) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, update, found = std::move(found)]() mutable {
                if (generation != generation_) return;
                showAll(found.notes, messageSink());
                model_->setEntries(std::move(found.entries));
                found_ = true;
                update();
                startPictures();
            },
            Qt::QueuedConnection);
    };
    callbacks.facts = [this, generation, update](size_t i, collection::DesignFigures f, std::shared_ptr<Stone> stone) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, update, i, f = std::move(f), stone = std::move(stone)]() mutable {
                if (generation != generation_) return;
                model_->setFacts(static_cast<int>(i), std::move(f), stone);
                ++factsDone_;
                update();
            },
            Qt::QueuedConnection);
    };
    callbacks.light = [this, generation, update](size_t i, collection::DesignFigures f) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, update, i, f = std::move(f)] {
                if (generation != generation_) return;
                model_->setLight(static_cast<int>(i), f);
                ++lightDone_;
                update();
            },
            Qt::QueuedConnection);
    };
    callbacks.finished = [this, generation] {
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation != generation_) return;
                finished_ = true;
                progress_->setVisible(false);
                status_->setText(tr("%1 designs").arg(model_->rowCount()));
                Q_EMIT finished();
            },
            Qt::QueuedConnection);
    };
    const std::string cache = QFile::encodeName(cacheFolder_).toStdString();
    if (found_)
        scan_ = std::make_unique<collection::CollectionScan>(std::move(entries), lightSettings(), cache,
                                                             std::move(callbacks), withFacts);
    else
        scan_ = std::make_unique<collection::CollectionScan>(
            std::vector<std::string>{QFile::encodeName(folder_).toStdString()}, lightSettings(), cache,
            std::move(callbacks));
}

void GalleryWindow::sortTiles(int key, bool descending) {
    if (sortBox_->currentIndex() != key) sortBox_->setCurrentIndex(key);
    if (descending_->isChecked() != descending) descending_->setChecked(descending);
    filter_->sortBy(GalleryFilter::Key(key), descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void GalleryWindow::setMaterial(int index) {
    if (material_->currentIndex() != index) {
        material_->setCurrentIndex(index);  // comes back here through the signal
        return;
    }
    model_->forgetLight();
    // The facts stay; a scan still reading them starts again from the top.
    startScan(factsDone_ < model_->rowCount());
    startPictures();
}

void GalleryWindow::setTileLighting(int index) {
    if (tiles_->currentIndex() != index) {
        tiles_->setCurrentIndex(index);  // comes back here through the signal
        return;
    }
    startPictures();
}

void GalleryWindow::startPictures() {
    pictures_.reset();
    const uint64_t generation = ++picturesGeneration_;
    model_->forgetLightPictures();
    const int choice = tiles_->currentIndex();
    // The top view needs nothing made.
    picturesFinished_ = choice <= 0 || choice > int(std::size(optics::ALL_ENVIRONMENTS));
    // Before the search is done there are no tiles: it starts this again then.
    if (picturesFinished_ || !found_) return;
    std::vector<collection::DesignEntry> entries;
    entries.reserve(model_->tiles().size());
    for (const GalleryTile& t : model_->tiles()) entries.push_back(t.entry);
    const auto deliver = [this, generation](size_t i, optics::RgbPicture p) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, i, p = std::move(p)] {
                if (generation != picturesGeneration_) return;
                const QImage image(p.rgb.data(), p.width, p.height, p.width * 3, QImage::Format_RGB888);
                model_->setLightPicture(static_cast<int>(i), image.copy());
            },
            Qt::QueuedConnection);
    };
    const auto finished = [this, generation] {
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == picturesGeneration_) picturesFinished_ = true;
            },
            Qt::QueuedConnection);
    };
    pictures_ = std::make_unique<collection::TilePictures>(std::move(entries), lightSettings(),
                                                           optics::ALL_ENVIRONMENTS[choice - 1],
                                                           GalleryModel::PICTURE_SIDE, deliver, finished);
}

void GalleryWindow::applyRange() {
    const auto key = GalleryFilter::Key(rangeKey_->currentData().toInt());
    const auto bound = [](QDoubleSpinBox* box) {
        return box->value() == box->minimum() ? std::nullopt : std::optional<double>(box->value());
    };
    filter_->setRange(key, bound(low_), bound(high_));
}

void GalleryWindow::openIndex(const QModelIndex& index) {
    const QModelIndex source = filter_->mapToSource(index);
    if (!source.isValid() || !open_) return;
    open_(model_->tile(source.row()).entry);
}

std::vector<collection::DesignEntry> GalleryWindow::selectedEntries() const {
    QModelIndexList rows = view_->selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<collection::DesignEntry> entries;
    for (const QModelIndex& index : rows) {
        const QModelIndex source = filter_->mapToSource(index);
        if (source.isValid() && model_->tile(source.row()).entry.problem.empty())
            entries.push_back(model_->tile(source.row()).entry);
    }
    return entries;
}

void GalleryWindow::exportSelected(GalleryExport kind) {
    const auto entries = selectedEntries();
    if (entries.empty()) {
        QMessageBox::information(this, windowTitle(), tr("Select the designs to export first."));
        return;
    }
    const QString target = QFileDialog::getExistingDirectory(this, tr("Export %1 designs to").arg(entries.size()),
                                                             folder_);
    if (target.isEmpty()) return;
    const QStringList failures = exportDesigns(entries, target, kind);
    if (failures.isEmpty())
        status_->setText(tr("%1 designs exported to %2").arg(entries.size()).arg(QDir::toNativeSeparators(target)));
    else
        QMessageBox::warning(this, windowTitle(),
                             tr("%1 of %2 designs could not be exported:\n%3")
                                 .arg(failures.size())
                                 .arg(entries.size())
                                 .arg(failures.join(QLatin1Char('\n'))));
}

}  // namespace brevix
