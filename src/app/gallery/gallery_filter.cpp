#include "app/gallery/gallery_filter.h"

#include "app/gallery/gallery_model.h"

namespace brevix {

QString GalleryFilter::keyName(Key key) {
    switch (key) {
    case Name: return tr("Name");
    case Facets: return tr("Facets");
    case Symmetry: return tr("Symmetry");
    case Iso: return tr("ISO brightness");
    case Cos: return tr("COS brightness");
    case LengthWidth: return tr("L/W");
    case Windowing: return tr("Windowing");
    case Extinction: return tr("Extinction");
    case Contrast: return tr("Contrast");
    case Warnings: return tr("Warnings");
    case KEY_COUNT: break;
    }
    return {};
}

int GalleryFilter::roleOf(Key key) {
    switch (key) {
    case Facets: return GalleryModel::FacetsRole;
    case Symmetry: return GalleryModel::SymmetryRole;
    case Iso: return GalleryModel::IsoRole;
    case Cos: return GalleryModel::CosRole;
    case LengthWidth: return GalleryModel::LengthWidthRole;
    case Windowing: return GalleryModel::WindowingRole;
    case Extinction: return GalleryModel::ExtinctionRole;
    case Contrast: return GalleryModel::ContrastRole;
    case Warnings: return GalleryModel::WarningsRole;
    default: return GalleryModel::NameRole;
    }
}

GalleryFilter::GalleryFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setDynamicSortFilter(true);
    sort(0);
}

void GalleryFilter::setSearch(const QString& text) {
    search_ = text.trimmed();
    invalidateFilter();
}

void GalleryFilter::setRange(Key key, std::optional<double> low, std::optional<double> high) {
    rangeKey_ = key;
    low_ = low;
    high_ = high;
    invalidateFilter();
}

void GalleryFilter::sortBy(Key key, Qt::SortOrder order) {
    sortKey_ = key;
    invalidate();
    sort(0, order);
}

void GalleryFilter::setHideWarnings(bool hide) {
    hideWarnings_ = hide;
    invalidateFilter();
}

bool GalleryFilter::filterAcceptsRow(int row, const QModelIndex& parent) const {
    const QModelIndex index = sourceModel()->index(row, 0, parent);
    if (hideWarnings_ && index.data(GalleryModel::WarningsRole).toInt() > 0) return false;
    if (!search_.isEmpty()) {
        const QString name = index.data(GalleryModel::NameRole).toString();
        const QString heading = index.data(GalleryModel::HeadingRole).toString();
        if (!name.contains(search_, Qt::CaseInsensitive) && !heading.contains(search_, Qt::CaseInsensitive))
            return false;
    }
    if (rangeKey_ != Name && (low_ || high_)) {
        const QVariant value = index.data(roleOf(rangeKey_));
        if (!value.isValid()) return false;
        const double v = value.toDouble();
        if ((low_ && v < *low_) || (high_ && v > *high_)) return false;
    }
    return true;
}

bool GalleryFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QString leftName = left.data(GalleryModel::NameRole).toString();
    const QString rightName = right.data(GalleryModel::NameRole).toString();
    if (sortKey_ != Name) {
        const QVariant a = left.data(roleOf(sortKey_)), b = right.data(roleOf(sortKey_));
        // Unknown figures go to the end whichever way the sort runs.
        const bool descending = sortOrder() == Qt::DescendingOrder;
        if (a.isValid() != b.isValid()) return a.isValid() != descending;
        if (a.isValid() && a.toDouble() != b.toDouble()) return a.toDouble() < b.toDouble();
    }
    const int byName = QString::localeAwareCompare(leftName, rightName);
    if (byName != 0) return byName < 0;
    return left.row() < right.row();
}

}  // namespace brevix
