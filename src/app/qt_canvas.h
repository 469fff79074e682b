#pragma once
// The views' Canvas on a QPainter: the screen panes, the clipboard pictures
// (SVG and PNG) and anything else QPainter can paint on.
#include <QRegion>
#include <vector>

#include "views/canvas.h"

class QPainter;
class QFont;

namespace brevix {

class QtCanvas : public Canvas {
public:
    // The painter must outlive the canvas; its transform maps the views'
    // logical units to the device (identity on screen).
    explicit QtCanvas(QPainter& painter);

    void drawLine(Point from, Point to) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    void rectangle(const Rect& rect) override;
    void text(int x, int y, std::string_view s) override;
    Size textExtent(std::string_view s) override;
    void setClip(const Rect& rect) override;
    void clearClip() override;

    // The Qt font for a Canvas font at the given device scale (device pixels
    // per logical unit).
    static QFont qtFont(const Font& font, double scale);

protected:
    void saveClip() override;
    void restoreClip() override;

private:
    void applyPen();
    void applyBrush();
    void applyRasterOp();
    double deviceScale() const;

    QPainter& painter_;
    struct ClipState {
        bool enabled;
        QRegion region;
    };
    std::vector<ClipState> clips_;
};

}  // namespace brevix
