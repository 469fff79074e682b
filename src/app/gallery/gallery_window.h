#pragma once
// File > Open Folder...: a window of tiles, one per design below a folder,
// that fill in as a background scan reads them and scores their light in
// the gallery's material; the tiles show each design's top view, or its
// face-up picture in a lighting (the ASET picture...). Sorting, a range on
// one figure, a search over names and headings; a double click opens the
// design in the main window; the selected designs can be exported together.
#include <QWidget>
#include <functional>
#include <memory>

#include "app/gallery/gallery_export.h"
#include "collection/collection_scan.h"
#include "collection/tile_pictures.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;

namespace brevix {

class GalleryModel;
class GalleryFilter;

class GalleryWindow : public QWidget {
    Q_OBJECT
public:
    // The light of the tiles: the size of the picture each design is scored at.
    static constexpr int LIGHT_SIZE = 128;

    using OpenDesign = std::function<void(const collection::DesignEntry&)>;
    // `cacheFolder` empty: the user's cache folder.
    GalleryWindow(const QString& folder, OpenDesign open, QWidget* parent = nullptr,
                  const QString& cacheFolder = QString());
    ~GalleryWindow() override;

    const QString& folder() const { return folder_; }
    GalleryModel* model() const { return model_; }
    GalleryFilter* filter() const { return filter_; }
    QListView* view() const { return view_; }
    QComboBox* sortBox() const { return sortBox_; }
    QComboBox* materialBox() const { return material_; }
    QComboBox* tilesBox() const { return tiles_; }
    QLineEdit* searchField() const { return search_; }
    QProgressBar* progress() const { return progress_; }
    // True once the folder has been searched and there is a tile for each design found.
    bool searched() const { return found_; }
    // True once every tile has its facts and its light in the current material.
    bool scanFinished() const { return finished_; }
    // True once every tile has its picture in the tiles' lighting (at once
    // for the top view).
    bool picturesFinished() const { return picturesFinished_; }

    // Sorts as the sort box and the order box say.
    void sortTiles(int key, bool descending);
    // Index into the material box: 0 the design's own index, then the list's materials.
    void setMaterial(int index);
    // Index into the tiles box: 0 the top view, then the lightings of
    // optics::ALL_ENVIRONMENTS.
    void setTileLighting(int index);
    // The entries of the selected tiles, in the order shown.
    std::vector<collection::DesignEntry> selectedEntries() const;
    void exportSelected(GalleryExport kind);

Q_SIGNALS:
    void finished();

private:
    void buildControls();
    void startScan(bool withFacts);
    void applyRange();
    void openIndex(const QModelIndex& index);
    optics::LightSettings lightSettings() const;
    // The tiles' pictures in their lighting, made again from the start.
    void startPictures();

    QString folder_;
    QString cacheFolder_;
    OpenDesign open_;
    GalleryModel* model_ = nullptr;
    GalleryFilter* filter_ = nullptr;
    QListView* view_ = nullptr;
    QLineEdit* search_ = nullptr;
    QComboBox* sortBox_ = nullptr;
    QCheckBox* hideWarnings_ = nullptr;
    QCheckBox* descending_ = nullptr;
    QComboBox* rangeKey_ = nullptr;
    QDoubleSpinBox* low_ = nullptr;
    QDoubleSpinBox* high_ = nullptr;
    QComboBox* material_ = nullptr;
    QComboBox* tiles_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    std::unique_ptr<collection::CollectionScan> scan_;
    std::unique_ptr<collection::TilePictures> pictures_;
    uint64_t picturesGeneration_ = 0;
    bool picturesFinished_ = true;
    uint64_t generation_ = 0;
    int factsDone_ = 0, lightDone_ = 0;
    bool finished_ = false;
    bool found_ = false;
};

}  // namespace brevix
