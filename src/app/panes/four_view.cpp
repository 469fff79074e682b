#include "app/panes/four_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/clipboard_picture.h"
#include "app/command_table.h"
#include "app/panes/ray_shooting.h"
#include "app/qt_canvas.h"
#include "document/gem_doc.h"
#include "platform/messages.h"
#include "views/four_view.h"
#include "views/ray_shooting.h"
#include "views/view_style.h"

namespace brevix {

CFourView::CFourView(CGemDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("CFourView"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    // The right button shoots rays from the hovered pane, or the one under the pointer.
    new RayShooting(doc_, this, [this](Stone& stone, int x, int y) {
        return shootRay(stone, panes_, pick_.lastHoverPane, x, y);
    });
}

void CFourView::update() {
    pictureStale_ = true;
    QWidget::update();
}

void CFourView::draw(Canvas& canvas, QSize size, bool printing) {
    FourViewOptions options;
    options.hiddenLines = doc_.hiddenLines;
    options.printing = printing;
    options.zoomed = zoomed_;
    options.zoomPane = zoomPane_;
    // A picture's panes are its own; picking goes on with the screen's.
    std::vector<View> pictureOnly;
    drawFourView(viewStone_.refresh(doc_.stone()), canvas, {0, 0, size.width(), size.height()}, options,
                 printing ? pictureOnly : panes_);
}

void CFourView::paintEvent(QPaintEvent*) {
    ++paints_;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (pictureStale_ || picture_.size() != pixels) {
        picture_ = QPixmap(pixels);
        picture_.setDevicePixelRatio(ratio);
        QPainter painter(&picture_);
        QtCanvas canvas(painter);
        draw(canvas, size(), false);
        pictureStale_ = false;
        // A new picture: nothing of the hover survives it.
        pick_.forget();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    for (const View& pane : panes_) drawPreviewOverlay(painter, pane, overlay_);
    QtCanvas canvas(painter);
    pick_.drawOverlay(canvas);
}

void CFourView::keyPressEvent(QKeyEvent* event) {
    // Letters work without a modifier, as on the spin view.
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && pickKey(event->key())) return;
    QWidget::keyPressEvent(event);
}

void CFourView::mouseMoveEvent(QMouseEvent* event) {
    hoverAt(event->position(), event->modifiers());
    QWidget::mouseMoveEvent(event);
}

void CFourView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) buttonDown_ = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void CFourView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && leftReleasedAt(event->position().toPoint())) return;
    QWidget::mouseReleaseEvent(event);
}

void CFourView::copyToClipboard() {
    copyPictureToClipboard(size(), [this](Canvas& canvas, QSize size) {
        canvas.setFont(CLIPBOARD_FONT);
        draw(canvas, size, true);
    });
    showMessage("Four View copied to clipboard", Icon::Information);
}

}  // namespace brevix
