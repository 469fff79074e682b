#pragma once
// The turning view of Fit into Rough: the rough drawn translucent, the
// placed stone solid inside it and the spheres to avoid in red, turned by
// dragging (or by the dialog's slider) about the rough's centre.
#include <QWidget>
#include <vector>

#include "rough/rough_fit.h"

namespace brevix::roughfit {

class RoughView : public QWidget {
    Q_OBJECT
public:
    explicit RoughView(QWidget* parent = nullptr);

    // The rough's mesh sets the centre and scale; the stone may be empty.
    void setRough(rough::Mesh mesh);
    void setStone(rough::Mesh mesh);
    void setAvoid(std::vector<rough::Avoid> spheres);

    // Degrees: turning about the vertical, and tipping towards the viewer.
    double azimuth() const { return azimuth_; }
    double tilt() const { return tilt_; }
    void setAngles(double azimuth, double tilt);

    QSize sizeHint() const override { return {360, 360}; }
    QSize minimumSizeHint() const override { return {200, 200}; }

Q_SIGNALS:
    void azimuthChanged(double degrees);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    rough::Mesh rough_, stone_;
    std::vector<rough::Avoid> avoid_;
    Vec3 centre_;
    double radius_ = 1;
    double azimuth_ = 30, tilt_ = 25;
    QPoint dragFrom_;
};

}  // namespace brevix::roughfit
