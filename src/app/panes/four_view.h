#pragma once
// The four orthographic views of the stone (top, side, end, bottom) in one
// square, or one of them enlarged. The drawing is the core's; this widget
// supplies the painter, the zoom state and the clipboard copy.
#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/panes/preview_overlay.h"
#include "views/hover.h"
#include "views/view.h"
#include "views/view_stone.h"

namespace brevix {

class CGemDoc;
class Canvas;

// The four views: top, side, end and bottom of the stone.
class CFourView : public QWidget {
    Q_OBJECT
public:
    explicit CFourView(CGemDoc& doc, QWidget* parent = nullptr);
    // Paints so far (for tests that count what one change causes).
    int paints() const { return paints_; }

    void setZoomed(bool zoomed) {
        zoomed_ = zoomed;
        pictureStale_ = true;
    }
    void setZoomPane(int pane) {
        zoomPane_ = pane;
        pictureStale_ = true;
    }
    bool zoomed() const { return zoomed_; }
    int zoomPane() const { return zoomPane_; }

    // Draws the picture onto `canvas` in the client rectangle of `size`;
    // `printing` leaves out the background and the origin marks and adds
    // the corner marks.
    void draw(Canvas& canvas, QSize size, bool printing);

    // Edit > Copy: the picture as SVG and PNG on the clipboard.
    void copyToClipboard();

    // The panes of the last paint, with their projections.
    const std::vector<View>& panes() const { return panes_; }

    QSize sizeHint() const override { return {500, 500}; }

    // Key commands the view passes on to the main window (Print Preview,
    // Angle, Index, Erase Rays, the zoom commands of the pick dialogs).
    std::function<void(int commandId)> onCommand;
    // What lies under the pointer, for the status bar.
    std::function<void(const QString& text)> onStatusText;

    // Every request to draw the stone anew comes through here (the document's
    // updates, the zoom); a hover only repaints its marks over the picture
    // kept from the last drawing.
    void update();

    // The pending facets drawn over the picture (empty: none).
    void setPreviewOverlay(PreviewOverlay overlay) {
        overlay_ = std::move(overlay);
        QWidget::update();
    }
    const PreviewOverlay& previewOverlay() const { return overlay_; }

    // ---- picking (four_view_picking.cpp) ----
    const PickState& pickState() const { return pick_; }
    // A mouse move to `at`: pick, highlight, marker, cursor and status text.
    void hoverAt(QPointF at, Qt::KeyboardModifiers modifiers);
    // The left button released at `at`: the dialog of what was picked when
    // it counts as a click. False when the default handler should have it.
    bool leftReleasedAt(QPoint at);
    // Keys that act without a modifier; false for the others.
    bool pickKey(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // From four panes into the pane of the pick, or back to four panes.
    void toggleZoom(int pane);

    CGemDoc& doc_;
    bool zoomed_ = false;
    int zoomPane_ = 0;
    std::vector<View> panes_;
    // What the panes draw and pick on: never the document's stone itself.
    ViewStone viewStone_;
    // The stone as last drawn, and whether the design has changed since.
    QPixmap picture_;
    bool pictureStale_ = true;
    PickState pick_;
    QPoint buttonDown_;
    PreviewOverlay overlay_;
    int paints_ = 0;
};

}  // namespace brevix
