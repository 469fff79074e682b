#pragma once
// A pane docked beside the views where the user last left it: shown or
// hidden, floating or docked, on which side. The View menu's toggle follows
// the dock, and the dock follows the toggle.
#include <QString>
#include <cstdint>
#include <functional>

class QAction;
class QDockWidget;
class QMainWindow;
class QWidget;

namespace brevix {

struct DockPlace {
    bool visible = false;
    bool floating = false;
    int32_t dockArea = 2;  // Qt's dock area number: 1 left, 2 right, 4 top, 8 bottom
};

// Adds `dock` (its widget set) to `frame` at `stored`, `width` pixels wide,
// and calls `save` with the dock's place whenever the user moves, floats,
// shows or hides it. Returns what saves the place now, for panes that keep
// settings of their own besides it.
std::function<void()> placeRememberedDock(QMainWindow& frame, QDockWidget* dock, const DockPlace& stored, int width,
                                          QAction* toggle, std::function<void(const DockPlace&)> save);

}  // namespace brevix
