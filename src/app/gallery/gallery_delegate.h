#pragma once
// How one tile looks: the picture, the name, the heading's first line, the
// facets, gear and symmetry, and the brightness once it is known.
#include <QStyledItemDelegate>

namespace brevix {

class GalleryDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int TILE_WIDTH = 190, TILE_HEIGHT = 196;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {TILE_WIDTH, TILE_HEIGHT};
    }
};

// The tile's lines of text below its name, as the tile shows them.
QString tileFactsText(int facets, int gear, int symmetry, int mirror);
QString tileLightText(double iso, double cos);

}  // namespace brevix
