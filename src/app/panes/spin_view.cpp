#include "app/panes/spin_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/clipboard_picture.h"
#include "app/command_table.h"
#include "app/message_box_sink.h"
#include "app/panes/ray_shooting.h"
#include "app/qt_canvas.h"
#include "document/gem_doc.h"
#include "platform/messages.h"
#include "views/ray_shooting.h"
#include "views/view_style.h"

namespace brevix {

CSpinView::CSpinView(CGemDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("CSpinView"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::SizeAllCursor);
    setMouseTracking(true);
    // The right button shoots rays as in the four view, from the one pane.
    new RayShooting(doc_, this, [this](Stone& stone, int x, int y) {
        return shootRayInPane(stone, pane_, x, y);
    });
}

void CSpinView::setAngles(const SpinAngles& angles) {
    control_.angles = angles;
    update();
}

std::optional<std::string> CSpinView::draw(Canvas& canvas, QSize size, bool printing) {
    SpinViewOptions options;
    options.hiddenLines = doc_.hiddenLines;
    options.printing = printing;
    View picturePane;
    return drawSpinView(viewStone_.refresh(doc_.stone()), canvas, {0, 0, size.width(), size.height()},
                        control_.angles, options, printing ? picturePane : pane_);
}

void CSpinView::paintEvent(QPaintEvent*) {
    ++paints_;
    QPainter painter(this);
    QtCanvas canvas(painter);
    const std::optional<std::string> status = draw(canvas, size(), false);
    drawPreviewOverlay(painter, pane_, overlay_);
    if (status && onStatusText) onStatusText(fromCore(*status));
}

void CSpinView::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    control_.buttonDown(p.x(), p.y(), event->modifiers() & Qt::ShiftModifier);
}

void CSpinView::mouseMoveEvent(QMouseEvent* event) {
    if (!doc_.stone()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (!control_.dragging) {
        if (onStatusText) onStatusText(QStringLiteral("Ready"));
        return;
    }
    const QPoint p = event->position().toPoint();
    if (control_.drag(p.x(), p.y())) update();
}

void CSpinView::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    control_.buttonUp();
    update();
}

void CSpinView::keyPressEvent(QKeyEvent* event) {
    int command = 0;
    switch (event->key()) {
    case Qt::Key_Space:
        control_.snap();
        update();
        return;
    case Qt::Key_A: command = ID_EDIT_ANGLE; break;
    case Qt::Key_D: command = ID_RAYS_ERASE; break;
    case Qt::Key_I: command = ID_EDIT_INDEX; break;
    case Qt::Key_L: command = ID_FILE_PRINT_PREVIEW; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (onCommand) onCommand(command);
}

void CSpinView::copyToClipboard() {
    copyPictureToClipboard(size(), [this](Canvas& canvas, QSize size) {
        canvas.setFont(CLIPBOARD_FONT);
        draw(canvas, size, true);
    });
    showMessage("Spin View copied to clipboard", Icon::Information);
}

}  // namespace brevix
