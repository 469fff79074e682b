#pragma once
// The right mouse button over a view shoots light rays into the stone: one
// when it goes down and one more at every move while it is held, which
// draws a fan. Installed on the four view and the spin view as an event
// filter, so the views' own mouse handling (picking, turning) stays theirs.
#include <QObject>
#include <functional>

#include "views/ray_shooting.h"
#include "views/view_stone.h"

class QWidget;

namespace brevix {

class CGemDoc;

class RayShooting : public QObject {
    Q_OBJECT
public:
    // Traces a ray from the pointer at (x, y) in the view, into a copy of the design.
    using Shoot = std::function<RayShot(Stone& stone, int x, int y)>;

    // Watches `view` (and is owned by it).
    RayShooting(CGemDoc& doc, QWidget* view, Shoot shoot);

    // The right button is down.
    bool rayDragging() const { return rayDragging_; }
    // Sounds a shot that found nothing: the toolkit's beep unless replaced.
    std::function<void()> beep;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void shootAt(int x, int y);

    CGemDoc& doc_;
    QWidget* view_;
    Shoot shoot_;
    // Tracing marks working fields of the facets it passes: it runs on this
    // copy, and only the paths it adds go to the design.
    ViewStone traced_;
    bool rayDragging_ = false;
};

}  // namespace brevix
