#include "app/gallery/gallery_model.h"

#include <QFileInfo>
#include <QPainter>

#include "app/qt_canvas.h"
#include "views/four_view.h"
#include "views/stone_drawing.h"
#include "views/view_style.h"

namespace brevix {

void GalleryModel::setEntries(std::vector<collection::DesignEntry> entries) {
    beginResetModel();
    tiles_.clear();
    tiles_.reserve(entries.size());
    for (collection::DesignEntry& e : entries) {
        GalleryTile tile;
        if (e.inDatabase())
            tile.name = QString::fromStdString(e.name.empty() ? e.code : e.name + " (" + e.code + ")");
        else
            tile.name = QFileInfo(QString::fromStdString(e.path)).fileName();
        tile.entry = std::move(e);
        tile.figures.file = tile.entry.id();
        if (!tile.entry.problem.empty()) {
            tile.read = true;
            tile.figures.error = tile.entry.problem;
        }
        tiles_.push_back(std::move(tile));
    }
    endResetModel();
}

void GalleryModel::setFacts(int row, collection::DesignFigures figures, const std::shared_ptr<Stone>& stone) {
    if (row < 0 || row >= rowCount()) return;
    GalleryTile& tile = tiles_[static_cast<size_t>(row)];
    tile.read = true;
    tile.figures.error = figures.error;
    tile.figures.warning = figures.warning;
    tile.figures.facts = figures.facts;
    tile.figures.warnings = figures.warnings;
    if (stone) tile.picture = drawTopView(*stone, PICTURE_SIDE);
    Q_EMIT dataChanged(index(row), index(row));
}

void GalleryModel::setLight(int row, const collection::DesignFigures& figures) {
    if (row < 0 || row >= rowCount()) return;
    GalleryTile& tile = tiles_[static_cast<size_t>(row)];
    tile.lightKnown = true;
    tile.figures.fromCache = figures.fromCache;
    if (figures.ok()) {
        tile.figures.light = figures.light;
    } else {
        tile.figures.light.reset();
        tile.figures.error = figures.error;
    }
    Q_EMIT dataChanged(index(row), index(row));
}

void GalleryModel::forgetLight() {
    for (GalleryTile& tile : tiles_) {
        tile.lightKnown = false;
        tile.figures.light.reset();
    }
    if (!tiles_.empty()) Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}

void GalleryModel::setLightPicture(int row, QImage picture) {
    if (row < 0 || row >= rowCount()) return;
    tiles_[static_cast<size_t>(row)].lightPicture = std::move(picture);
    Q_EMIT dataChanged(index(row), index(row));
}

void GalleryModel::forgetLightPictures() {
    for (GalleryTile& tile : tiles_) tile.lightPicture = QImage();
    if (!tiles_.empty()) Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}

int GalleryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tiles_.size());
}

QVariant GalleryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const GalleryTile& tile = tiles_[static_cast<size_t>(index.row())];
    const collection::DesignFacts& facts = tile.figures.facts;
    const bool known = tile.read && tile.figures.ok();
    switch (role) {
    case Qt::DisplayRole:
    case NameRole: return tile.name;
    case Qt::ToolTipRole:
        return QString::fromStdString(tile.entry.id()) +
               (tile.figures.ok() ? QString() : QStringLiteral("\n") + QString::fromStdString(tile.figures.error)) +
               [&] {
                   QString text;
                   for (const std::string& w : tile.figures.warnings)
                       text += QStringLiteral("\nWarning: ") + QString::fromStdString(w);
                   return text;
               }();
    case TileRole: return QVariant::fromValue(reinterpret_cast<quintptr>(&tile));
    case HeadingRole: return QString::fromStdString(facts.heading);
    case FacetsRole: return known ? QVariant(facts.facets) : QVariant();
    case SymmetryRole: return known ? QVariant(facts.symmetry) : QVariant();
    case LengthWidthRole: return known && facts.lengthWidth > 0 ? QVariant(facts.lengthWidth) : QVariant();
    case IsoRole: return tile.figures.light ? QVariant(tile.figures.light->iso) : QVariant();
    case CosRole: return tile.figures.light ? QVariant(tile.figures.light->cos) : QVariant();
    case WindowingRole: return tile.figures.light ? QVariant(tile.figures.light->windowing) : QVariant();
    case ExtinctionRole: return tile.figures.light ? QVariant(tile.figures.light->extinction) : QVariant();
    case ContrastRole: return tile.figures.light ? QVariant(tile.figures.light->contrast) : QVariant();
    case WarningsRole: return known ? QVariant(int(tile.figures.warnings.size())) : QVariant();
    default: return {};
    }
}

QImage GalleryModel::drawTopView(const Stone& design, int side) {
    Stone stone(design);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QtCanvas canvas(painter);
    canvas.setPen(BLACK_PEN);
    canvas.setBrush(WHITE_BRUSH);
    View view;
    view.setDC(&canvas);
    setupFourViewPane(view, PANE_TOP, drawingSquare({0, 0, side, side}), true);
    view.setInteractive(false);
    canvas.setPen(HIDDEN_LINE_PEN);
    drawStonePanes(stone, std::span<View>(&view, 1), DRAW_SILHOUETTE | DRAW_NO_GEAR_LABELS);
    canvas.setPen(BLACK_PEN);
    drawStonePanes(stone, std::span<View>(&view, 1), DRAW_VISIBLE | DRAW_NO_GEAR_LABELS);
    return image;
}

}  // namespace brevix
