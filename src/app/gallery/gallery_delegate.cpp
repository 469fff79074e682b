#include "app/gallery/gallery_delegate.h"

#include <QApplication>
#include <QPainter>

#include "app/gallery/gallery_model.h"

namespace brevix {

QString tileFactsText(int facets, int gear, int symmetry, int mirror) {
    return QObject::tr("%1 facets, %2 gear, %3-fold%4")
        .arg(facets)
        .arg(gear)
        .arg(symmetry)
        .arg(mirror ? QObject::tr(" mirror") : QString());
}

QString tileLightText(double iso, double cos) {
    return QObject::tr("ISO %1%  COS %2%").arg(iso, 0, 'f', 1).arg(cos, 0, 'f', 1);
}

void GalleryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* tile = reinterpret_cast<const GalleryTile*>(index.data(GalleryModel::TileRole).value<quintptr>());
    if (!tile) return;
    painter->save();
    const QRect r = option.rect.adjusted(3, 3, -3, -3);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->setPen(selected ? palette.color(QPalette::Highlight) : QColor(200, 200, 200));
    painter->setBrush(selected ? palette.color(QPalette::Highlight).lighter(170) : palette.color(QPalette::Base));
    painter->drawRoundedRect(r, 4, 4);

    const int side = GalleryModel::PICTURE_SIDE;
    const QRect pictureRect(r.left() + (r.width() - side) / 2, r.top() + 4, side, side);
    const QImage& shown = tile->lightPicture.isNull() ? tile->picture : tile->lightPicture;
    if (!shown.isNull())
        painter->drawImage(pictureRect, shown);
    else
        painter->fillRect(pictureRect, QColor(245, 245, 245));
    // A design the figures warn about is marked, so a ranking does not hide
    // its fault (the tooltip lists the warnings).
    if (!tile->figures.warnings.empty()) {
        const QRect mark(pictureRect.right() - 17, pictureRect.top() + 2, 16, 16);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(200, 120, 0));
        painter->drawEllipse(mark);
        QFont markFont = option.font;
        markFont.setBold(true);
        painter->setFont(markFont);
        painter->setPen(Qt::white);
        painter->drawText(mark, Qt::AlignCenter, QStringLiteral("!"));
    }

    QFont bold = option.font;
    bold.setBold(true);
    const int line = QFontMetrics(option.font).height();
    QRect text(r.left() + 5, pictureRect.bottom() + 4, r.width() - 10, line);
    const auto draw = [&](const QString& s, const QFont& font, const QColor& colour) {
        painter->setFont(font);
        painter->setPen(colour);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(font).elidedText(s, Qt::ElideRight, text.width()));
        text.translate(0, line);
    };
    const QColor ink = palette.color(QPalette::Text), grey(110, 110, 110);
    draw(tile->name, bold, ink);
    const collection::DesignFigures& f = tile->figures;
    if (!f.ok()) {
        draw(QString::fromStdString(f.error), option.font, QColor(170, 0, 0));
    } else if (!tile->read) {
        draw(tr("reading..."), option.font, grey);
    } else {
        draw(QString::fromStdString(f.facts.heading), option.font, grey);
        draw(tileFactsText(f.facts.facets, f.facts.gear, f.facts.symmetry, f.facts.mirror), option.font, ink);
        if (f.light)
            draw(tileLightText(f.light->iso, f.light->cos), bold, ink);
        else
            draw(tr("scoring light..."), option.font, grey);
    }
    painter->restore();
}

}  // namespace brevix
