#pragma once
// Pictures of the views for other programs: the same drawing as on screen,
// made once as SVG and once as PNG and put on the clipboard together.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <functional>

namespace brevix {

class Canvas;

using PictureDrawer = std::function<void(Canvas& canvas, QSize size)>;

// The picture as an SVG document.
QByteArray renderSvg(QSize size, const PictureDrawer& draw);
// The picture on a white background.
QImage renderImage(QSize size, const PictureDrawer& draw);

// Both on the clipboard ("image/svg+xml" and the image); false when there
// is no clipboard to put them on.
bool copyPictureToClipboard(QSize size, const PictureDrawer& draw);

}  // namespace brevix
