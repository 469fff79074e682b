#pragma once
// The four orthographic views of the stone (top, side, end, bottom) in one
// square, or one of them enlarged. The drawing is the core's; this widget
// supplies the painter, the zoom state and the clipboard copy.
#include <QWidget>
#include <functional>
#include <vector>

#include "views/view.h"

namespace brevix {

class CGemDoc;
class Canvas;

class CFourView : public QWidget {
    Q_OBJECT
public:
    explicit CFourView(CGemDoc& doc, QWidget* parent = nullptr);

    void setZoomed(bool zoomed) { zoomed_ = zoomed; }
    void setZoomPane(int pane) { zoomPane_ = pane; }
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

    // Key commands the view passes on to the main window (Print Preview).
    std::function<void(int commandId)> onCommand;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CGemDoc& doc_;
    bool zoomed_ = false;
    int zoomPane_ = 0;
    std::vector<View> panes_;
};

}  // namespace brevix
