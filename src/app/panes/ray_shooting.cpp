#include "app/panes/ray_shooting.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "document/gem_doc.h"

namespace brevix {

RayShooting::RayShooting(CGemDoc& doc, QWidget* view, Shoot shoot)
    : QObject(view), beep([] { QApplication::beep(); }), doc_(doc), view_(view), shoot_(std::move(shoot)) {
    setObjectName(QStringLiteral("rayShooting"));
    view->installEventFilter(this);
}

bool RayShooting::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton) return false;
        rayDragging_ = true;
        const QPoint p = mouse->position().toPoint();
        shootAt(p.x(), p.y());
        return true;
    }
    case QEvent::MouseMove:
        // The view still sees the move (hover, turning): rays come first.
        if (rayDragging_) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            shootAt(p.x(), p.y());
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton) return false;
        rayDragging_ = false;
        return true;
    default:
        return false;
    }
}

void RayShooting::shootAt(int x, int y) {
    Stone* design = doc_.stone();
    if (!design) return;
    Stone& traced = *traced_.refresh(design);
    const RayShot shot = shoot_(traced, x, y);
    if (shot.beep && beep) beep();
    if (!shot.recorded) return;
    // The rays belong to the design: both views draw them and Erase Rays clears them.
    copyRays(*design, traced);
    view_->update();
    doc_.model().announce(SettingsChanged, view_);
}

}  // namespace brevix
