#include "app/dialogs/heading_dlg.h"

#include <QDialogButtonBox>
#include <QTextDocument>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>
#include <functional>

#include "app/message_box_sink.h"
#include "document/gem_doc.h"
#include "document/heading_command.h"

namespace brevix {

namespace {

QPlainTextEdit* linesEdit(const std::string& text, const char* name, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->setTabChangesFocus(true);
    edit->setPlainText(fromCore(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Room for the four lines that count and one more to see that a fifth is too many.
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 5 + 12);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(60, QLatin1Char('x'))));
    return edit;
}

// The lines as the box shows them: a line the box wrapped ends where the
// user sees it end, without the blank it was wrapped at.
std::string visibleLines(const QPlainTextEdit* edit) {
    QStringList lines;
    for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() <= 1) {
            lines << text;
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            QString part = text.mid(line.textStart(), line.textLength());
            if (i + 1 < layout->lineCount()) {
                while (part.endsWith(QLatin1Char(' '))) part.chop(1);
            }
            lines << part;
        }
    }
    return toCore(lines.join(QStringLiteral("\r\n")));
}

}  // namespace

CHeadingDlg::CHeadingDlg(const std::string& heading, const std::string& footnote, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CHeadingDlg"));
    setWindowTitle(QStringLiteral("Diagram Heading and Footnote"));
    headingEdit_ = linesEdit(heading, "headingEdit", this);
    footnoteEdit_ = linesEdit(footnote, "footnoteEdit", this);
    auto* headingLabel =
        new QLabel(QStringLiteral("&Heading     The first line will be the title in bold type."), this);
    headingLabel->setBuddy(headingEdit_);
    auto* footnoteLabel = new QLabel(QStringLiteral("&Footnote"), this);
    footnoteLabel->setBuddy(footnoteEdit_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    previewButton_ = buttons->addButton(QStringLiteral("Print Pre&view"), QDialogButtonBox::ActionRole);
    previewButton_->setObjectName(QStringLiteral("previewButton"));
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(previewButton_, &QPushButton::clicked, this, [this] { done(PrintPreview); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel);
    layout->addWidget(headingEdit_);
    layout->addWidget(footnoteLabel);
    layout->addWidget(footnoteEdit_);
    layout->addWidget(buttons);
    headingEdit_->setFocus();
}

std::string CHeadingDlg::headingText() const { return visibleLines(headingEdit_); }

std::string CHeadingDlg::footnoteText() const { return visibleLines(footnoteEdit_); }

void runHeadingCommand(QWidget* parent, CGemDoc& doc, const std::function<void()>& printPreview) {
    const Stone* stone = doc.stone();
    if (!stone) return;
    CHeadingDlg dialog(diagramLinesText(stone->heading), diagramLinesText(stone->footnote), parent);
    const int result = dialog.exec();
    if (result != QDialog::Accepted && result != CHeadingDlg::PrintPreview) return;
    headingCommand(doc, dialog.headingText(), dialog.footnoteText());
    if (result == CHeadingDlg::PrintPreview && printPreview) printPreview();
}

}  // namespace brevix
