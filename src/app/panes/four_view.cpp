#include "app/panes/four_view.h"

#include <QKeyEvent>
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
    // The right button shoots rays from the pane under the pointer.
    new RayShooting(doc_, this, [this](Stone& stone, int x, int y) {
        return shootRay(stone, panes_, -1, x, y);
    });
}

void CFourView::draw(Canvas& canvas, QSize size, bool printing) {
    FourViewOptions options;
    options.hiddenLines = doc_.hiddenLines;
    options.printing = printing;
    options.zoomed = zoomed_;
    options.zoomPane = zoomPane_;
    // A picture's panes are its own; picking goes on with the screen's.
    std::vector<View> pictureOnly;
    drawFourView(doc_.stone(), canvas, {0, 0, size.width(), size.height()}, options,
                 printing ? pictureOnly : panes_);
}

void CFourView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter);
    draw(canvas, size(), false);
}

void CFourView::keyPressEvent(QKeyEvent* event) {
    // Letters work without a modifier, as on the spin view.
    if (event->key() == Qt::Key_L && onCommand) {
        onCommand(ID_FILE_PRINT_PREVIEW);
        return;
    }
    if (event->key() == Qt::Key_D && onCommand) {
        onCommand(ID_RAYS_ERASE);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CFourView::copyToClipboard() {
    copyPictureToClipboard(size(), [this](Canvas& canvas, QSize size) {
        canvas.setFont(CLIPBOARD_FONT);
        draw(canvas, size, true);
    });
    showMessage("Four View copied to clipboard", Icon::Information);
}

}  // namespace brevix
