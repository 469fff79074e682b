#include "app/print/diagram_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <clocale>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/print/diagram_page.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/replacing_file.h"
#include "platform/paths.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix {

namespace {

// Vector pages keep the twips of the layout as their own units.
constexpr int VECTOR_RESOLUTION = 1440;

QPageSize qtPageSize(PaperSize paper) {
    return QPageSize(paper == PaperSize::A4 ? QPageSize::A4 : QPageSize::Letter);
}

DiagramPageGeometry geometryFor(PaperSize paper, double dpi) {
    const QSizeF inches = qtPageSize(paper).size(QPageSize::Inch);
    DiagramPageGeometry page;
    page.pageWidth = inches.width();
    page.pageHeight = inches.height();
    page.dpiX = page.dpiY = dpi;
    page.origin = QPointF(FILE_PAGE_ORIGIN_INCHES * dpi, FILE_PAGE_ORIGIN_INCHES * dpi);
    return page;
}

// Fonts, images and the PDF writer need a QGuiApplication. The command line
// has none and may run where there is no display: it gets one on the
// offscreen platform for as long as the file takes.
// Qt's own notes (a runtime folder it had to pick, fonts it substituted)
// mean nothing to the user of a batch command and are dropped; real errors
// still reach standard error.
class GuiForOutput {
public:
    GuiForOutput() {
        if (QCoreApplication::instance()) return;
        previousHandler_ = qInstallMessageHandler(quietHandler);
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        std::setlocale(LC_NUMERIC, "C");  // the page's numbers keep their decimal point
    }
    ~GuiForOutput() {
        if (!app_) return;
        app_.reset();
        qInstallMessageHandler(previousHandler_);
    }
    GuiForOutput(const GuiForOutput&) = delete;
    GuiForOutput& operator=(const GuiForOutput&) = delete;

private:
    static void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }

    // The application keeps (and edits) its arguments for its lifetime.
    static inline char name_[] = "brevix-cli", option_[] = "-platform", platform_[] = "offscreen";
    int argc_ = 3;
    char* argv_[4] = {name_, option_, platform_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
    QtMessageHandler previousHandler_ = nullptr;
};

QByteArray renderPdf(const Stone& stone, std::string_view title, const DiagramOutputOptions& options) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Brevix"));
    writer.setTitle(QString::fromStdString(cp1252ToUtf8(title)));
    writer.setResolution(VECTOR_RESOLUTION);
    writer.setPageLayout(QPageLayout(qtPageSize(options.paper), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer)) return {};
    paintDiagramPage(painter, geometryFor(options.paper, writer.resolution()), &stone, title);
    painter.end();
    return bytes;
}

QByteArray renderSvg(const Stone& stone, std::string_view title, const DiagramOutputOptions& options) {
    const DiagramPageGeometry page = geometryFor(options.paper, VECTOR_RESOLUTION);
    const QSize size(static_cast<int>(std::lround(page.pageWidth * VECTOR_RESOLUTION)),
                     static_cast<int>(std::lround(page.pageHeight * VECTOR_RESOLUTION)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(VECTOR_RESOLUTION);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QString::fromStdString(cp1252ToUtf8(title)));
    generator.setDescription(QStringLiteral("Faceting diagram"));
    QPainter painter;
    if (!painter.begin(&generator)) return {};
    // An SVG has no paper: the sheet is drawn white so the page reads the
    // same on any background.
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    paintDiagramPage(painter, page, &stone, title);
    painter.end();
    return bytes;
}

QByteArray renderPng(const Stone& stone, std::string_view title, const DiagramOutputOptions& options) {
    const DiagramPageGeometry page = geometryFor(options.paper, options.dpi);
    const QSize size(static_cast<int>(std::lround(page.pageWidth * options.dpi)),
                     static_cast<int>(std::lround(page.pageHeight * options.dpi)));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(options.dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter painter(&image);
        paintDiagramPage(painter, page, &stone, title);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

}  // namespace

std::optional<DiagramFormat> diagramFormatOf(std::string_view path) {
    std::string ext = fileExtension(path);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "pdf") return DiagramFormat::Pdf;
    if (ext == "svg") return DiagramFormat::Svg;
    if (ext == "png") return DiagramFormat::Png;
    return std::nullopt;
}

bool writeDiagramFile(const Stone& stone, std::string_view title, const std::string& path,
                      const DiagramOutputOptions& options, std::string& error) {
    const std::optional<DiagramFormat> format = diagramFormatOf(path);
    if (!format) {
        error = strprintf("%s: the diagram is written as .pdf, .svg or .png", path.c_str());
        return false;
    }
    if (*format == DiagramFormat::Png &&
        (options.dpi < MIN_DIAGRAM_DPI || options.dpi > MAX_DIAGRAM_DPI)) {
        error = strprintf("a PNG resolution runs from %d to %d dpi", MIN_DIAGRAM_DPI, MAX_DIAGRAM_DPI);
        return false;
    }
    GuiForOutput gui;
    QByteArray bytes;
    switch (*format) {
    case DiagramFormat::Pdf: bytes = renderPdf(stone, title, options); break;
    case DiagramFormat::Svg: bytes = renderSvg(stone, title, options); break;
    case DiagramFormat::Png: bytes = renderPng(stone, title, options); break;
    }
    if (bytes.isEmpty()) {
        error = strprintf("%s: the page could not be drawn", path.c_str());
        return false;
    }
    ReplacingFile file(path);
    if (!file.isOpen()) {
        error = fileMessage(filemsg::CANNOT_OPEN_TO_WRITE, path, file.problem());
        return false;
    }
    file.stream().write(bytes.constData(), bytes.size());
    if (!file.commit()) {
        error = fileMessage(filemsg::ERROR_WRITING, path, file.problem());
        return false;
    }
    return true;
}

}  // namespace brevix
