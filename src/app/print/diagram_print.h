#pragma once
// File > Print, Print Preview and Print Setup: the faceting diagram of the
// document on the printer the user chose. One printer object lives as long
// as the main window, so the chosen printer, paper and orientation hold for
// the next print.
#include <QObject>
#include <memory>
#include <string>

class QPrinter;
class QWidget;

namespace brevix {

class CGemDoc;

class DiagramPrinting : public QObject {
    Q_OBJECT
public:
    explicit DiagramPrinting(CGemDoc& doc, QObject* parent = nullptr);
    ~DiagramPrinting() override;

    // The print dialog, then the page; false when the user cancelled.
    bool print(QWidget* parent);
    // The page on the printer chosen last (or the default one), without a
    // dialog; false, with a message, when there is no printer to print on.
    bool printDirect(QWidget* parent);
    // The preview window, from which the user may print as well.
    void preview(QWidget* parent);
    // Paper, orientation and the like for later prints.
    bool setup(QWidget* parent);

    QPrinter& printer() { return *printer_; }
    // The one page of the diagram on `printer`; false when the printer
    // could not be started.
    bool paint(QPrinter* printer);
    // The size and weight lines under the statistics when Print Setup asks
    // for them and Size and Weight has a size; "" otherwise.
    std::string weightLines();

private:
    CGemDoc& doc_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace brevix
