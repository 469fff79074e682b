#pragma once
// "Search Datavue Database": search by example in the Datavue index, step
// through the matches with a preview of each design, and Open one. The
// search itself (files/datavue_search.h) is Qt-free; this is its window.
#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "document/datavue_open.h"
#include "files/datavue_search.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace brevix {

// The preview area: the four unzoomed panes of the thumbnail stone, or the
// metafile picture stretched over the area.
class DatavuePreview : public QWidget {
    Q_OBJECT
public:
    DatavuePreview(DatavueSearch& search, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DatavueSearch& search_;
};

class SearchDatavueDialog : public QDialog {
    Q_OBJECT
public:
    explicit SearchDatavueDialog(QWidget* parent = nullptr);

    // Asks where dlist.dbf is when the stored path does not lead to it; the
    // chosen path, or nothing on Cancel. The window installs a file dialog.
    std::function<std::optional<std::string>()> locateIndex;

    // Reads the index (asking for it when needed) and its fields. False when
    // the dialog has nothing to show and closes at once.
    bool prepare();

    // The whole command's dialog: prepare, run, and the design on Open.
    static DatavueDialogResult run(QWidget* parent);

    DatavueSearch& search() { return search_; }
    // The edit field of a database field (DV_NAME ... DV_REMARKS).
    QWidget* editField(int field) const { return edits_[field]; }
    QComboBox* shapeBox() const { return shape_; }
    QPushButton* findNextButton() const { return findNext_; }
    QPushButton* previousButton() const { return previous_; }
    QPushButton* openButton() const { return open_; }
    QLabel* previewCaption() const { return caption_; }
    DatavuePreview* preview() const { return preview_; }

    // The design of the record shown, after Open.
    std::optional<ExtractedDesign> takeDesign() { return std::move(design_); }

    void findAndShow(int step);

private:
    void fieldEdited(int field);
    void shapeChosen(int index);
    void outcome(DatavueSearch::Outcome what);
    // The fields, the Shape box, the preview and Open as the search has them.
    void showSearch();
    void openDesign();
    // Shows what the search noted in its last step.
    void showNotes();

    DatavueSearch search_;
    std::array<QWidget*, DV_EDIT_COUNT> edits_{};
    QComboBox* shape_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* open_ = nullptr;
    QLabel* caption_ = nullptr;
    DatavuePreview* preview_ = nullptr;
    std::optional<ExtractedDesign> design_;
};

// The open dialog "Search for dlist.dbf" on its own.
std::optional<std::string> locateIndexWithDialog(QWidget* parent);

}  // namespace brevix
