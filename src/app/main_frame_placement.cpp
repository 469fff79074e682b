// The main window's placement on screen and pane sizes, as stored and as restored. The commands
// and the rest of CMainFrame are in main_frame.cpp.
#include "app/main_frame.h"


#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QSplitter>

namespace brevix {

namespace {

// A window stored on a screen that is no longer there (a monitor unplugged,
// a smaller resolution) comes back at the top left of the main screen, no
// larger than that screen, so the user can always reach it.
void keepOnScreen(WindowPlacement& p) {
    QRect outer(QPoint(p.left, p.top), QSize(p.right - p.left, p.bottom - p.top));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(outer)) return;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return;
    const QRect room = primary->availableGeometry();
    outer = QRect(room.topLeft(), outer.size().boundedTo(room.size()));
    p.left = outer.left();
    p.top = outer.top();
    p.right = outer.left() + outer.width();
    p.bottom = outer.top() + outer.height();
}

}  // namespace

namespace {

QRect outerRect(const WindowPlacement& p) {
    return QRect(QPoint(p.left, p.top), QSize(p.right - p.left, p.bottom - p.top));
}

QMargins frameMargins(const QWidget& w) {
    const QRect frame = w.frameGeometry(), client = w.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

}  // namespace

void CMainFrame::applySettings(const FrameSettings& wanted) {
    FrameSettings settings = wanted;
    keepOnScreen(settings.placement);
    const QRect outer = outerRect(settings.placement);
    if (isMaximized() || isMinimized()) showNormal();
    // The placement is the outer rectangle, frame included; Qt sizes the
    // contents. Before the window manager has framed the window its frame
    // is not known: the size is set again once it is (settlePlacement).
    const QMargins frame = frameMargins(*this);
    move(outer.topLeft());
    resize(outer.size().shrunkBy(frame));
    placementPending_ = frame.isNull();
    normalOuter_ = outer;
    settings_ = settings;
    applyPaneSizes();
}

void CMainFrame::fitPlacementAfterShow() { settlePlacement(); }

void CMainFrame::settlePlacement() {
    if (!isVisible()) return;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
    // Without a frame yet (or ever: no window manager) the window stands
    // exactly where it was placed.
    const QMargins frame = frameMargins(*this);
    if (placementPending_ && placementApplied_ && !frame.isNull()) {
        placementPending_ = false;
        const QRect outer = outerRect(settings_.placement);
        if (frameGeometry() != outer) {
            resize(outer.size().shrunkBy(frame));
            move(outer.topLeft());
        }
        paneSizesPending_ = true;
    }
    // A splitter scales the sizes it is given to the room it has: they are
    // given again once the window has the size they were stored with.
    if (paneSizesPending_ && frameGeometry().size() == outerRect(settings_.placement).size()) {
        paneSizesPending_ = false;
        applyPaneSizes();
    }
    // What is stored when the window closes maximised: the rectangle it had
    // last in its normal state, read from the window itself, not rebuilt
    // from a maximised frame whose borders differ.
    normalOuter_ = frameGeometry();
}

namespace {

// The first pane gets its size as stored and the second what room is left:
// a splitter given sizes that do not add up to its room would scale both,
// and a window a little larger than the one the sizes were stored in would
// then never show them.
void setPaneSizes(QSplitter& splitter, int first, int second) {
    const int room = (splitter.orientation() == Qt::Horizontal ? splitter.width() : splitter.height()) -
                     splitter.handleWidth();
    // Less room than they add up to: both shrink in proportion.
    if (room > first + second) second = room - first;
    splitter.setSizes({first, second});
}

}  // namespace

void CMainFrame::applyPaneSizes() {
    // A splitter scales sizes it is given to the room it has, so each one
    // gets its sizes only once the splitter around it has settled: the
    // outer one first.
    if (layout()) layout()->activate();
    setPaneSizes(*splitterA_, settings_.splitterA[0], settings_.splitterA[1]);
    setPaneSizes(*splitterB_, settings_.splitterB[0], settings_.splitterB[1]);
    setPaneSizes(*splitterC_, settings_.splitterC[0], settings_.splitterC[1]);
}

void CMainFrame::showAsPlaced() {
    show();
    fitPlacementAfterShow();
    if (settings_.startMaximised) showMaximized();
}

FrameSettings CMainFrame::currentSettings() const {
    FrameSettings s = settings_;
    WindowPlacement& p = s.placement;
    p.length = 44;
    // While the window is not in its normal state, the rectangle it had last
    // in that state (or was placed at).
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    const QRect outer = normal && isVisible() ? frameGeometry() : normalOuter_;
    p.showCmd = isMinimized() ? SW_MINIMISED : isMaximized() ? SW_MAXIMISED : SW_NORMAL;
    // Restoring a minimised window that was maximised brings it back maximised.
    p.flags = (isMinimized() && (windowState() & Qt::WindowMaximized)) ? 2 : 0;
    p.left = outer.left();
    p.top = outer.top();
    p.right = outer.left() + outer.width();
    p.bottom = outer.top() + outer.height();
    const QList<int> c = splitterC_->sizes(), b = splitterB_->sizes(), a = splitterA_->sizes();
    s.splitterC = {c.value(0), c.value(1)};
    s.splitterB = {b.value(0), b.value(1)};
    s.splitterA = {a.value(0), a.value(1)};
    s.startMaximised = false;
    return s;
}

}  // namespace brevix
