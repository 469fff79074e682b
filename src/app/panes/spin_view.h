#pragma once
// The turning view: the stone from any direction in one square pane.
// Dragging turns it (azimuth and tilt), Shift-dragging spins the picture in
// its own plane, Space snaps the three angles to whole tens of degrees. The
// angles and the drawing are the core's; this widget feeds it the mouse.
#include <QWidget>
#include <functional>

#include "app/panes/preview_overlay.h"
#include "views/spin_view.h"
#include "views/view.h"
#include "views/view_stone.h"

namespace brevix {

class CGemDoc;
class Canvas;

// The spin view: the stone turned by the mouse.
class CSpinView : public QWidget {
    Q_OBJECT
public:
    explicit CSpinView(CGemDoc& doc, QWidget* parent = nullptr);
    // Paints so far (for tests that count what one change causes).
    int paints() const { return paints_; }

    const SpinAngles& angles() const { return control_.angles; }
    void setAngles(const SpinAngles& angles);

    // Draws onto `canvas`; returns the status-bar text when there is one.
    std::optional<std::string> draw(Canvas& canvas, QSize size, bool printing);
    void copyToClipboard();
    // The pending facets drawn over the stone (empty: none).
    void setPreviewOverlay(PreviewOverlay overlay) {
        overlay_ = std::move(overlay);
        update();
    }

    // Where the angles go ("%6.1f %6.1f %6.1f") and "Ready" when not dragging.
    std::function<void(const QString&)> onStatusText;
    // Key commands the view passes on (Angle, Index, erase rays, Print Preview).
    std::function<void(int commandId)> onCommand;

    QSize sizeHint() const override { return {250, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CGemDoc& doc_;
    SpinControl control_;
    View pane_;
    // What the pane draws: never the document's stone itself.
    ViewStone viewStone_;
    PreviewOverlay overlay_;
    int paints_ = 0;
};

}  // namespace brevix
