#pragma once
// The faceting diagram on any QPainter: a printer, a print preview, a PDF
// writer, an SVG generator or an image. The layout is the core's
// (views/diagram.h), in twips with y growing upward; this file gives it that
// mapping on the device. Qt Gui only, so the command line can use it too.
#include <QPointF>
#include <string_view>

class QPainter;

namespace brevix {

struct Stone;

struct DiagramPageGeometry {
    double pageWidth = 8.5, pageHeight = 11;  // the whole sheet, inches
    double dpiX = 1440, dpiY = 1440;          // device pixels per inch
    // Device position of the diagram's origin: the top-left corner of what
    // the device can print on.
    QPointF origin{0, 0};
};

// A printer cannot print to the paper's edge; the diagram's margins count
// from its printable area. Pages made without a printer (PDF, SVG, PNG)
// place the origin as a typical printer's printable area does, so the page
// looks like the printed sheet.
constexpr double FILE_PAGE_ORIGIN_INCHES = 0.25;

// Draws the one page of the diagram. Nothing is drawn without a stone, and
// the stone is not written: the page draws a copy of it.
// `extraStatistics`: lines to print under the statistics (see DiagramPrinter).
void paintDiagramPage(QPainter& painter, const DiagramPageGeometry& page, const Stone* stone,
                      std::string_view title, std::string_view extraStatistics = {});

}  // namespace brevix
