#pragma once
// Edit > Heading/Footnote...: the "Diagram Heading and Footnote" dialog, up
// to four lines above the printed diagram and four below it.
#include <QDialog>
#include <functional>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace brevix {

class CGemDoc;

class CHeadingDlg : public QDialog {
    Q_OBJECT
public:
    // exec() returns Rejected, Accepted (OK) or this ("Print Preview").
    static constexpr int PrintPreview = 2;

    CHeadingDlg(const std::string& heading, const std::string& footnote, QWidget* parent = nullptr);

    QPlainTextEdit* headingEdit() const { return headingEdit_; }
    QPlainTextEdit* footnoteEdit() const { return footnoteEdit_; }
    QPushButton* previewButton() const { return previewButton_; }

    // The texts as the user sees them, each line that the box wraps ending
    // in CR LF as one the user typed; in the design's code page.
    std::string headingText() const;
    std::string footnoteText() const;

private:
    QPlainTextEdit* headingEdit_ = nullptr;
    QPlainTextEdit* footnoteEdit_ = nullptr;
    QPushButton* previewButton_ = nullptr;
};

// The dialog and the lines stored; after "Print Preview" `printPreview` runs.
void runHeadingCommand(QWidget* parent, CGemDoc& doc, const std::function<void()>& printPreview);

}  // namespace brevix
