#pragma once
// The tiles of a gallery: one row per design of the collection, with what
// is known of it so far (its facts and picture once read, its light figures
// once scored).
#include <QAbstractListModel>
#include <QImage>
#include <memory>
#include <vector>

#include "collection/design_files.h"
#include "collection/figures.h"
#include "kernel/stone.h"

namespace brevix {

struct GalleryTile {
    collection::DesignEntry entry;
    QString name;              // file name, or the database's design name
    bool read = false;         // facts and picture are in
    collection::DesignFigures figures;
    QImage picture;
    bool lightKnown = false;   // figures.light holds this material's figures
    // The design's face-up picture in the tiles' lighting, shown instead of
    // `picture` when there is one.
    QImage lightPicture;
};

class GalleryModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        TileRole = Qt::UserRole + 1,  // const GalleryTile* as quintptr
        NameRole,
        HeadingRole,
        FacetsRole,
        SymmetryRole,
        IsoRole,
        CosRole,
        LengthWidthRole,
        WindowingRole,
        ExtinctionRole,
        ContrastRole,
        WarningsRole,  // how many design-figures warnings, once read
    };

    // Side in pixels of the pictures drawn for tiles.
    static constexpr int PICTURE_SIDE = 112;

    explicit GalleryModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setEntries(std::vector<collection::DesignEntry> entries);
    const std::vector<GalleryTile>& tiles() const { return tiles_; }
    const GalleryTile& tile(int row) const { return tiles_[static_cast<size_t>(row)]; }

    void setFacts(int row, collection::DesignFigures figures, const std::shared_ptr<Stone>& stone);
    void setLight(int row, const collection::DesignFigures& figures);
    // A new material: every tile's light is unknown again.
    void forgetLight();
    void setLightPicture(int row, QImage picture);
    // A new lighting or material for the tiles' pictures, or the top view again.
    void forgetLightPictures();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The top view of a stone, as a tile shows it; drawn from a copy, so the
    // stone read for the gallery is not written.
    static QImage drawTopView(const Stone& stone, int side);

private:
    std::vector<GalleryTile> tiles_;
};

}  // namespace brevix
