// Picking in the four view: hovering, clicking and the keys that act on
// what lies under the pointer. The decisions are the core's PickState; this
// file feeds it the mouse and shows what it decided.
#include <QPainter>

#include "app/command_table.h"
#include "app/dialogs/pick_dialog_flow.h"
#include "app/message_box_sink.h"
#include "app/panes/four_view.h"
#include "document/gem_doc.h"

namespace brevix {

namespace {

// The Zoom command that enlarges a pane.
int zoomCommandOf(int pane) {
    switch (pane) {
    case 1: return ID_ZOOM_SIDE;
    case 2: return ID_ZOOM_BOTTOM;
    case 3: return ID_ZOOM_END;
    default: return ID_ZOOM_TOP;
    }
}

}  // namespace

void CFourView::hoverAt(QPointF at, Qt::KeyboardModifiers modifiers) {
    const std::string text =
        pick_.hover(viewStone_.refresh(doc_.stone()), panes_, at.x(), at.y(), modifiers & Qt::ShiftModifier,
                    modifiers & Qt::ControlModifier);
    setCursor(pick_.pickKind == PickGearLabel ? Qt::PointingHandCursor : Qt::CrossCursor);
    if (onStatusText) onStatusText(fromCore(text));
    // Only the marks change: the picture of the stone is kept.
    QWidget::update();
}

bool CFourView::leftReleasedAt(QPoint at) {
    // A release away from the press is a drag, not a click: nothing happens.
    if (!isClick(buttonDown_.x(), buttonDown_.y(), at.x(), at.y())) return true;
    if (pick_.pickKind == PickNone) return false;
    pick_.clicked();
    const int pane = zoomed_ ? zoomPane_ : pick_.pickPane;
    Vec3 point = pick_.pickPoint;
    const bool zoom = runPickDialog(this, doc_, pick_.pickKind, pick_.pickIndex, point, zoomed_);
    pick_.pickPoint = point;
    if (zoom) toggleZoom(pane);
    return true;
}

void CFourView::toggleZoom(int pane) {
    if (!onCommand) return;
    onCommand(zoomed_ ? ID_ZOOM_OUT : zoomCommandOf(pane));
}

bool CFourView::pickKey(int key) {
    switch (key) {
    case Qt::Key_A:
        if (onCommand) onCommand(ID_EDIT_ANGLE);
        return true;
    case Qt::Key_I:
        if (onCommand) onCommand(ID_EDIT_INDEX);
        return true;
    case Qt::Key_D:
        if (onCommand) onCommand(ID_RAYS_ERASE);
        return true;
    case Qt::Key_C:
        pick_.toggleCrosshair();
        QWidget::update();
        return true;
    case Qt::Key_L:
        if (onCommand) onCommand(ID_FILE_PRINT_PREVIEW);
        return true;
    default:
        return false;
    }
}

}  // namespace brevix
