#include "app/dialogs/readable_title.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace brevix {

void keepTitleReadable(QWidget& window) {
    // Frames draw titles in a bold face of about the application's size.
    QFont font = QApplication::font();
    font.setBold(true);
    const int title = QFontMetrics(font).horizontalAdvance(window.windowTitle());
    // The frame's icon and its three buttons share the title bar.
    constexpr int kFrameRoom = 150;
    window.setMinimumWidth(std::max(window.minimumWidth(), title + kFrameRoom));
}

}  // namespace brevix
