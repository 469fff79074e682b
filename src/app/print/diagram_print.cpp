#include "app/print/diagram_print.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/print/diagram_page.h"
#include "document/gem_doc.h"
#include "platform/messages.h"
#include "document/size_settings.h"
#include "optics/weight_material.h"
#include "platform/text_encoding.h"

namespace brevix {

namespace {
const char* const kCannotPrint = "The diagram could not be printed: no printer is ready.";
}  // namespace

DiagramPrinting::DiagramPrinting(CGemDoc& doc, QObject* parent)
    : QObject(parent), doc_(doc), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    printer_->setDocName(QStringLiteral("Brevix"));
}

DiagramPrinting::~DiagramPrinting() = default;

bool DiagramPrinting::paint(QPrinter* printer) {
    QPainter painter;
    if (!painter.begin(printer)) return false;
    DiagramPageGeometry page;
    // The sheet as it lies (a landscape page is wider than tall); the
    // painter's origin is already the printable area's corner.
    const QRectF sheet = printer->pageLayout().fullRect(QPageLayout::Inch);
    page.pageWidth = sheet.width();
    page.pageHeight = sheet.height();
    page.dpiX = printer->logicalDpiX();
    page.dpiY = printer->logicalDpiY();
    page.origin = QPointF(0, 0);
    paintDiagramPage(painter, page, doc_.stone(), doc_.files().title(), weightLines());
    return painter.end();
}

bool DiagramPrinting::print(QWidget* parent) {
    printer_->setDocName(QString::fromStdString(cp1252ToUtf8(doc_.files().title())));
    QPrintDialog dialog(printer_.get(), parent);
    // The diagram is always one page.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    paint(printer_.get());
    return true;
}

bool DiagramPrinting::printDirect(QWidget*) {
    printer_->setDocName(QString::fromStdString(cp1252ToUtf8(doc_.files().title())));
    // Without a printer or a file to print into the page would go nowhere;
    // the user hears of it rather than seeing nothing happen.
    if (!paint(printer_.get())) {
        showMessage(kCannotPrint);
        return false;
    }
    return true;
}

void DiagramPrinting::preview(QWidget* parent) {
    printer_->setDocName(QString::fromStdString(cp1252ToUtf8(doc_.files().title())));
    QPrintPreviewDialog dialog(printer_.get(), parent);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { paint(printer); });
    dialog.exec();
}

std::string DiagramPrinting::weightLines() {
    const SizeSettings settings = loadSizeSettings();
    const Stone* stone = doc_.stone();
    if (!settings.printWeight || !stone) return {};
    const auto material =
        optics::weightMaterial(settings.material, settings.specificGravity, stone->refractiveIndex);
    if (!material) return {};
    return optics::diagramWeightLines(*stone, settings.size, *material);
}

bool DiagramPrinting::setup(QWidget* parent) {
    QPageSetupDialog dialog(printer_.get(), parent);
    // The one printing option of the program's own, under the paper's.
    SizeSettings settings = loadSizeSettings();
    auto* weight = new QCheckBox(QStringLiteral("Print the size and &weight (Stone > Size and Weight) under the statistics"),
                                 &dialog);
    weight->setObjectName(QStringLiteral("printWeight"));
    weight->setChecked(settings.printWeight);
    auto* box = qobject_cast<QBoxLayout*>(dialog.layout());
    if (box) {
        const int buttons = box->indexOf(dialog.findChild<QDialogButtonBox*>());
        box->insertWidget(buttons >= 0 ? buttons : box->count(), weight);
    } else {
        weight->hide();  // a dialog laid out otherwise: the option stays as it was
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    if (box) {
        settings.printWeight = weight->isChecked();
        saveSizeSettings(settings);
    }
    return true;
}

}  // namespace brevix
