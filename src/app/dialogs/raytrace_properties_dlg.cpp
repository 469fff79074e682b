#include "app/dialogs/raytrace_properties_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/message_box_sink.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"

namespace brevix {

CRaytracePropertiesDlg::CRaytracePropertiesDlg(double refractiveIndex, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CRaytracePropertiesDlg"));
    setWindowTitle(QStringLiteral("Raytrace Properties"));

    combo_ = new QComboBox(this);
    combo_->setObjectName(QStringLiteral("refractiveIndexCombo"));
    combo_->setEditable(true);
    // Typed values are the user's; the list must not grow with them.
    combo_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : refractiveIndexChoices()) combo_->addItem(fromCore(item));
    angle_ = new QLineEdit(this);
    angle_->setObjectName(QStringLiteral("criticalAngleEdit"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Refractive Index"), combo_);
    form->addRow(QStringLiteral("Critical angle"), angle_);
    auto* hint = new QLabel(
        QStringLiteral("Use the right mouse button to shoot a light ray and follow its path "
                       "through the stone."),
        this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRaytracePropertiesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);

    showTexts(form_.load(refractiveIndex));
    // A picked item and a typed text are read alike; what the dialog writes
    // itself comes through neither signal.
    connect(combo_, &QComboBox::activated, this,
            [this](int item) { showTexts(form_.indexChanged(toCore(combo_->itemText(item)))); });
    connect(combo_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { showTexts(form_.indexChanged(toCore(text))); });
    connect(angle_, &QLineEdit::textEdited, this,
            [this](const QString& text) { showTexts(form_.angleChanged(toCore(text))); });
    combo_->installEventFilter(this);  // its edit field passes the focus to it
    angle_->installEventFilter(this);
    combo_->setFocus();
}

void CRaytracePropertiesDlg::showTexts(const RaytraceFieldTexts& texts) {
    form_.updating = true;
    if (texts.index) combo_->setEditText(fromCore(*texts.index));
    if (texts.angle) angle_->setText(fromCore(*texts.angle));
    form_.updating = false;
}

bool CRaytracePropertiesDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == combo_)
            showTexts(form_.indexLeft(toCore(combo_->currentText())));
        else if (watched == angle_)
            showTexts(form_.angleLeft(toCore(angle_->text())));
    }
    return QDialog::eventFilter(watched, event);
}

void CRaytracePropertiesDlg::accept() {
    Diagnostics notes;
    const std::optional<double> index = form_.indexOnOk(notes);
    showAll(notes, messageSink());
    if (index) QDialog::accept();
}

std::optional<double> askRefractiveIndex(double current, QWidget* parent) {
    CRaytracePropertiesDlg dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.index();
}

}  // namespace brevix
