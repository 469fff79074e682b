#include "app/print/diagram_page.h"

#include <QPainter>
#include <QTransform>

#include "app/qt_canvas.h"
#include "kernel/stone.h"
#include "views/diagram.h"

namespace brevix {

void paintDiagramPage(QPainter& painter, const DiagramPageGeometry& page, const Stone* stone,
                      std::string_view title, std::string_view extraStatistics) {
    if (!stone || page.dpiX <= 0 || page.dpiY <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Twips with y up: one unit is 1/1440 inch and positions down the page
    // are negative.
    painter.setTransform(QTransform(page.dpiX / TWIPS_PER_INCH, 0, 0, -page.dpiY / TWIPS_PER_INCH,
                                    page.origin.x(), page.origin.y()));
    QtCanvas canvas(painter);
    DiagramPrinter printer;
    printer.pageWidth = page.pageWidth;
    printer.pageHeight = page.pageHeight;
    printer.extraStatistics = std::string(extraStatistics);
    printer.printPage(canvas, stone, title);
    painter.restore();
}

}  // namespace brevix
