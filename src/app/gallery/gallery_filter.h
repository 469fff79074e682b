#pragma once
// What the gallery shows of its tiles and in which order: a search over
// names and headings, a range on one figure, and a sort key. Tiles whose
// figure is not known yet sort last and pass a range only when it is open.
#include <QSortFilterProxyModel>
#include <optional>

namespace brevix {

class GalleryFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    // The figures one can sort and filter by, in the order the window lists them.
    enum Key { Name, Facets, Symmetry, Iso, Cos, LengthWidth, Windowing, Extinction, Contrast, Warnings, KEY_COUNT };
    static QString keyName(Key key);
    static int roleOf(Key key);

    explicit GalleryFilter(QObject* parent = nullptr);

    void setSearch(const QString& text);
    // Only tiles whose `key` lies in [low, high]; none: no range.
    void setRange(Key key, std::optional<double> low, std::optional<double> high);
    void sortBy(Key key, Qt::SortOrder order);
    // Hides the tiles whose design has design-figures warnings.
    void setHideWarnings(bool hide);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QString search_;
    Key rangeKey_ = Facets;
    std::optional<double> low_, high_;
    Key sortKey_ = Name;
    bool hideWarnings_ = false;
};

}  // namespace brevix
