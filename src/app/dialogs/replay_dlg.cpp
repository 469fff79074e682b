#include "app/dialogs/replay_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/message_box_sink.h"
#include "document/gem_doc.h"

namespace brevix {

namespace {

QLineEdit* readOnlyField(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

}  // namespace

CCurrentFacetDlg::CCurrentFacetDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CCurrentFacetDlg"));
    setWindowTitle(QStringLiteral("Current Facet"));
    name_ = readOnlyField("nameEdit", this);
    angle_ = readOnlyField("angleEdit", this);
    index_ = readOnlyField("indexEdit", this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name"), name_);
    form->addRow(QStringLiteral("Angle"), angle_);
    form->addRow(QStringLiteral("Index"), index_);

    auto* buttons = new QDialogButtonBox(this);
    next_ = buttons->addButton(QStringLiteral("&Next"), QDialogButtonBox::AcceptRole);
    next_->setObjectName(QStringLiteral("nextButton"));
    next_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CCurrentFacetDlg::showTexts(const CurrentFacetTexts& texts) {
    name_->setText(fromCore(texts.name));
    angle_->setText(fromCore(texts.angle));
    index_->setText(fromCore(texts.index));
    next_->setFocus();
}

void runReplayCommand(QWidget* parent, CGemDoc& doc) {
    CCurrentFacetDlg dialog(parent);
    // Beside the four views, over the form, so the facet being shown stays in sight.
    bool placed = false;
    replayCommand(doc, [&](const CurrentFacetTexts& texts) {
        dialog.showTexts(texts);
        if (!placed && parent) {
            dialog.adjustSize();
            dialog.move(parent->mapToGlobal(QPoint(8, parent->height() / 2)));
            placed = true;
        }
        return dialog.exec() == QDialog::Accepted;
    });
}

}  // namespace brevix
