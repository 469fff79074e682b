#include "app/panes/remembered_dock.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <memory>

namespace brevix {

std::function<void()> placeRememberedDock(QMainWindow& frame, QDockWidget* dock, const DockPlace& stored, int width,
                                          QAction* toggle, std::function<void(const DockPlace&)> save) {
    frame.addDockWidget(static_cast<Qt::DockWidgetArea>(stored.dockArea), dock);
    dock->setFloating(stored.floating);
    dock->setVisible(stored.visible);
    // Beside the views rather than in their place.
    frame.resizeDocks({dock}, {width}, Qt::Horizontal);

    // A floating dock has no side: it keeps the one it came from.
    auto lastArea = std::make_shared<int32_t>(stored.dockArea);
    auto remember = [dock, &frame, lastArea, save = std::move(save)] {
        const Qt::DockWidgetArea area = frame.dockWidgetArea(dock);
        if (area != Qt::NoDockWidgetArea) *lastArea = static_cast<int32_t>(area);
        save({dock->isVisible(), dock->isFloating(), *lastArea});
    };
    QObject::connect(dock, &QDockWidget::dockLocationChanged, dock, remember);
    QObject::connect(dock, &QDockWidget::topLevelChanged, dock, remember);
    if (toggle) {
        toggle->setCheckable(true);
        toggle->setChecked(stored.visible);
        toggle->setEnabled(true);
        QObject::connect(toggle, &QAction::triggered, dock, [dock](bool on) {
            dock->setVisible(on);
            // A pane shown from the menu comes to the front of its tabs.
            if (on) dock->raise();
        });
    }
    // The visibility of a dock changes under the frame's own close too;
    // only the user's choices while the window is open are kept.
    QObject::connect(dock, &QDockWidget::visibilityChanged, dock, [dock, toggle, remember, &frame](bool) {
        if (!frame.isVisible() || frame.isMinimized()) return;
        if (toggle) toggle->setChecked(dock->isVisible());
        remember();
    });
    return remember;
}

}  // namespace brevix
