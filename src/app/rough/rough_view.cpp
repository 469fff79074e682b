#include "app/rough/rough_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace brevix::roughfit {

namespace {

// Past this many triangles a scan is drawn thinned out: painting a million
// translucent triangles at every turn would stall the window.
constexpr size_t DRAWN_ROUGH_TRIANGLES = 40000;

struct ViewTurn {
    double ca, sa, ct, st;
    // About the vertical (z), then tipped about the screen's horizontal.
    Vec3 operator()(Vec3 p) const {
        const double x = ca * p.x - sa * p.y, y = sa * p.x + ca * p.y;
        return {x, ct * y - st * p.z, st * y + ct * p.z};
    }
};

struct DrawnFace {
    QPolygonF corners;
    double depth;  // larger: farther from the viewer
    QColor colour;
};

QColor shadedRough(Vec3 normal, QColor base) {
    // Lit from above and in front, over the viewer's left shoulder.
    const double lit = 0.4 + 0.6 * std::abs(-0.35 * normal.x - 0.6 * normal.y + 0.72 * normal.z);
    return QColor::fromRgbF(float(base.redF() * lit), float(base.greenF() * lit), float(base.blueF() * lit),
                            base.alphaF());
}

void addRoughViewFaces(const rough::Mesh& mesh, const ViewTurn& turn, Vec3 centre, double scale, QPointF middle,
                       QColor base, size_t step, std::vector<DrawnFace>& faces) {
    for (size_t t = 0; t < mesh.triangles.size(); t += step) {
        const auto& tri = mesh.triangles[t];
        Vec3 v[3];
        for (int i = 0; i < 3; ++i) v[i] = turn(mesh.points[tri[i]] - centre);
        Vec3 normal = cross(v[1] - v[0], v[2] - v[0]);
        const double size = length(normal);
        if (size <= 0) continue;
        normal = normal * (1 / size);
        DrawnFace face;
        for (const Vec3& p : v) face.corners << QPointF(middle.x() + p.x * scale, middle.y() - p.z * scale);
        face.depth = (v[0].y + v[1].y + v[2].y) / 3;
        face.colour = shadedRough(normal, base);
        faces.push_back(std::move(face));
    }
}

}  // namespace

RoughView::RoughView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("roughView"));
    setMinimumSize(minimumSizeHint());
    setCursor(Qt::OpenHandCursor);
}

void RoughView::setRough(rough::Mesh mesh) {
    rough_ = std::move(mesh);
    if (!rough_.points.empty()) {
        Vec3 low = rough_.points.front(), high = low;
        for (const Vec3& p : rough_.points) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
        centre_ = (low + high) * 0.5;
        radius_ = std::max(length(high - low) * 0.5, 1e-9);
    }
    update();
}

void RoughView::setStone(rough::Mesh mesh) {
    stone_ = std::move(mesh);
    update();
}

void RoughView::setAvoid(std::vector<rough::Avoid> spheres) {
    avoid_ = std::move(spheres);
    update();
}

void RoughView::setAngles(double azimuth, double tilt) {
    azimuth = std::fmod(azimuth, 360.0);
    if (azimuth < 0) azimuth += 360;
    tilt = std::clamp(tilt, -90.0, 90.0);
    const bool turned = azimuth != azimuth_;
    azimuth_ = azimuth;
    tilt_ = tilt;
    update();
    if (turned) Q_EMIT azimuthChanged(azimuth_);
}

void RoughView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(250, 250, 247));
    if (rough_.triangles.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("No rough yet"));
        return;
    }
    const double a = azimuth_ * PI / 180, t = tilt_ * PI / 180;
    const ViewTurn turn{std::cos(a), std::sin(a), std::cos(t), std::sin(t)};
    const double scale = 0.46 * std::min(width(), height()) / radius_;
    const QPointF middle(width() / 2.0, height() / 2.0);

    std::vector<DrawnFace> faces;
    const size_t step = std::max<size_t>(1, rough_.triangles.size() / DRAWN_ROUGH_TRIANGLES + 1);
    addRoughViewFaces(rough_, turn, centre_, scale, middle, QColor(168, 128, 88, 64), step, faces);
    addRoughViewFaces(stone_, turn, centre_, scale, middle, QColor(70, 140, 235, 255), 1, faces);
    std::sort(faces.begin(), faces.end(), [](const DrawnFace& p, const DrawnFace& q) { return p.depth > q.depth; });

    // The spheres after the faces behind their centre, before those in front.
    std::vector<std::pair<double, const rough::Avoid*>> spheres;
    for (const rough::Avoid& s : avoid_) spheres.push_back({turn(s.centre - centre_).y, &s});
    std::sort(spheres.begin(), spheres.end(), [](const auto& p, const auto& q) { return p.first > q.first; });
    auto sphere = spheres.begin();
    auto drawSpheresBehind = [&](double depth) {
        for (; sphere != spheres.end() && sphere->first >= depth; ++sphere) {
            const Vec3 c = turn(sphere->second->centre - centre_);
            const double r = sphere->second->radius * scale;
            painter.setPen(QPen(QColor(200, 30, 30), 1.2));
            painter.setBrush(QColor(220, 40, 40, 120));
            painter.drawEllipse(QPointF(middle.x() + c.x * scale, middle.y() - c.z * scale), r, r);
        }
    };

    for (const DrawnFace& face : faces) {
        drawSpheresBehind(face.depth);
        const bool solid = face.colour.alpha() == 255;
        // The stone's facets are split into triangles: a pen of the fill's
        // own colour closes the hairline gaps antialiasing leaves between them.
        // The rough's own triangles faintly, as a scan shows its surface.
        painter.setPen(solid ? QPen(face.colour, 0.6) : QPen(QColor(90, 66, 40, 34), 0.5));
        painter.setBrush(face.colour);
        painter.drawPolygon(face.corners);
    }
    drawSpheresBehind(-1e300);
}

void RoughView::mousePressEvent(QMouseEvent* event) {
    dragFrom_ = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void RoughView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint p = event->position().toPoint();
    const QPoint moved = p - dragFrom_;
    dragFrom_ = p;
    setAngles(azimuth_ + moved.x() * 0.5, tilt_ + moved.y() * 0.5);
}

void RoughView::mouseReleaseEvent(QMouseEvent*) { setCursor(Qt::OpenHandCursor); }

}  // namespace brevix::roughfit
